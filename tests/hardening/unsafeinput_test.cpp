// Files met in the wild: names with spaces and Cyrillic, folders nobody may write, a disk that fills
// up during a save, and inputs far larger than any real one. Each gets a clear message or a whole
// result, nothing is half changed, and memory stays bounded.
#include "resources.h"
#include "sheetfixtures.h"

#include "app/myinifile.h"
#include "files/configfile.h"
#include "files/csvtable.h"
#include "files/exchange1c.h"
#include "files/goodsdb.h"
#include "files/xlstool.h"
#include "text/codepage.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

TGoodsTable SampleGoods()
{
    TGoodsTable goods = ResetGoodsTable();
    for (int r = 0; r < kGoodsCount; ++r)
        goods[r] = {QStringLiteral("Товар «%1» длинное наименование").arg(r + 1), QString::number(4600000000000LL + r),
                    r % 2 ? QStringLiteral("м") : QString(), QStringLiteral("%1.50").arg(r), QString::number(r % 10)};
    return goods;
}

TConfig SampleConfig()
{
    TConfig config;
    config.Gsm.arrParam[0] = QStringLiteral("ofd.example.ru");
    config.Gsm.arrParam[3] = QStringLiteral("internet.ru");
    return config;
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

class UnsafeInput : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

}  // namespace

TEST_F(UnsafeInput, NamesWithSpacesAndCyrillicRoundTrip)
{
    const QString folder = path(QStringLiteral("Папка с пробелами/ещё одна папка"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString conf = folder + QStringLiteral("/Настройки кассы №1 (копия).conf");
    const QString db = folder + QStringLiteral("/Товары магазина «Ромашка».dbVaro");
    const QString cdb = folder + QStringLiteral("/Выгрузка в 1С от 01.02.2024.1cdb");
    const QString book = folder + QStringLiteral("/Прайс лист.xlsx");

    QString error;
    const TConfig config = SampleConfig();
    ASSERT_TRUE(SaveConfigFile(conf, config, &error)) << error.toStdString();
    TConfig back;
    ASSERT_TRUE(LoadConfigFile(conf, back, &error)) << error.toStdString();
    EXPECT_EQ(back.Gsm, config.Gsm);

    const TGoodsTable goods = SampleGoods();
    ASSERT_TRUE(SaveGoodsDbFile(db, goods, &error)) << error.toStdString();
    TGoodsTable loaded;
    ASSERT_TRUE(LoadGoodsDbFile(db, loaded, &error)) << error.toStdString();
    EXPECT_EQ(loaded, goods);

    const T1cdbSave saved = Save1cdbFile(cdb, goods);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    const T1cdbLoad imported = Load1cdbFile(cdb);
    ASSERT_TRUE(imported.error.isEmpty() && imported.import && imported.import->accepted);
    EXPECT_EQ(imported.import->goods[5999][GoodsName], goods[5999][GoodsName]);

    ASSERT_TRUE(WriteXlsx(book, PricesBook()));
    const TXlsImport xls = XlsToGoods(book);
    EXPECT_EQ(xls.status, 0);
    EXPECT_TRUE(xls.error.isEmpty() && xls.goods) << xls.error.toStdString();

    // Nothing but the four files: no temporary file left beside them.
    EXPECT_EQ(FilesIn(folder).size(), 4) << FilesIn(folder).join(", ").toStdString();
}

TEST_F(UnsafeInput, AReadOnlyFolderRefusesEverySaveAndKeepsItsFiles)
{
    const QString folder = path(QStringLiteral("только чтение"));
    SmallDisk disk(folder, "size=4m");
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root): the read-only folder is not tried";
    const QString conf = folder + QStringLiteral("/касса.conf");
    const QString db = folder + QStringLiteral("/товары.dbVaro");
    QString error;
    ASSERT_TRUE(SaveConfigFile(conf, SampleConfig(), &error)) << error.toStdString();
    const QByteArray before = ReadBytes(conf);
    ASSERT_TRUE(disk.makeReadOnly());

    TConfig changed = SampleConfig();
    changed.Gsm.arrParam[0] = QStringLiteral("другой.сервер");
    EXPECT_FALSE(SaveConfigFile(conf, changed, &error));
    EXPECT_TRUE(error.contains(conf)) << error.toStdString();
    EXPECT_EQ(ReadBytes(conf), before);

    error.clear();
    EXPECT_FALSE(SaveGoodsDbFile(db, SampleGoods(), &error));
    EXPECT_TRUE(error.contains(db)) << error.toStdString();
    const T1cdbSave cdb = Save1cdbFile(folder + QStringLiteral("/выгрузка.1cdb"), SampleGoods());
    EXPECT_FALSE(cdb.ok);
    EXPECT_FALSE(cdb.error.isEmpty());
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("касса.conf")});

    // Reading from it still works.
    TConfig back;
    EXPECT_TRUE(LoadConfigFile(conf, back, &error)) << error.toStdString();
    EXPECT_EQ(back.Gsm, SampleConfig().Gsm);
}

