#pragma once
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/knownrows.h"
#include "tables/tabledefs.h"
#include "tables/tablerun.h"
#include "whole/kktregister.h"

#include <QFrame>
#include <QPoint>
#include <array>
#include <functional>

struct KktSession;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class TGridModel;
class TGridView;
class TShapeCircle;

// The parameter tables frame hosted by the main window: seven tabs with their grids and range boxes,
// the buttons that write, read and clean the active table, and the goods tab's extra controls.
// The grids (Grid()) are the tables of the window's register; whoever changes one from outside
// (files, scanner) calls RefreshGrid() afterwards.
class TFrameSetVaro : public QFrame {
    Q_OBJECT
public:
    explicit TFrameSetVaro(TKktRegister& reg, QWidget* parent = nullptr);
    ~TFrameSetVaro() override;
    // Called once after creation: the link settings and link of `session` serve every run.
    void Init(KktSession& session);
    // The scanner indicator (circle and caption) is hidden when no scanner model is configured.
    void SetScannerIndicatorVisible(bool visible);
    // Enables "Очистить базу в ККТ", "Записать в ККТ" and "Прочитать из ККТ".
    void EnableKktButtons(bool enabled);

    TGridData& Grid(TableId id) { return m_reg.Grid(id); }
    TAgentLocks& AgentLocks() { return m_reg.locks; }
    void RefreshGrid(TableId id);
    // What the register was last known to hold, per row; a row that differs from it is marked.
    const TKnownRows& Known(TableId id) const { return m_reg.Known(id); }
    // Row `row` of the grid was read from or written to the register as it stands now (a run's
    // entryDone hook): it becomes known and unmarked.
    void RowKnown(TableId id, int row);
    // Writes one cell from outside (the scanner) and shows it at once, in an editor open on it too.
    void SetCell(TableId id, int col, int row, const QString& text);
    TGridView* GridView(TableId id) const { return m_views[size_t(id)]; }
    QLineEdit* FirstBox(TableId id) const { return m_first[size_t(id)]; }
    QLineEdit* LastBox(TableId id) const { return m_last[size_t(id)]; }
    TableId ActiveTable() const;
    void ShowTable(TableId id);
    // The last selected cell of a grid, (column, row); (1, 1) after start-up.
    QPoint CurrentCell(TableId id) const { return m_current[size_t(id)]; }
    bool Running() const { return m_running; }
    // What a table run started from this frame does between exchanges: the progress bar, the wait
    // window's "Прервать", the agents' pause with events, and (reading) each row repainted.
    TRunHooks RunHooks(TableId id, bool reading);

    // The buttons' actions, also callable directly.
    void WriteActiveTable();    // "Записать в ККТ"
    void WriteChangedRows();    // "Записать изменённые": the marked entries of the active tab's range
    void ReadActiveTable();     // "Прочитать из ККТ"
    void CleanActiveTable();    // "Очистить таблицу"
    void FillTestData();        // "Тестовые данные"
    void ClearBaseInKkt();      // "Очистить базу в ККТ"
    void GoToItem();            // "Перейти к товару"
    // The goods search: Ctrl+F shows and focuses the field; Enter and F3 go to the next match,
    // Shift+F3 to the previous one. False (and "не найдено" in the field) when nothing matches.
    void OpenFind();
    bool FindNext(bool forward);

    // The main window's scanner. The goods tab being shown starts it as configured (asking first when it
    // shares the register's port); the hook answers true when the user chose the scanner, and the
    // register's buttons stay disabled while the tab shows. Any other tab stops it. Unset: no scanner.
    std::function<bool()> onGoodsTabShown;
    std::function<void()> onOtherTabShown;

    QTabWidget* PageControl1 = nullptr;
    QPushButton* btnTestData = nullptr;
    QPushButton* btnCleanTable = nullptr;
    QPushButton* Button3 = nullptr;  // "Записать в ККТ"
    QPushButton* btnWriteChanged = nullptr;  // "Записать изменённые"
    QPushButton* Button4 = nullptr;  // "Прочитать из ККТ"
    QProgressBar* ProgressBar1 = nullptr;
    // Goods tab.
    QPushButton* btnSaveBase = nullptr;  // "Сохранить в файл"
    QPushButton* btnLoadBase = nullptr;  // "Загрузить из файла"
    QPushButton* Button5 = nullptr;      // "Очистить базу в ККТ"
    QLineEdit* Edit11 = nullptr;         // item number
    QPushButton* Button6 = nullptr;      // "Перейти к товару"
    QLineEdit* edtFind = nullptr;        // goods search: part of a name or a barcode
    QLabel* lblNotFound = nullptr;       // "не найдено", inside the search field
    QPushButton* Button7 = nullptr;      // "1C: Предприятие"
    QMenu* pm1C = nullptr;               // its menu; the file actions are connected by their owner
    QAction* actLoad1cdb = nullptr;      // "Загрузить из 1С (формат *.1cdb)"
    QAction* actSave1cdb = nullptr;      // "Выгрузить в 1С (формат *.1cdb)"
    QAction* actLoadXls = nullptr;       // "Загрузить из 1С (формат *.xls)"
    TShapeCircle* Shape1 = nullptr;      // scanner indicator
    QLabel* Label14 = nullptr;           // "Сканер штрих-кода"
    QLabel* lblCorrectShtrihCode = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildTab(TableId id);
    QWidget* BuildGoodsPanel();
    bool SelectCell(TableId id, int col, int row);
    CellList ListFor(TableId id, int col, int row) const;
    void ListChosen(TableId id, int col, int row, int item);
    void TabShown(int index);
    // "Записать в ККТ", "Записать изменённые" and "Прочитать из ККТ" over the active tab's range.
    enum class RunKind { Write, WriteChanged, Read };
    void RunActiveTable(RunKind kind);
    // The tab caption with the count of its marked rows.
    void ShowMarkCount(TableId id);
    bool CheckActiveRange(TableId id, int& first, int& last);
    void ShowRunResult(const TRunResult& result);
    void Popup1C();
    void ShowNotFound(bool notFound);

    KktSession* m_session = nullptr;
    TKktRegister& m_reg;
    std::array<TGridModel*, kTableCount> m_models{};
    std::array<TGridView*, kTableCount> m_views{};
    std::array<QLineEdit*, kTableCount> m_first{};
    std::array<QLineEdit*, kTableCount> m_last{};
    std::array<QPoint, kTableCount> m_current;
    bool m_running = false;
};
