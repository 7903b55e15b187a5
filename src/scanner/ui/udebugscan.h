#pragma once
#include <QWidget>

class QPlainTextEdit;

// The scanner log window "Отладка сканера": every line of the reader, whether shown or not.
// It lives for the whole run; closing it only hides it.
class TfrmDebugScan : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDebugScan(QWidget* parent = nullptr);

    void LogScan(const QString& str);

    QPlainTextEdit* Memo = nullptr;
};
