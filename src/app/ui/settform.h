#pragma once
#include "app/ui/settfields.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class TKktSearchPanel;
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
    QPushButton* Button4 = nullptr;  // "Найти ККТ" / "Остановить поиск"
    TKktSearchPanel* SearchPanel = nullptr;

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
    void Button4Click();
    // Closing the dialog stops a search under way.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Edit1KeyPress(QKeyEvent* event);
    void SearchFirstFound(const QString& port, int32_t speed);
    void SearchFinished(bool stopped);
    void SetSearching(bool searching);

    // The fields as they were when the search began: a stopped search puts them back.
    struct BeforeSearch {
        int port = -1;
        int speed = -1;
        bool apply = false;
        bool check = false;
    } m_beforeSearch;

    KktSession& m_session;
    QStringList m_ports;
    bool m_shown = false;
    bool m_reportPending = false;  // "ККТ не найдена" is about to show or on screen
};
