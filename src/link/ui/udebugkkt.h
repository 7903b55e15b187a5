#pragma once
#include "link/kktlink.h"

#include <QRgb>
#include <QString>
#include <QWidget>
#include <cstdint>

class KktLogView;
class QPushButton;

// "Отладка ККМ": every frame the link writes and reads, as a hexadecimal dump with byte positions,
// requests in red and answers in green. Created hidden at start; it receives every exchange whether
// shown or not, and closing it only hides it.
class TfrmDebugKKM : public QWidget, public KktFrameLog {
    Q_OBJECT
public:
    explicit TfrmDebugKKM(QWidget* parent = nullptr);

    void DumpKktFrame(const uint8_t* frame, uint32_t count, bool isAnswer) override;
    void AddRequestLine(const QString& text);
    void AddAnswerLine(const QString& text);

    // The whole log, lines joined with "\n".
    QString plainText() const;

    KktLogView* RichEdit;   // the log itself, following the window's size
    QPushButton* btnClear;  // "Очистить", bottom centre, below the log

public slots:
    void btnClearClick();

private:
    void addLine(const QString& text, QRgb colour);
};
