#include "files/numbertext.h"
#include "files/sheetcells.h"
#include "files/xlsprice.h"
#include "files/xlstool.h"
#include "sheetfixtures.h"
#include "testprint.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

namespace {

TEST(XlsPriceToText, EveryPriceRuleOfTheImport)
{
    EXPECT_EQ(XlsPriceToText("150"), "150.00");
    EXPECT_EQ(XlsPriceToText("12,5"), "12.5");
    EXPECT_EQ(XlsPriceToText("12.50"), "12.50");
    EXPECT_EQ(XlsPriceToText(""), "0.00");
    EXPECT_EQ(XlsPriceToText("abc"), "0.00");
    EXPECT_EQ(XlsPriceToText("1 234,50"), "0.00");
    EXPECT_EQ(XlsPriceToText("1,2,3"), "0.00");   // only the first comma becomes a point
    EXPECT_EQ(XlsPriceToText("1.5e2"), "1.5e2");  // separated texts are not reformatted
    EXPECT_EQ(XlsPriceToText("-7"), "-7.00");
    EXPECT_EQ(XlsPriceToText("99999999999"), "0.00");  // not a 32-bit integer
}

TEST(SpreadsheetNumbers, PlainDecimalTextWithoutExponent)
{
    EXPECT_EQ(NumberToText(150), "150");
    EXPECT_EQ(NumberToText(12.5), "12.5");
    EXPECT_EQ(NumberToText(4600000000000.0), "4600000000000");
    EXPECT_EQ(NumberToText(89.989999999999995), "89.99");
    EXPECT_EQ(NumberToText(0.001), "0.001");
    EXPECT_EQ(NumberToText(-3), "-3");
    EXPECT_EQ(NumberToText(1e20), "100000000000000000000");
    EXPECT_EQ(NumberToText(-0.0), "0");
}

TEST(SpreadsheetNumbers, PointDecimalsAsTheExchangeFormatsCheckThem)
{
    for (const char* good : {"12", "12.50", "1e2", "-1.5E-3", ".5", "5.", "+3"})
        EXPECT_TRUE(IsDotFloat(good)) << good;
    for (const char* bad : {"", "12,50", " 12", "12 ", "1e", ".", "e2", "1.2.3", "--1", "0x10"})
        EXPECT_FALSE(IsDotFloat(bad)) << bad;
}

TEST(SpreadsheetNumbers, CellReferencesGiveColumns)
{
    EXPECT_EQ(ColumnOfReference("D12"), 4);
    EXPECT_EQ(ColumnOfReference("c1"), 3);
    EXPECT_EQ(ColumnOfReference("AA7"), 27);
    EXPECT_EQ(ColumnOfReference("XFD1"), 16384);
    EXPECT_EQ(ColumnOfReference("12"), 0);
}

// The same checks run on both workbook formats.
class GoodsFromWorkbook : public ::testing::TestWithParam<const char*> {
protected:
    static inline QTemporaryDir* folder = nullptr;
    static inline FixtureMake xls = FixtureMake::Failed;
    static inline QString reason;

    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        xls = MakeXlsFixtures(folder->path(), reason);
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    // The workbook named base in the format under test, or an empty name when the test is skipped.
    QString book(const QString& base, const std::vector<TestSheet>& sheets)
    {
        if (QString(GetParam()) == "xlsx") {
            const QString file = folder->filePath(base + ".xlsx");
            if (!QFile::exists(file)) {
                EXPECT_TRUE(WriteXlsx(file, sheets));
            }
            return file;
        }
        return folder->filePath(base + ".xls");
    }

    TGoodsTable import(const QString& base, const std::vector<TestSheet>& sheets)
    {
        const TXlsImport result = XlsToGoods(book(base, sheets));
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.error, QString());
        return result.goods.value_or(TGoodsTable());
    }

    void SetUp() override
    {
        if (QString(GetParam()) == "xls" && xls == FixtureMake::NoXlwt)
            GTEST_SKIP() << reason.toStdString();
        ASSERT_TRUE(QString(GetParam()) == "xlsx" || xls == FixtureMake::Made) << reason.toStdString();
    }
};

const TGoodsRow kReset = ResetGoodsRow();

TEST_P(GoodsFromWorkbook, HeadingOnlySheetLeavesTheTableReset)
{
    EXPECT_EQ(import("heading", HeadingOnlyBook()), ResetGoodsTable());
}

TEST_P(GoodsFromWorkbook, SevenThousandRowsFillAllGoodsRowsAndTheRestIsIgnored)
{
    const TGoodsTable goods = import("rows7000", Rows7000Book());
    ASSERT_EQ(goods.size(), size_t(kGoodsCount));
    EXPECT_EQ(goods[0], (TGoodsRow{"Товар №2", "4600000000002", "", "2.5", "3"}));
    EXPECT_EQ(goods[2], (TGoodsRow{"Товар №4", "4600000000004", "", "5.00", "5"}));
    EXPECT_EQ(goods[5999], (TGoodsRow{"Товар №6001", "4600000006001", "", "7501.25", "8"}));
    for (const auto& row : goods)
        EXPECT_TRUE(row[GoodsMark].isEmpty());
}

