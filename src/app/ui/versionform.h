#pragma once
#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;

// The program's version on a small borderless window with a navy frame, centred on its opener.
class TFormVersion : public QDialog {
    Q_OBJECT
public:
    TFormVersion(const QString& version, QWidget* parent = nullptr);

    QFrame* Panel2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblNameKKM = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;  // the version text
    QFrame* Panel3 = nullptr;  // "OK"

public Q_SLOTS:
    void FormShow();
    void Panel2Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_version;
};

// The picture of the version window: a cash register, 161 x 89 pixels.
QPixmap DrawKktPicture();
