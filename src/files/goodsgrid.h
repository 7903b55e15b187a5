#pragma once
#include "files/goodstable.h"
#include "tables/griddata.h"

// Columns 1 to 5 of goods grid rows 1..6000; the grid's other cells are never read or written.
TGoodsTable GoodsFromGrid(const TGridData& grid);
void GoodsToGrid(const TGoodsTable& goods, TGridData& grid);