TEST_P(GoodsFromWorkbook, PriceCellsBarcodesAndNamesAsTheUserSeesThem)
{
    const TGoodsTable goods = import("prices", PricesBook());
    EXPECT_EQ(goods[0], (TGoodsRow{"Молоко", "4600000000000", "", "150.00", "3"}));
    EXPECT_EQ(goods[1], (TGoodsRow{" Хлеб  белый ", "4601234567890", "", "12.5", "2"}));
    EXPECT_EQ(goods[2][GoodsPrice], "12.50");
    EXPECT_EQ(goods[3], (TGoodsRow{"Пустая цена", "", "", "0.00", ""}));
    EXPECT_EQ(goods[4][GoodsPrice], "0.00");
    EXPECT_EQ(goods[5][GoodsPrice], "0.00");
    EXPECT_EQ(goods[6][GoodsPrice], "89.99");
    EXPECT_EQ(goods[7][GoodsPrice], "12.5");
    EXPECT_EQ(goods[8][GoodsPrice], "0.00");
    EXPECT_EQ(goods[9], kReset);
}

TEST_P(GoodsFromWorkbook, FormattedEmptyRowsAreReadAsEmptyGoods)
{
    const TGoodsTable goods = import("formatted", FormattedBook());
    EXPECT_EQ(goods[0], (TGoodsRow{"Единственный", "", "", "10.00", ""}));
    for (int i = 1; i <= 8; ++i)  // spreadsheet rows 3..10
        EXPECT_EQ(goods[i], (TGoodsRow{"", "", "", "0.00", ""})) << i;
    EXPECT_EQ(goods[9], kReset);
}

TEST_P(GoodsFromWorkbook, OnlyTheFirstWorksheetIsRead)
{
    const TGoodsTable goods = import("twosheets", TwoSheetsBook());
    EXPECT_EQ(goods[0][GoodsName], "С первого листа");
    EXPECT_EQ(goods[1], kReset);
}

INSTANTIATE_TEST_SUITE_P(Formats, GoodsFromWorkbook, ::testing::Values("xls", "xlsx"));

class WorkbookFailures : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
};

TEST_F(WorkbookFailures, UnknownFileTypeGivesStatusOneAndNoMessage)
{
    const TXlsImport result = XlsToGoods(write("goods.csv", "a;b;c\r\n"));
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_FALSE(result.goods.has_value());
}

TEST_F(WorkbookFailures, UnreadableWorkbooksGiveAMessageAndNoTable)
{
    // A missing file, text named ".xls", a damaged compound document, a zip that is no workbook.
    QByteArray compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    compound.append(504, '\0');
    const QString noWorkbook = dir.filePath("empty.xlsx");
    {
        zipFile zip = zipOpen(QFile::encodeName(noWorkbook).constData(), APPEND_STATUS_CREATE);
        ASSERT_NE(zip, nullptr);
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip(zip, "readme.txt", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6), ZIP_OK);
        zipWriteInFileInZip(zip, "x", 1);
        zipCloseFileInZip(zip);
        zipClose(zip, nullptr);
    }
    for (const QString& file : {dir.filePath("missing.xls"), write("text.xls", "not a workbook"),
                                write("broken.xls", compound), noWorkbook, write("cut.xlsx", "PK\x03\x04garbage")}) {
        const TXlsImport result = XlsToGoods(file);
        EXPECT_EQ(result.status, 0) << file.toStdString();
        EXPECT_FALSE(result.error.isEmpty()) << file.toStdString();
        EXPECT_FALSE(result.goods.has_value()) << file.toStdString();
    }
    // The reader's own refusal reaches the user through the isolated reader with its reason.
    EXPECT_EQ(XlsToGoods(dir.filePath("broken.xls")).error,
              QStringLiteral("Не удалось прочитать книгу \"%1\": файл не является составным документом.")
                  .arg(dir.filePath("broken.xls")));
}

TEST_F(WorkbookFailures, BrokenSheetXmlIsReportedNotHalfRead)
{
    // A workbook whose sheet part breaks off in the middle of an element.
    const QString cut = dir.filePath("cutsheet.xlsx");
    zipFile zip = zipOpen(QFile::encodeName(cut).constData(), APPEND_STATUS_CREATE);
    zip_fileinfo info{};
    auto add = [&](const char* name, const QByteArray& text) {
        zipOpenNewFileInZip(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6);
        zipWriteInFileInZip(zip, text.constData(), unsigned(text.size()));
        zipCloseFileInZip(zip);
    };
    add("xl/workbook.xml",
        "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets><sheet name=\"a\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    add("xl/_rels/workbook.xml.rels",
        "<Relationships><Relationship Id=\"rId1\" Target=\"/xl/worksheets/s.xml\"/></Relationships>");
    add("xl/worksheets/s.xml", "<worksheet><sheetData><row r=\"2\"><c r=\"D2\" t=\"inlineStr\"><is><t>x</t");
    zipClose(zip, nullptr);
    const TXlsImport result = XlsToGoods(cut);
    EXPECT_EQ(result.status, 0);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_FALSE(result.goods.has_value());
}

}  // namespace
