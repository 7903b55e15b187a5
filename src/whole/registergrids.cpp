#include "whole/registergrids.h"

#include <algorithm>

bool TRegisterParts::Empty() const
{
    return !module && std::none_of(tables.begin(), tables.end(), [](bool b) { return b; });
}

QList<int> DifferingRows(const TGridData& a, const TGridData& b)
{
    QList<int> rows;
    for (int r = 1; r < a.RowCount(); ++r)
        for (int c = 0; c < a.ColCount(); ++c)
            if (a.Cell(c, r) != b.Cell(c, r)) {
                rows.append(r);
                break;
            }
    return rows;
}
