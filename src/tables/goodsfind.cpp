#include "tables/goodsfind.h"

namespace {

constexpr int kNameCol = 1;
constexpr int kBarcodeCol = 2;

bool Matches(const TGridData& goods, const QString& text, int row)
{
    return goods.Cell(kNameCol, row).contains(text, Qt::CaseInsensitive) || goods.Cell(kBarcodeCol, row).contains(text);
}

}  // namespace

int FindGoods(const TGridData& goods, const QString& text, int from, bool forward)
{
    const int size = goods.RowCount() - 1;
    if (text.isEmpty() || size < 1)
        return 0;
    // Outside the table (no row yet) the search begins at row 1 forward and at the last row backward.
    const int start = from >= 1 && from <= size ? from : (forward ? size : 1);
    for (int k = 1; k <= size; ++k) {
        // Rows 1..size in a ring.
        const int step = forward ? k : -k;
        const int row = ((start - 1 + step) % size + size) % size + 1;
        if (Matches(goods, text, row))
            return row;
    }
    return 0;
}
