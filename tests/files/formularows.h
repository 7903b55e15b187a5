#pragma once
#include "files/goodstable.h"

#include <vector>

// The goods rows 2 to 7 of the spreadsheet program's "formulas" fixtures (.xlsx, BIFF8 and BIFF5
// .xls alike): formula results in columns C to F read as the sheet shows them; the price of row 2
// is =B2*1.2.
inline std::vector<TGoodsRow> FormulaFixtureRows()
{
    return {
        {"Молоко 1", "4600000000001", "", "120.00", "3"},
        {"ХЛЕБ БЕЛЫЙ", "4601234567892", "", "15.00", "1"},
        {"Сыр", "#DIV/0!", "", "0.00", "0"},
        {"Чай", "#N/A", "", "107.99", "5"},
        {"1", "", "", "10.5", "3"},
        {"Вода", "4600000000006", "", "12.5", "1"},
    };
}
