#pragma once
#include "tables/griddata.h"
#include "tables/tabledefs.h"

#include <QList>

// What the register was last known to hold, row by row, for one grid: the row's cells as they stood
// when the row was last read from or written to the register. Rows never read or written are unknown.
// A row is marked when it is known and the grid's row differs from it; the marks are kept by comparing,
// so every change of the grid counts once Update/UpdateAll is called after it.
class TKnownRows {
public:
    explicit TKnownRows(TableId id) : m_id(id) {}

    // The grid's row `row` is now what the register holds; its mark is cleared (true when it was set).
    bool Remember(const TGridData& grid, int row);
    // Every row of `held` is what the register now holds (its goods base was cleared: empty rows).
    // Call UpdateAll with the grid afterwards.
    void RememberAll(const TGridData& held);

    // Compares row `row` (or every row) of the grid with what is known; true when a mark changed.
    bool Update(const TGridData& grid, int row);
    bool UpdateAll(const TGridData& grid);

    bool IsKnown(int row) const { return row >= 0 && row < m_known.size() && m_known[row]; }
    bool IsMarked(int row) const { return row >= 0 && row < m_marked.size() && m_marked[row]; }
    int MarkedCount() const { return m_count; }
    // The marked rows among first..last, ascending.
    QList<int> MarkedRows(int first, int last) const;

private:
    bool SetMark(int row, bool marked);

    TableId m_id;
    TGridData m_snapshot;
    QList<bool> m_known;
    QList<bool> m_marked;
    int m_count = 0;
};

// True when data row `row` of table `id` says the same in both grids: the same text in every column
// (the label column aside), or for goods the same item as it travels ("1" and "1.00" are one price,
// an empty quantity and "0.000" one quantity), so that a file and a read of the same base agree.
bool SameRow(TableId id, const TGridData& a, const TGridData& b, int row);
// The data rows among first..last that differ between the two grids, ascending.
QList<int> ChangedRows(TableId id, const TGridData& before, const TGridData& after, int first, int last);