TEST_F(UnsafeInput, AFullDiskDuringASaveKeepsTheOldFile)
{
    const QString folder = path(QStringLiteral("маленький диск"));
    SmallDisk disk(folder, "size=64k");
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root): the full disk is not tried";
    const QString db = folder + QStringLiteral("/товары.dbVaro");
    const QString cdb = folder + QStringLiteral("/выгрузка.1cdb");
    // An old goods file that fits: the save of the whole base (some hundred kB) does not.
    ASSERT_TRUE(WriteBytes(db, codepage::toCp1251(QStringLiteral("[ТОВАР_#1]\r\nНаименование=Хлеб\r\n"))));
    const QByteArray before = ReadBytes(db);

    QString error;
    EXPECT_FALSE(SaveGoodsDbFile(db, SampleGoods(), &error));
    EXPECT_TRUE(error.contains(db)) << error.toStdString();
    EXPECT_EQ(ReadBytes(db), before);
    TGoodsTable loaded;
    ASSERT_TRUE(LoadGoodsDbFile(db, loaded, &error));
    EXPECT_EQ(loaded[0][GoodsName], QStringLiteral("Хлеб"));

    const T1cdbSave saved = Save1cdbFile(cdb, SampleGoods());
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(saved.error.contains(cdb)) << saved.error.toStdString();
    // The disk holds the old file only: every half-written temporary file was removed.
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("товары.dbVaro")});
}

TEST_F(UnsafeInput, AFolderInPlaceOfAFileChangesNothing)
{
    const QString conf = path(QStringLiteral("папка.conf"));
    const QString db = path(QStringLiteral("папка.dbVaro"));
    ASSERT_TRUE(QDir().mkpath(conf) && QDir().mkpath(db));
    TConfig config = SampleConfig();
    QString error;
    EXPECT_FALSE(LoadConfigFile(conf, config, &error));
    EXPECT_TRUE(error.contains(conf)) << error.toStdString();
    EXPECT_EQ(config.Gsm, SampleConfig().Gsm);
    TGoodsTable goods = SampleGoods();
    error.clear();
    EXPECT_FALSE(LoadGoodsDbFile(db, goods, &error));
    EXPECT_TRUE(error.contains(db)) << error.toStdString();
    EXPECT_EQ(goods, SampleGoods());
    EXPECT_FALSE(SaveConfigFile(conf, config, &error));
    EXPECT_TRUE(QFileInfo(conf).isDir());
    const T1cdbLoad cdb = Load1cdbFile(path(QStringLiteral("нет такого.1cdb")));
    EXPECT_FALSE(cdb.error.isEmpty());
    EXPECT_FALSE(cdb.import);
}

TEST_F(UnsafeInput, AFiftyMegabyteConfigurationFile)
{
    // A configuration file with its real keys first and 50 MB of foreign sections behind them.
    const QString conf = path(QStringLiteral("огромный.conf"));
    ASSERT_TRUE(SaveConfigFile(conf, SampleConfig()));
    QByteArray bytes = ReadBytes(conf);
    const QByteArray filler = codepage::toCp1251(QStringLiteral("Ключ чужой программы=значение значение значение\r\n"));
    QByteArray block;
    for (int i = 0; i < 1000; ++i)
        block += filler;
    for (int s = 0; bytes.size() < 50 * 1024 * 1024; ++s)
        bytes += "[Foreign" + QByteArray::number(s) + "]\r\n" + block;
    ASSERT_TRUE(WriteBytes(conf, bytes));
    bytes.clear();
    bytes.squeeze();

    PeakMemory memory;
    QElapsedTimer timer;
    timer.start();
    TConfig config;
    QString error;
    const bool loaded = LoadConfigFile(conf, config, &error);
    const qint64 ms = timer.elapsed();
    const long peakMb = memory.stopMb();
    std::printf("[ figures  ] 50 MB .conf: load %lld ms, peak memory +%ld MB\n", static_cast<long long>(ms), peakMb);
    RecordProperty("load_ms", int(ms));
    RecordProperty("peak_mb", int(peakMb));
    ASSERT_TRUE(loaded) << error.toStdString();
    EXPECT_EQ(config.Gsm, SampleConfig().Gsm);
    // The document holds the file as text with its lines and hash tables: a few times its size,
    // never more than a tenth of a gigabyte per ten megabytes.
    EXPECT_LT(peakMb, MemoryBoundMb(500));
}

