#pragma once
#include "whole/fleet.h"
#include "whole/kktregister.h"

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TKktSearchPanel;
struct KktSession;

// "Программирование" → "Записать на несколько ККТ…": the same to every register of a shop at once.
// "Найти ККТ" fills the list with the registers that answer (port, speed, serial number); the user
// ticks them and chooses the source: every table and the module parameters of the window, only its
// changed rows, or a workbook. Each register is written by a thread of its own with a bar of its
// own; "Остановить" stops them all. The window's grids are only read; registration is never sent.
class TFleetDialog : public QDialog {
    Q_OBJECT
public:
    // `ports`: where "Найти ККТ" looks (the main window's port list).
    TFleetDialog(KktSession& session, const TKktRegister& reg, const QStringList& ports, QWidget* parent = nullptr);
    ~TFleetDialog() override;

    // A frame of a register of the run, with its port, for the window's exchange log.
    std::function<void(const QString& text, bool isAnswer)> logFrame;

    // The shop's registers: "Найти ККТ" fills the list with those that answer.
    QTableWidget* lstRegisters = nullptr;  // tick, port, speed, serial number, progress, result
    TKktSearchPanel* SearchPanel = nullptr;
    QPushButton* btnFind = nullptr;        // "Найти ККТ"
    // Adds a register to the list, ticked (what the search does for each one that answers).
    void AddRegister(const KktLinkArgs& link, const QString& serial);

    // What goes to them.
    QRadioButton* rbAll = nullptr;         // "Все таблицы и параметры GSM из окна"
    QRadioButton* rbChanged = nullptr;     // "Только изменённые записи"
    QRadioButton* rbBook = nullptr;        // "Книгу:", the file in edtBook
    QLineEdit* edtBook = nullptr;
    QPushButton* btnBook = nullptr;        // "Выбрать…"

    // "Записать": true when a run was made (each register's result is in the list).
    bool Start();
    void Stop() { m_stop = true; }
    QPushButton* btnWrite = nullptr;       // "Записать"
    QPushButton* btnStop = nullptr;        // "Остановить"
    QPushButton* btnClose = nullptr;       // "Закрыть"
    QLabel* lblSummary = nullptr;          // how the run ended

protected:
    void reject() override;

private:
    void FindClick();
    void SearchFinished();
    void ChooseBook();
    // The job for the chosen source; null (after the message) when there is nothing to send.
    TFleetJob PrepareJob();
    void ShowProgress(int row, const TWholeProgress& progress);
    void ShowReport(int row, const TFleetReport& report);
    void SetBusy(bool busy);

    KktSession& m_session;
    const TKktRegister& m_reg;
    QStringList m_ports;
    TKktRegister m_book;  // a workbook chosen as the source
    QList<int> m_runRows; // list rows of the registers of the run
    std::atomic<bool> m_stop{false};
    bool m_running = false;
};
