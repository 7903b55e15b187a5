#include "files/xlstool.h"

#include "files/sheetcells.h"
#include "files/xlsprice.h"

namespace {

constexpr int kColumnC = 3;
constexpr int kColumnD = 4;
constexpr int kColumnE = 5;
constexpr int kColumnF = 6;

}  // namespace

TXlsImport XlsToGoods(const QString& fileName)
{
    TXlsImport result;
    // Row 1 is the heading; rows 2..6001 fill goods rows 1..6000.
    const TSheetRead sheet = ReadFirstSheet(fileName, kGoodsCount + 1, kColumnF);
    if (sheet.status == SheetStatus::NoReader)
        return result;
    result.status = 0;
    if (sheet.status == SheetStatus::Failed) {
        result.error = sheet.error;
        return result;
    }

    TGoodsTable goods = ResetGoodsTable();
    const int last = std::min(sheet.cells.lastRow(), kGoodsCount + 1);
    for (int r = 2; r <= last; ++r) {
        TGoodsRow& row = goods[r - 2];
        row[GoodsName] = sheet.cells.cell(r, kColumnD);
        row[GoodsShtrih] = sheet.cells.cell(r, kColumnC);
        row[GoodsPrice] = XlsPriceToText(sheet.cells.cell(r, kColumnF));
        row[GoodsSection] = sheet.cells.cell(r, kColumnE);
    }
    result.goods = std::move(goods);
    return result;
}
