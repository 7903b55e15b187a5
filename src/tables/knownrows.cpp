#include "tables/knownrows.h"

bool SameRow(const TGridData& a, const TGridData& b, int row)
{
    if (a.ColCount() != b.ColCount())
        return false;
    for (int c = 1; c < a.ColCount(); ++c)
        if (a.Cell(c, row) != b.Cell(c, row))
            return false;
    return true;
}

QList<int> ChangedRows(const TGridData& before, const TGridData& after, int first, int last)
{
    QList<int> rows;
    for (int r = first; r <= last; ++r)
        if (!SameRow(before, after, r))
            rows.push_back(r);
    return rows;
}

bool TKnownRows::Remember(const TGridData& grid, int row)
{
    if (!grid.Contains(0, row))
        return false;
    if (m_snapshot.ColCount() != grid.ColCount() || m_snapshot.RowCount() != grid.RowCount()) {
        m_snapshot = TGridData(grid.ColCount(), grid.RowCount());
        m_known = QList<bool>(grid.RowCount(), false);
        m_marked = QList<bool>(grid.RowCount(), false);
        m_count = 0;
    }
    for (int c = 1; c < grid.ColCount(); ++c)
        m_snapshot.SetCell(c, row, grid.Cell(c, row));
    m_known[row] = true;
    return SetMark(row, false);
}

void TKnownRows::Forget()
{
    *this = TKnownRows();
}

bool TKnownRows::SetMark(int row, bool marked)
{
    if (m_marked[row] == marked)
        return false;
    m_marked[row] = marked;
    m_count += marked ? 1 : -1;
    return true;
}

bool TKnownRows::Update(const TGridData& grid, int row)
{
    if (!IsKnown(row))
        return false;
    return SetMark(row, !SameRow(m_snapshot, grid, row));
}

bool TKnownRows::UpdateAll(const TGridData& grid)
{
    bool changed = false;
    for (int r = 0; r < m_known.size(); ++r)
        changed = Update(grid, r) || changed;
    return changed;
}

QList<int> TKnownRows::MarkedRows(int first, int last) const
{
    QList<int> rows;
    for (int r = qMax(first, 0); r <= last && r < m_marked.size(); ++r)
        if (m_marked[r])
            rows.push_back(r);
    return rows;
}
