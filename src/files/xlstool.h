#pragma once
#include "files/goodstable.h"

#include <QString>
#include <optional>

// Spreadsheet import of the goods table from a workbook 1C prepared: first worksheet, rows 2 to the
// last used row; columns D, C, F, E go to goods columns 1, 2, 4 (through XlsPriceToText) and 5.
// Goods row r - 1 takes spreadsheet row r; rows after 6001 have no goods row.
struct TXlsImport {
    // 0: the import ran (goods or error is set); 1: no reader knows the file type, nothing to show.
    int status = 1;
    QString error;                      // the workbook could not be read: show it, change nothing
    std::optional<TGoodsTable> goods;   // the whole new goods table: reset rows plus the sheet's rows
};

TXlsImport XlsToGoods(const QString& fileName);