TEST_F(UnsafeInput, OneMegabyteLines)
{
    const QString big = QString(1024 * 1024, QChar(u'Ж'));

    // A configuration value: kept whole through save and load.
    const QString conf = path(QStringLiteral("длинная строка.conf"));
    TConfig config = SampleConfig();
    config.Gsm.arrParam[1] = big;
    QString error;
    ASSERT_TRUE(SaveConfigFile(conf, config, &error)) << error.toStdString();
    TConfig back;
    ASSERT_TRUE(LoadConfigFile(conf, back, &error)) << error.toStdString();
    EXPECT_EQ(back.Gsm.arrParam[1].size(), big.size());
    EXPECT_EQ(back.Gsm, config.Gsm);

    // An ini line without any line break at all.
    const QString ini = path(QStringLiteral("одна строка.ini"));
    ASSERT_TRUE(WriteBytes(ini, "[S]\r\nk=" + QByteArray(1024 * 1024, 'x')));
    TmyIniFile doc(ini);
    EXPECT_TRUE(doc.loaded());
    EXPECT_EQ(doc.ReadString(QStringLiteral("S"), QStringLiteral("k"), QString()).size(), 1024 * 1024);

    // A 1C goods line with a 1 MB name: a decision on the whole file, never half a table.
    QByteArray cdb = Export1cdb(ResetGoodsTable());
    const qsizetype name = cdb.indexOf('\t') + 1;
    cdb.insert(name, QByteArray(1024 * 1024, 'N'));
    const T1cdbImport imported = Import1cdb(cdb);
    if (imported.accepted)
        EXPECT_EQ(imported.goods.size(), size_t(kGoodsCount));
    else
        EXPECT_TRUE(imported.goods.empty());

    // A CSV field of 1 MB, quoted with line breaks inside.
    const QByteArray field = "\"" + QByteArray(512 * 1024, 'a') + "\r\n" + QByteArray(512 * 1024, 'b') + "\"";
    const TCsvRead csv = ParseCsv("a,b\n1," + field + "\n");
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.records.size(), 2);
    EXPECT_EQ(csv.records[1].fields.value(1).size(), 1024 * 1024 + 2);
}

TEST_F(UnsafeInput, AHundredThousandRowWorkbook)
{
    std::vector<TestSheet> book(1);
    book[0].name = QStringLiteral("Товары");
    book[0].cells.push_back({1, 4, QStringLiteral("Наименование")});
    for (int r = 2; r <= 100001; ++r) {
        book[0].cells.push_back({r, 3, double(4600000000000LL + r)});
        book[0].cells.push_back({r, 4, QStringLiteral("Товар %1").arg(r)});
        book[0].cells.push_back({r, 5, double(r % 9 + 1)});
        book[0].cells.push_back({r, 6, r * 1.25});
    }
    const QString file = path(QStringLiteral("сто тысяч строк.xlsx"));
    ASSERT_TRUE(WriteXlsx(file, book));
    book.clear();
    book.shrink_to_fit();

    PeakMemory memory;
    QElapsedTimer timer;
    timer.start();
    const TXlsImport imported = XlsToGoods(file);
    const qint64 ms = timer.elapsed();
    const long peakMb = memory.stopMb();
    std::printf("[ figures  ] 100000-row .xlsx: import %lld ms, peak memory +%ld MB\n", static_cast<long long>(ms),
                peakMb);
    RecordProperty("import_ms", int(ms));
    RecordProperty("peak_mb", int(peakMb));
    ASSERT_EQ(imported.status, 0);
    ASSERT_TRUE(imported.goods) << imported.error.toStdString();
    // Spreadsheet rows 2..6001 fill the 6000 goods rows; the rest has no row to go to.
    EXPECT_EQ((*imported.goods)[0][GoodsName], QStringLiteral("Товар 2"));
    EXPECT_EQ((*imported.goods)[5999][GoodsName], QStringLiteral("Товар 6001"));
    EXPECT_EQ((*imported.goods)[5999][GoodsShtrih], QStringLiteral("4600000006001"));
    EXPECT_LT(peakMb, MemoryBoundMb(300));
}

TEST_F(UnsafeInput, WorkbooksThatCrashTheSpreadsheetLibraryGiveAMessage)
{
    // Damaged .xls files on which the former spreadsheet library crashed or read past its buffers:
    // each is a failed import naming the file, the goods stay as they were, and the program goes on.
    QDirIterator it(QStringLiteral(KKT_FUZZ_REGRESSIONS "/freexl"), QDir::Files);
    int count = 0;
    while (it.hasNext()) {
        const QString file = path(QStringLiteral("повреждённая книга %1.xls").arg(++count));
        ASSERT_TRUE(QFile::copy(it.next(), file));
        SCOPED_TRACE(it.fileName().toStdString());
        const TXlsImport imported = XlsToGoods(file);
        EXPECT_EQ(imported.status, 0);
        EXPECT_FALSE(imported.goods.has_value());
        EXPECT_TRUE(imported.error.startsWith(QStringLiteral("Не удалось прочитать книгу \"%1\"").arg(file)))
            << imported.error.toStdString();
    }
    EXPECT_GE(count, 4);
}
