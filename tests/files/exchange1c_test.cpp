#include "files/exchange1c.h"
#include "files/filetexts.h"
#include "text/codepage.h"
#include "testprint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Cp(const QString& text)
{
    return codepage::toCp1251(text);
}

// A goods line as the file carries it.
QByteArray GoodsLine(const QString& number, const QString& name, const QString& font, const QString& shtr,
                     const QString& price, const QString& section)
{
    return "\x02" + Cp(number + "\t" + name + "\t" + font + "\t" + shtr + "\t" + price + "\t" + section) + "\x03\r\n";
}

QByteArray File(const QList<QByteArray>& goodsLines, bool eot = true)
{
    QByteArray bytes("\x01\r\n");
    for (const auto& line : goodsLines)
        bytes += line;
    if (eot)
        bytes += "\x04\r\n";
    return bytes;
}

TGoodsTable SampleGoods()
{
    TGoodsTable goods(kGoodsCount);
    goods[0] = {"Молоко 3,2%", "4600000000017", "м", "12,50", "1"};
    goods[1] = {"Хлеб", "", "", "", "2"};
    goods[2] = {" пробелы ", "46", "", "7.25", ""};
    goods[5999] = {"Последний", "4600000000000", "", "100", "9"};
    return goods;
}

TEST(Exchange1cExport, SixThousandTwoLinesFramedAndEndedByEotWithCrLf)
{
    const QByteArray bytes = Export1cdb(TGoodsTable(kGoodsCount));
    EXPECT_TRUE(bytes.startsWith("\x01\r\n\x02" "1\t\t" + Cp("Узкий") + "\t\t0.0\t\x03\r\n"));
    EXPECT_TRUE(bytes.endsWith("\x02" "6000\t\t" + Cp("Узкий") + "\t\t0.0\t\x03\r\n\x04\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 6002);
    EXPECT_EQ(bytes.count('\n'), 6002);
    EXPECT_EQ(bytes.count('\r'), 6002);
}

TEST(Exchange1cExport, CellsGoOutInTheCodePageWithAPointInThePrice)
{
    TGoodsTable goods = SampleGoods();
    goods[3] = {"Чай 中", "1\t2", "", "1,5,0", "3\r\n4"};
    const QByteArray bytes = Export1cdb(goods);
    EXPECT_TRUE(bytes.contains(GoodsLine("1", "Молоко 3,2%", "Узкий", "4600000000017", "12.50", "1")));
    EXPECT_TRUE(bytes.contains(GoodsLine("2", "Хлеб", "Узкий", "", "0.0", "2")));
    // Only the price's first comma changes; characters outside the code page become '?', and
    // framing characters inside a cell become blanks instead of breaking the line.
    EXPECT_TRUE(bytes.contains(GoodsLine("4", "Чай ?", "Узкий", "1 2", "1.5,0", "3  4")));
}

TEST(Exchange1cRoundTrip, ExportThenImportRestoresTheExchangedColumns)
{
    const TGoodsTable goods = SampleGoods();
    const T1cdbImport back = Import1cdb(Export1cdb(goods));
    ASSERT_TRUE(back.accepted);
    EXPECT_EQ(back.count, kGoodsCount);
    EXPECT_EQ(back.goods[0], (TGoodsRow{"Молоко 3,2%", "4600000000017", "", "12.50", "1"}));
    EXPECT_EQ(back.goods[1], (TGoodsRow{"Хлеб", "", "", "0.0", "2"}));
    EXPECT_EQ(back.goods[2], (TGoodsRow{" пробелы ", "46", "", "7.25", ""}));
    EXPECT_EQ(back.goods[5999], (TGoodsRow{"Последний", "4600000000000", "", "100", "9"}));
    EXPECT_EQ(back.goods[100], (TGoodsRow{"", "", "", "0.0", ""}));
}

TEST(Exchange1cImport, EveryStructureOrContentFaultRejectsTheWholeFile)
{
    const QByteArray good = GoodsLine("1", "Молоко", "Узкий", "46", "12.50", "1");
    const QList<std::pair<const char*, QByteArray>> cases = {
        {"font is a barcode", File({good, GoodsLine("2", "Хлеб", "4600000000017", "", "1", "")})},
        {"font empty", File({GoodsLine("2", "Хлеб", "", "", "1", "")})},
        {"font in lower case", File({GoodsLine("2", "Хлеб", "узкий", "", "1", "")})},
        {"font with a blank", File({GoodsLine("2", "Хлеб", "Широкий ", "", "1", "")})},
        {"byte-order mark", "\xEF\xBB\xBF" + File({good})},
        {"price with a comma", File({good, GoodsLine("2", "Хлеб", "Широкий", "", "12,50", "")})},
        {"price empty", File({GoodsLine("2", "Хлеб", "Широкий", "", "", "")})},
        {"number not an integer", File({GoodsLine("2a", "Хлеб", "Узкий", "", "1", "")})},
        {"no SOH line", good + "\x04\r\n"},
        {"four TABs", File({"\x02" "1\ta\t" + Cp("Узкий") + "\t\t1\x03\r\n"})},
        {"six TABs", File({"\x02" "1\ta\t" + Cp("Узкий") + "\t\t1\t\t\x03\r\n"})},
        {"no ETX", File({"\x02" "1\ta\t" + Cp("Узкий") + "\t\t1\t\r\n"})},
        {"no STX", File({"1\ta\t" + Cp("Узкий") + "\t\t1\t\x03\r\n"})},
        {"empty line inside", File({good, "\r\n", good})},
        {"EOT before the last line", File({good, "\x04\r\n", good})},
    };
    for (const auto& [what, bytes] : cases) {
        const T1cdbImport result = Import1cdb(bytes);
        EXPECT_FALSE(result.accepted) << what;
        EXPECT_TRUE(result.goods.empty()) << what;
    }
}

TEST(Exchange1cImport, AcceptedFileResetsEveryRowAndAppliesItsLines)
{
    const T1cdbImport result = Import1cdb(File({
        GoodsLine("3", "Сыр", "Широкий", "46", "1e2", "5"),
        GoodsLine("0", "ноль", "Узкий", "", "1", ""),
        GoodsLine("-1", "минус", "Узкий", "", "1", ""),
        GoodsLine("6001", "сверх", "Узкий", "", "1", ""),
        GoodsLine("3", "Сыр твердый", "Узкий", "47", "12", "6"),
        "\x02" "5\tA\t" + Cp("Узкий") + "\tB\t-1.5\tC\x03" "D\x03\r\n",
    }));
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(result.count, 6);  // every goods line counts, applied or not
    EXPECT_EQ(result.goods[2], (TGoodsRow{"Сыр твердый", "47", "", "12", "6"}));  // the later line wins
    EXPECT_EQ(result.goods[4], (TGoodsRow{"A", "B", "", "-1.5", "C"}));          // section ends at the first ETX
    EXPECT_EQ(result.goods[0], ResetGoodsRow());
    EXPECT_EQ(result.goods[5999], ResetGoodsRow());
}

TEST(Exchange1cImport, EotEndsTheFileWhereverItStands)
{
    const QByteArray line = GoodsLine("1", "Молоко", "Узкий", "46", "12.50", "1");
    const T1cdbImport withEot = Import1cdb(File({line, line}));
    ASSERT_TRUE(withEot.accepted);
    EXPECT_EQ(withEot.count, 2);
    const T1cdbImport withoutEot = Import1cdb(File({line, line}, false));
    ASSERT_TRUE(withoutEot.accepted);
    EXPECT_EQ(withoutEot.count, 2);
    const T1cdbImport noLastBreak = Import1cdb("\x01\r\n" + line + "\x04");
    ASSERT_TRUE(noLastBreak.accepted);
    EXPECT_EQ(noLastBreak.count, 1);
    const T1cdbImport bareLf = Import1cdb("\x01\n" + line.chopped(2) + "\n\x04\n");
    ASSERT_TRUE(bareLf.accepted);
    EXPECT_EQ(bareLf.goods[0][GoodsName], "Молоко");
}

TEST(Exchange1cImport, EmptyFileIsAcceptedWithNoPositions)
{
    const T1cdbImport result = Import1cdb(QByteArray());
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(result.count, 0);
    EXPECT_EQ(result.goods, ResetGoodsTable());
    EXPECT_EQ(filetexts::Loaded1cdbText(result.count), "Загружено 0 позиций!");
}

class Exchange1cFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

TEST_F(Exchange1cFiles, SaveReplacesTheTargetAndLoadReadsItBack)
{
    const QString file = dir.filePath("goods.1cdb");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(500000, 'x'));  // longer than the export: nothing of it may remain
    }
    const T1cdbSave saved = Save1cdbFile(file, SampleGoods());
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), Export1cdb(SampleGoods()));
    const T1cdbLoad loaded = Load1cdbFile(file);
    ASSERT_TRUE(loaded.import && loaded.import->accepted);
    EXPECT_EQ(loaded.import->goods[0][GoodsPrice], "12.50");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("goods.1cdb"));  // no temporary left behind
}

TEST_F(Exchange1cFiles, UnwritableTargetAndMissingFileAreReported)
{
    const T1cdbSave saved = Save1cdbFile(dir.filePath("no/such/folder/goods.1cdb"), SampleGoods());
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.isEmpty());
    const T1cdbLoad loaded = Load1cdbFile(dir.filePath("missing.1cdb"));
    EXPECT_FALSE(loaded.error.isEmpty());
    EXPECT_FALSE(loaded.import.has_value());
}

}  // namespace
