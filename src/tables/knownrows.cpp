#include "tables/knownrows.h"

#include "text/conversion.h"
#include "tables/encoding.h"

#include <optional>

namespace {

bool SameText(const TGridData& a, const TGridData& b, int row)
{
    for (int c = 1; c < a.ColCount(); ++c)
        if (a.Cell(c, row) != b.Cell(c, row))
            return false;
    return true;
}

// The item as the write would send it, its numbers as numbers; none when the row would not convert.
std::optional<KktGoodsItem> TravellingItem(const TGridData& goods, int row)
{
    try {
        KktGoodsItem item = GoodsItemFromRow(goods, row);
        item.barcode = QString::number(item.barcode.toULongLong());
        item.section = QString::number(item.section.toULongLong());
        return item;
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

bool SameItem(const KktGoodsItem& a, const KktGoodsItem& b)
{
    return a.name == b.name && a.barcode == b.barcode && a.marking == b.marking && a.price == b.price &&
           a.section == b.section && a.quantity == b.quantity;
}

}  // namespace

bool SameRow(TableId id, const TGridData& a, const TGridData& b, int row)
{
    if (a.ColCount() != b.ColCount())
        return false;
    if (SameText(a, b, row))
        return true;
    if (id != TableId::Goods)
        return false;
    // Only rows whose text differs are converted: a load of an unchanged base stays a text comparison.
    const std::optional<KktGoodsItem> x = TravellingItem(a, row);
    const std::optional<KktGoodsItem> y = TravellingItem(b, row);
    return x && y && SameItem(*x, *y);
}

QList<int> ChangedRows(TableId id, const TGridData& before, const TGridData& after, int first, int last)
{
    QList<int> rows;
    for (int r = first; r <= last; ++r)
        if (!SameRow(id, before, after, r))
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

void TKnownRows::RememberAll(const TGridData& held)
{
    m_snapshot = held;
    m_known = QList<bool>(held.RowCount(), true);
    m_known[0] = false;  // the headings
    m_marked = QList<bool>(held.RowCount(), false);
    m_count = 0;
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
    return SetMark(row, !SameRow(m_id, m_snapshot, grid, row));
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
