#include "clirun.h"

#include "files/configfile.h"
#include "files/csvtable.h"
#include "tables/encoding.h"

#include <QFile>
#include <QProcess>

namespace {

// Goods rows 2..4 of a workbook as 1C exports it: barcode C, name D, section E, price F.
const char* kWorkbookScript = R"(
import sys
try:
    import xlwt
except ImportError:
    sys.exit(3)
wb = xlwt.Workbook(encoding="utf-8")
ws = wb.add_sheet("Товары")
for col, text in enumerate(["Код", "Группа", "Штрих-код", "Наименование", "Секция", "Цена"]):
    ws.write(0, col, text)
ws.write(1, 2, 4600000000017); ws.write(1, 3, "Молоко 3,2%"); ws.write(1, 4, 2); ws.write(1, 5, 89.99)
ws.write(2, 2, "4601234567890"); ws.write(2, 3, "Хлеб \"Бородинский\""); ws.write(2, 4, "1"); ws.write(2, 5, "45,5")
ws.write(3, 3, "Пакет"); ws.write(3, 5, 3)
wb.save(sys.argv[1])
)";

struct Item {
    QString name;
    QString barcode;
    QString section;
    int64_t kopecks;
};

class ConvertTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(ConvertTest, GoodsKeepThroughXlsTo1cdbToDbVaroToCsv)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kWorkbookScript), Path("goods.xls")});
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit)
        GTEST_SKIP() << "no /usr/bin/python3";
    if (python.exitCode() == 3)
        GTEST_SKIP() << "python3-xlwt is not installed";
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    const QStringList chain{"goods.xls", "goods.1cdb", "goods.dbVaro", "goods.csv"};
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) {
        const CliRun run = RunTool({"convert", Path(chain[i]), Path(chain[i + 1])});
        ASSERT_EQ(run.status, 0) << chain[i].toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.out + run.err, "");
    }
    const TCsvRead csv = ParseCsv(ReadAll(Path("goods.csv")));
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.records.size(), 6001);
    const Item expected[] = {
        {"Молоко 3,2%", "4600000000017", "2", 8999},
        {"Хлеб \"Бородинский\"", "4601234567890", "1", 4550},
        {"Пакет", "", "", 300},
    };
    for (int r = 1; r <= 3; ++r) {
        const QStringList& f = csv.records[r].fields;
        const Item& e = expected[r - 1];
        EXPECT_EQ(f[0], QString::number(r));
        EXPECT_EQ(f[1], e.name);
        EXPECT_EQ(f[2], e.barcode);
        EXPECT_EQ(f[5], e.section);
        EXPECT_EQ(EncodePrice(f[4]), e.kopecks) << f[4].toStdString();
    }
    EXPECT_EQ(csv.records[4].fields[1], "");

    // And the CSV goes on into the register's form unchanged: back to .1cdb, equal to the first one.
    ASSERT_EQ(RunTool({"convert", Path("goods.csv"), Path("again.1cdb")}).status, 0);
    EXPECT_EQ(ReadAll(Path("again.1cdb")), ReadAll(Path("goods.1cdb")));
}

TEST_F(ConvertTest, AConfigurationFileKeepsEveryValueThroughTheGrids)
{
    TConfig config;
    config.Gsm.arrParam[0] = "10.0.0.1";
    config.Gsm.arrParam[6] = "GSM";
    config.CfgVaro.Oper[0].FioStr1 = "Иванов, Иван";
    config.CfgVaro.Oper[0].fontFioStr1 = "Широкий";
    config.CfgVaro.PredmRasch[5999].NameTov = "Последний товар";
    config.CfgVaro.Klishe[20].Name = "shop@example.ru";
    config.CfgVaro.Station[39].Name = "Касса 40";
    ASSERT_TRUE(SaveConfigFile(Path("a.conf"), config));

    const CliRun run = RunTool({"convert", Path("a.conf"), Path("b.conf")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    TConfig back;
    ASSERT_TRUE(LoadConfigFile(Path("b.conf"), back));
    EXPECT_EQ(back.Gsm, config.Gsm);
    EXPECT_TRUE(back.CfgVaro == config.CfgVaro);

    // Its goods come out as the goods CSV.
    ASSERT_EQ(RunTool({"convert", Path("a.conf"), Path("goods.csv")}).status, 0);
    const TCsvRead csv = ParseCsv(ReadAll(Path("goods.csv")));
    ASSERT_EQ(csv.records.size(), 6001);
    EXPECT_EQ(csv.records[6000].fields[1], "Последний товар");
}

TEST_F(ConvertTest, UnusableFilesAreFileErrors)
{
    WriteAll(Path("bad.1cdb"), "not an exchange file\r\n");
    WriteAll(Path("bad.csv"), "Код товара,Наименование\n");
    WriteAll(Path("notes.txt"), "x");
    struct Case {
        QStringList words;
        QString part;
    };
    const QList<Case> cases{
        {{"convert", Path("bad.1cdb"), Path("x.csv")}, "Структура файла не соответствует стандарту!"},
        {{"convert", Path("bad.csv"), Path("x.1cdb")}, "заголовки столбцов должны быть"},
        {{"convert", Path("none.dbVaro"), Path("x.csv")}, "файла нет"},
        {{"convert", Path("notes.txt"), Path("x.csv")}, "формат файла"},
        {{"convert", Path("bad.csv"), Path("x.xls")}, "записать нельзя"},
        {{"convert", Path("bad.csv")}, "не хватает аргументов"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunTool(c.words);
        EXPECT_EQ(run.status, 2) << c.words.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.part)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("x.csv")));
    EXPECT_FALSE(QFile::exists(Path("x.1cdb")));
}
