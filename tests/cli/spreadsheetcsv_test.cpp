// CSV files as spreadsheet programs with Russian regional settings save and open them.
#include "clirun.h"

#include "files/csvtable.h"

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

QString Fixture(const QString& name)
{
    return QStringLiteral(KKT_SHEET_FIXTURES "/") + name;
}

// The goods rows 1..3 of the fixtures, as the goods grid keeps them.
const QList<QStringList> kGoods = {
    {"1", "Молоко; 3,2%", "4600000000001", "", "150", "1", ""},
    {"2", "Хлеб \"Бородинский\"", "4601234567890", "", "12,5", "2", "1,5"},
    {"3", "Сыр", "", "", "89,99", "3", ""},
};

class SpreadsheetCsv : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // The goods rows 1..3 that `convert` takes from input, through its plain CSV output.
    QList<QStringList> ConvertedGoods(const QString& input, const QStringList& options = {})
    {
        const QString out = Path(QStringLiteral("out.csv"));
        const CliRun run = RunTool(QStringList{"convert", input, out} + options);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        const TCsvRead csv = ParseCsv(ReadAll(out));
        EXPECT_TRUE(csv.ok()) << csv.error.toStdString();
        QList<QStringList> rows;
        for (qsizetype i = 1; i <= 3 && i < csv.records.size(); ++i)
            rows.append(csv.records[i].fields);
        return rows;
    }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(SpreadsheetCsv, GoodsSavedInWindows1251OrUtf8WithAnySeparatorGiveTheSameGrid)
{
    for (const char* name : {"goods-gnumeric-1251.csv", "goods-gnumeric-utf8-tab.csv", "goods-libreoffice-1251.csv",
                             "goods-libreoffice-utf8.csv"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ConvertedGoods(Fixture(name)), kGoods);
    }
    // UTF-8 with a byte-order mark, as Excel saves "CSV UTF-8".
    const QString bom = Path(QStringLiteral("bom.csv"));
    WriteAll(bom, kBom + ReadAll(Fixture(QStringLiteral("goods-libreoffice-utf8.csv"))));
    EXPECT_EQ(ConvertedGoods(bom), kGoods);
}

TEST_F(SpreadsheetCsv, OutputForSpreadsheetProgramsIsUtf8WithByteOrderMarkAndSemicolons)
{
    const QString input = Fixture(QStringLiteral("goods-gnumeric-1251.csv"));
    const QString plain = Path(QStringLiteral("plain.csv"));
    const QString sheet = Path(QStringLiteral("sheet.csv"));
    ASSERT_EQ(RunTool({"convert", input, plain}).status, 0);
    ASSERT_EQ(RunTool({"convert", input, sheet, "--spreadsheet-csv"}).status, 0);

    const QByteArray bytes = ReadAll(sheet);
    EXPECT_TRUE(bytes.startsWith(kBom + "Код товара;Наименование;Штрих-код;Признак маркировки;Цена;Секция;Количество\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n1;\"Молоко; 3,2%\";4600000000001;;150;1;\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\r\n2;\"Хлеб \"\"Бородинский\"\"\";4601234567890;;12,5;2;1,5\r\n"));
    // The default output stays the plain one, and the spreadsheet file reads back to the same grid.
    const QByteArray plainBytes = ReadAll(plain);
    EXPECT_FALSE(plainBytes.startsWith(kBom));
    EXPECT_FALSE(plainBytes.contains('\r'));
    EXPECT_TRUE(plainBytes.startsWith("Код товара,Наименование,"));
    EXPECT_EQ(ConvertedGoods(sheet), kGoods);

    const CliRun wrongKind = RunTool({"convert", input, Path(QStringLiteral("goods.1cdb")), "--spreadsheet-csv"});
    EXPECT_EQ(wrongKind.status, 2);
    EXPECT_TRUE(wrongKind.err.contains("--spreadsheet-csv")) << wrongKind.err.toStdString();
}

TEST(SpreadsheetCsvDetection, FilesThatCannotBeToldApartAreRefusedSayingWhich)
{
    // A one-column heading fits every separator, and records of one field do not tell them apart.
    EXPECT_EQ(ParseCsvWithHeading("A\n1\n", {"A"}).error,
              "разделитель полей не определить: подходят \",\" и \";\" и табуляция");
    EXPECT_EQ(ParseCsvWithHeading("A\n1,2\n", {"A"}).error, "разделитель полей не определить: подходят \";\" и табуляция");
    // Where the records do, the separator with which every record has the heading's columns wins.
    const TCsvRead tab = ParseCsvWithHeading("A;B\n1;2,5\n", {"A;B"});
    ASSERT_TRUE(tab.ok()) << tab.error.toStdString();
    EXPECT_EQ(tab.records[1].fields, QStringList({"1;2,5"}));
    const TCsvRead told = ParseCsvWithHeading("Код;Цена\n1;2,5\n", {"Код", "Цена"});
    ASSERT_TRUE(told.ok()) << told.error.toStdString();
    EXPECT_EQ(told.records[1].fields, QStringList({"1", "2,5"}));
    // A plain heading, and a body that is valid UTF-8 and different as Windows-1251.
    EXPECT_EQ(ParseCsvWithHeading("A,B\n1,\xD0\x9A\n", {"A", "B"}).error,
              "кодировку файла не определить: строка заголовков читается и в UTF-8, и в Windows-1251");
    // No UTF-8 and no heading in Windows-1251 either.
    EXPECT_TRUE(ParseCsvWithHeading("\xCA\xEE\xE4;\xD6\xE5\xED\xE0\n", {"Код", "Имя"})
                    .error.startsWith("строка 1: ни в кодировке UTF-8, ни в Windows-1251"));
    // A UTF-8 file with a wrong heading keeps today's reading, whose heading check names the columns.
    const TCsvRead wrong = ParseCsvWithHeading("Код,Имя\n", {"Код", "Цена"});
    ASSERT_TRUE(wrong.ok());
    EXPECT_EQ(wrong.records[0].fields, QStringList({"Код", "Имя"}));
}

TEST_F(CliSimTest, OperatorsAndGoodsFromSpreadsheetCsvGoToTheRegister)
{
    const CliRun ops = Run({"write", "operators", "--input", Fixture("operators-gnumeric-1251.csv"), "--range", "1-2"});
    ASSERT_EQ(ops.status, 0) << ops.err.toStdString();
    EXPECT_EQ(m_sim.sim().param(0, 1, 1), "Иванов, Иван");
    EXPECT_EQ(m_sim.sim().param(0, 2, 1), "Петров \"Пётр\"");
    EXPECT_EQ(m_sim.sim().param(0, 1, 3), "123456789012");  // the cashier's INN, saved as a number

    const CliRun goods = Run({"write", "goods", "--input", Fixture("goods-libreoffice-1251.csv"), "--range", "1-3"});
    ASSERT_EQ(goods.status, 0) << goods.err.toStdString();
    const CliRun back = Run({"read", "goods", "--range", "1-3", "--spreadsheet-csv"});
    ASSERT_EQ(back.status, 0) << back.err.toStdString();
    const TCsvRead csv = ParseCsvWithHeading(back.out.toUtf8(), QString("Код товара;Наименование;Штрих-код;Признак "
                                                                        "маркировки;Цена;Секция;Количество").split(';'));
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.records.size(), 4);
    EXPECT_EQ(csv.records[2].fields[1], "Хлеб \"Бородинский\"");
    EXPECT_EQ(csv.records[2].fields[4], "12,50");
    EXPECT_EQ(csv.records[1].fields[4], "150,00");
}
