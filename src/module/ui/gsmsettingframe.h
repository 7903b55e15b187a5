#pragma once
#include "tables/tablerun.h"
#include "whole/kktregister.h"

#include <QFrame>
#include <QList>

class GsmGridModel;
class QComboBox;
class QLabel;
class QModelIndex;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;
struct KktSession;

// The communication module parameters frame hosted by the main window: the seven-row grid sgGsm over
// the module's part of the window's register, the device selector over its type cell, and the
// transfers to and from register table 5.
class TFrameGsmSetting : public QFrame {
    Q_OBJECT
public:
    explicit TFrameGsmSetting(TKktRegister& reg, QWidget* parent = nullptr);
    void Init(KktSession& session);

    GsmGridModel& Grid() { return *m_grid; }
    // What a run of the module's part started from outside does between rows: each row known as it
    // goes through.
    TRunHooks RunHooks();

    QLabel* lblTitle = nullptr;
    QTableView* sgGsm = nullptr;
    QComboBox* cbbDevice = nullptr;
    QPlainTextEdit* memoInfo = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Button3 = nullptr;  // "Записать в ККТ"
    QPushButton* btnWriteChanged = nullptr;  // "Записать изменённые"
    QLabel* lblChanged = nullptr;            // how many rows are marked; hidden when none
    QPushButton* Button4 = nullptr;  // "Прочитать из ККТ"

    int CurrentGsmRow = 1;  // grid row (1..7) of the cell last selected

    void Button3Click();
    void Button4Click();
    void WriteChangedClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sgGsmSelectCell(const QModelIndex& current);
    void cbbDeviceEnter();
    void cbbDeviceChange(int item);
    void cbbDeviceExit();
    // True when the key press must be swallowed by the row's input rule.
    bool sgGsmKeyPress(QObject* watched, class QKeyEvent* event);
    void BeginTransfer();
    void ShowProgress(int percent);
    void EndTransfer();
    // Runs a write of `rows`, with the frame's progress and failure message.
    void WriteRows(const QList<int>& rows);
    void ShowMarkCount();

    TKktRegister& m_reg;
    GsmGridModel* m_grid = nullptr;
    KktSession* m_session = nullptr;
};
