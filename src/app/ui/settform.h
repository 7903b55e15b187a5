#pragma once
#include "app/ui/settfields.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
struct KktSession;

// "Настройки связи с ККТ": chooses port, speed, time-out and register number, checks the link with
// them and applies them to the session's settings. A new dialog is made for every opening; it starts
// from the session's settings and changes them only through "Применить".
class TFormSett : public QDialog {
    Q_OBJECT
public:
    TFormSett(KktSession& session, const QStringList& ports, QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // "COM порт:"
    QComboBox* ComboBox2 = nullptr;  // "Скорость:"
    QLineEdit* Edit1 = nullptr;      // "Тайм-аут:"
    QLineEdit* Edit2 = nullptr;      // "Номер ККМ:"
    QPushButton* Button1 = nullptr;  // "Отмена"
    QPushButton* Button2 = nullptr;  // "Применить"
    QPushButton* Button3 = nullptr;  // "Проверить связь с ККТ"

    // The fields as they stand now.
    TSettFields Fields() const;

public Q_SLOTS:
    void FormShow();
    void ComboBox1Change();
    void ComboBox2Change();
    void Edit1Change();
    void Edit2Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Edit1KeyPress(QKeyEvent* event);

    KktSession& m_session;
    QStringList m_ports;
    bool m_shown = false;
};
