// Workbooks saved by a real spreadsheet program (fixtures/make-fixtures.sh), not by our own writers.
#include "files/sheetcells.h"
#include "files/xlstool.h"
#include "formularows.h"
#include "testprint.h"

#include <gtest/gtest.h>

namespace {

QString Fixture(const char* name)
{
    return QStringLiteral(KKT_SHEET_FIXTURES "/") + QLatin1String(name);
}

TGoodsTable Import(const char* name)
{
    const TXlsImport result = XlsToGoods(Fixture(name));
    EXPECT_EQ(result.error, QString()) << name;
    return result.goods.value_or(TGoodsTable());
}

TEST(SpreadsheetProgramWorkbooks, FormulaResultsImportAsTheSheetShowsThem)
{
    // Columns C..F hold formulas with numeric, text, Boolean and error results (and a few plain
    // cells); the price of row 2 is =B2*1.2.
    const TGoodsTable xlsx = Import("formulas.xlsx");
    const std::vector<TGoodsRow> expected = FormulaFixtureRows();
    for (const char* xls : {"formulas-biff8.xls", "formulas-biff5.xls"}) {
        SCOPED_TRACE(xls);
        const TGoodsTable goods = Import(xls);
        EXPECT_EQ(goods, xlsx);
        ASSERT_EQ(goods.size(), size_t(kGoodsCount));
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(goods[i], expected[i]) << "row " << i + 2;
        EXPECT_EQ(goods[expected.size()], ResetGoodsRow());
    }
}

TEST(SpreadsheetProgramWorkbooks, PlainCellsOfEveryKindInBothXlsFormats)
{
    for (const char* name : {"cellkinds-biff8.xls", "cellkinds-biff5.xls"}) {
        SCOPED_TRACE(name);
        const TSheetRead read = ReadFirstSheet(Fixture(name), 10, 6);
        ASSERT_EQ(read.status, SheetStatus::Read) << read.error.toStdString();
        const TSheetCells& c = read.cells;
        EXPECT_EQ(c.lastRow(), 6);
        // Booleans as 1/0, errors as the sheet shows them.
        EXPECT_EQ(c.cell(1, 1), "1");
        EXPECT_EQ(c.cell(1, 2), "0");
        EXPECT_EQ(c.cell(1, 3), "#DIV/0!");
        EXPECT_EQ(c.cell(1, 4), "#N/A");
        // Dates and times by the cell's format; other formats leave the number as it is.
        EXPECT_EQ(c.cell(2, 1), "2025-12-09");
        EXPECT_EQ(c.cell(2, 2), "2025-12-09");
        EXPECT_EQ(c.cell(2, 3), "18:00:00");
        EXPECT_EQ(c.cell(2, 4), "2025-12-09 06:00:00");
        EXPECT_EQ(c.cell(2, 5), "12.5");
        EXPECT_EQ(c.cell(2, 6), "0.25");
        EXPECT_EQ(c.cell(3, 2), "2025-12-09");   // mmm-yy
        EXPECT_EQ(c.cell(3, 4), "12:00:00");     // [h]:mm:ss
        EXPECT_EQ(c.cell(3, 5), "1234.5");       // #,##0.00 "р."
        EXPECT_EQ(c.cell(4, 1), "-5");
        EXPECT_EQ(c.cell(4, 4), "4600000000000");
        EXPECT_EQ(c.cell(4, 5), "0.1");
        EXPECT_EQ(c.cell(5, 5), "1900-02-29");   // the 1900 calendar's phantom day
        EXPECT_EQ(c.cell(5, 6), "1900-03-01");
        EXPECT_EQ(c.cell(6, 2), "46000");        // General
        EXPECT_EQ(c.cell(6, 4), "-46000");       // [Red]0.00
    }
}

}  // namespace
