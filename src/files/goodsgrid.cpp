#include "files/goodsgrid.h"

TGoodsTable GoodsFromGrid(const TGridData& grid)
{
    TGoodsTable goods(kGoodsCount);
    for (int r = 1; r <= kGoodsCount; ++r)
        for (int k = 0; k < kGoodsFields; ++k)
            goods[r - 1][k] = grid.Cell(k + 1, r);
    return goods;
}

void GoodsToGrid(const TGoodsTable& goods, TGridData& grid)
{
    const int rows = std::min(kGoodsCount, int(goods.size()));
    for (int r = 1; r <= rows; ++r)
        for (int k = 0; k < kGoodsFields; ++k)
            grid.SetCell(k + 1, r, goods[r - 1][k]);
}
