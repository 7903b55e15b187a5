#pragma once
#include "tables/griddata.h"

#include <QList>
#include <QString>
#include <QStringList>

// The register's parts: the seven tables in tab order (the value is the tab index), then the module's
// parameters, which have a frame of their own instead of a tab. Every whole-register run, the workbook
// and the closing question take all kPartCount parts in this order; the tables frame its kTableCount.
enum class TableId { Operators = 0, Goods, Sections, Cliche, Agents, Enterprises, Stations, Module };
constexpr int kTableCount = 7;
constexpr int kPartCount = kTableCount + 1;

struct TColumnDef {
    QString heading;
    int width;  // initial width in pixels
};

struct TTableDef {
    TableId id;
    QString caption;       // tab caption
    int size;              // entries, the range maximum; the grid has size + 1 rows
    QString firstDefault;  // range box defaults
    QString lastDefault;
    int boxLength;         // digits of the size: the range boxes' length limit
    bool tabMovesToCell;   // Tab moves between cells (not in the sections grid)
    bool resizableColumns; // not in the stations grid
    QList<TColumnDef> columns;

    int ColCount() const { return int(columns.size()); }
    int RowCount() const { return size + 1; }
};

const TTableDef& TableDef(TableId id);
inline const TTableDef& TableDef(int tabIndex) { return TableDef(TableId(tabIndex)); }

// Column 0 of data row `row`: the number, or the fixed label of the cliché, enterprise, station and
// module rows.
QString RowLabel(TableId id, int row);

// Rows 1..size of the part: its whole range.
QList<int> WholeRange(TableId id);

// A grid as after start-up: headings, labels, "+7" in the agents' phone cells, everything else empty.
TGridData InitGrid(TableId id);

// Placeholder of an agent field that the agent's sign does not use; such a cell is locked.
inline const QString kNotUsed = QStringLiteral("Не используется");
inline const QString kPhonePrefix = QStringLiteral("+7");
inline const QString kMarked = QStringLiteral("м");

// Value lists: the code of an item is its position.
const QStringList& SectionTypes();  // codes 0..11
const QStringList& VatRates();      // codes 0..6
const QStringList& TaxSystems();    // codes 0..6; anything else travels as 9
const QStringList& AgentSigns();    // position p has the code 1 << p
const QStringList& MarkSigns();     // "" (0) and "м" (1)

// Section types 5 and 6 (bank payment agent and subagent) carry no VAT.
constexpr int kSectionTypeBankAgent = 5;
constexpr int kSectionTypeBankSubagent = 6;
constexpr int kVatNone = 6;

// Agents grid: the four phone columns and the columns a sign may lock.
constexpr int kAgentFirstField = 2;
constexpr int kAgentLastField = 11;
bool IsAgentPhoneColumn(int col);
bool IsAgentInnColumn(int col);
// Columns that the sign at list position `signIndex` does not use.
QList<int> AgentUnusedColumns(int signIndex);

// The in-cell list over a cell, if any.
enum class CellList { None, Mark, SectionType, Vat, TaxSystem, AgentSign };
const QStringList& ListItems(CellList list);
// Which list the cell's column takes its text from (data rows only).
CellList ColumnList(TableId id, int col);
// The list that opens when (col, row) is selected: the VAT list stays shut for the section types 5 and 6.
CellList ListToOpen(TableId id, const TGridData& grid, int col, int row);
// The item preselected when the list takes the focus: the cell's text, or item 0.
int PreselectedItem(CellList list, const QString& cellText);
