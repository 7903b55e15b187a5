// Files under Windows: names with Cyrillic letters through every reader and writer, the isolated
// ".xls" read in a helper program, the settings folder, version resources, the console.
#include "formularows.h"
#include "testprint.h"
#include "winenv.h"

#include "app/settings.h"
#include "app/win/configfolder.h"
#include "app/win/fileversion.h"
#include "cli/cli.h"
#include "cli/registerfiles.h"
#include "module/gsmgrid.h"
#include "files/isolatedcall.h"
#include "files/workbook.h"
#include "files/xlstool.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun RunTool(const QStringList& args)
{
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = RunCli(args, out, err);
    out.flush();
    err.flush();
    return run;
}

QStringList Link(const QString& settings, const QString& port, const QStringList& words)
{
    return QStringList{QStringLiteral("--settings"), settings, QStringLiteral("--port"), port,
                       QStringLiteral("--speed"),    QStringLiteral("115200"), QStringLiteral("--number"),
                       QStringLiteral("1")} +
        words;
}

// A user folder as the engineer has it: C:\Users\Иван\Документы.
QString CyrillicFolder(const QTemporaryDir& dir)
{
    const QString folder = dir.filePath(QStringLiteral("Иван/Документы"));
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

TEST(WinFiles, BackupAndRestoreThroughAWorkbookWithACyrillicName)
{
    const QString source = ComPort("COPY_SOURCE"), target = ComPort("COPY_TARGET");
    REQUIRE_ENV(source);
    REQUIRE_ENV(target);
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("ProgSett.ini"));
    QFile(settings).open(QIODevice::WriteOnly);
    const QString book = CyrillicFolder(dir) + QStringLiteral("/цены.xlsx");

    const CliRun backup = RunTool(Link(settings, source, {QStringLiteral("backup"), book}));
    ASSERT_EQ(backup.status, 0) << backup.err.toStdString();
    ASSERT_TRUE(QFile::exists(book));
    // Saving again replaces the book in place.
    ASSERT_EQ(RunTool(Link(settings, source, {QStringLiteral("backup"), book})).status, 0);
    EXPECT_EQ(QDir(CyrillicFolder(dir)).entryList(QDir::Files), QStringList{QStringLiteral("цены.xlsx")});

    const CliRun restore = RunTool(Link(settings, target, {QStringLiteral("restore"), book}));
    ASSERT_EQ(restore.status, 0) << restore.err.toStdString();

    // The copy's own backup holds what the original's book holds: every cell the original had
    // programmed. (An entry it never had programmed reads back in the form it is written in.)
    const QString copy = CyrillicFolder(dir) + QStringLiteral("/копия.xlsx");
    ASSERT_EQ(RunTool(Link(settings, target, {QStringLiteral("backup"), copy})).status, 0);
    TKktRegister original, copied;
    const TWorkbookLoad load = LoadWorkbook(book, original);
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    ASSERT_TRUE(LoadWorkbook(copy, copied).ok());
    for (TableId id : {TableId::Operators, TableId::Goods, TableId::Cliche}) {
        const TGridData& a = original.Grid(id);
        const TGridData& b = copied.Grid(id);
        for (int r = 1; r < a.RowCount(); ++r)
            for (int c = 1; c < a.ColCount(); ++c)
                ASSERT_EQ(b.Cell(c, r), a.Cell(c, r)) << TableDef(id).caption.toStdString() << " " << c << "," << r;
    }
    EXPECT_FALSE(original.Grid(TableId::Operators).Cell(2, 1).isEmpty());
}

TEST(WinFiles, SpreadsheetProgramWorkbooksImportUnderCyrillicNames)
{
    const QString sources = WinEnv("KKT_SOURCE_DIR");
    REQUIRE_ENV(sources);
    QTemporaryDir dir;
    const QString folder = CyrillicFolder(dir);
    const std::vector<TGoodsRow> expected = FormulaFixtureRows();
    for (const char* name : {"formulas.xlsx", "formulas-biff8.xls", "formulas-biff5.xls"}) {
        SCOPED_TRACE(name);
        const QString copy = folder + QStringLiteral("/прайс ") + QLatin1String(name);
        ASSERT_TRUE(QFile::copy(sources + QStringLiteral("/tests/files/fixtures/") + QLatin1String(name), copy));
        const TXlsImport result = XlsToGoods(copy);
        ASSERT_EQ(result.error, QString());
        ASSERT_TRUE(result.goods.has_value());
        ASSERT_EQ(result.goods->size(), size_t(kGoodsCount));
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ((*result.goods)[i], expected[i]) << "row " << i + 2;
        EXPECT_EQ((*result.goods)[expected.size()], ResetGoodsRow());
    }

    // Not a workbook at all: said with the file's name, and nothing is imported.
    const QString fake = folder + QStringLiteral("/не книга.xls");
    QFile f(fake);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is no workbook");
    f.close();
    const TXlsImport bad = XlsToGoods(fake);
    EXPECT_TRUE(bad.error.contains(QStringLiteral("не книга.xls"))) << bad.error.toStdString();
    EXPECT_FALSE(bad.goods.has_value());

    // A damaged compound document: the structured-storage read refuses it, in the reader's words,
    // as libgsf's refusal reads elsewhere.
    const QString broken = folder + QStringLiteral("/повреждённая.xls");
    QFile b(broken);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'));
    b.close();
    EXPECT_EQ(XlsToGoods(broken).error,
              QStringLiteral("Не удалось прочитать книгу \"%1\": файл не является составным документом.").arg(broken));
}

TEST(WinFiles, AReaderThatCrashesOrHangsCostsOnlyItsRun)
{
    const auto job = [](const char* what, const char* text = nullptr) {
        QStringList helper{QStringLiteral("test_isolated_helper"), QLatin1String(what)};
        if (text)
            helper << QLatin1String(text);
        return TIsolatedJob([] { return QByteArray(); }, helper);
    };
    const TIsolatedResult answer = RunIsolated(job("answer", "whole-answer"), 10000);
    EXPECT_TRUE(answer.ok) << answer.error.toStdString();
    EXPECT_EQ(answer.output, QByteArray("whole-answer"));

    const TIsolatedResult crash = RunIsolated(job("crash"), 10000);
    EXPECT_FALSE(crash.ok);
    EXPECT_TRUE(crash.error.startsWith(QStringLiteral("чтение завершилось аварийно"))) << crash.error.toStdString();

    QElapsedTimer timer;
    timer.start();
    const TIsolatedResult hang = RunIsolated(job("hang"), 1500);
    EXPECT_FALSE(hang.ok);
    EXPECT_EQ(hang.error, QStringLiteral("чтение не закончилось за 1.5 с"));
    EXPECT_LT(timer.elapsed(), 6000);
}

TEST(WinFiles, SettingsLiveBesideTheProgramWhenItsFolderIsWritable)
{
    // This test program's folder is writable: a portable copy.
    EXPECT_EQ(ConfigFolder(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(ProgSettPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/ProgSett.ini"));

    QTemporaryDir dir;
    const QString roaming = dir.filePath(QStringLiteral("Roaming"));
    EXPECT_EQ(ChooseConfigFolder(dir.path(), roaming), dir.path());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());  // no probe left behind

    // A folder where no file can be made (here: under a file) sends the settings to the user's folder.
    const QString file = dir.filePath(QStringLiteral("file"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_EQ(ChooseConfigFolder(file + QStringLiteral("/Program Files/kkt-config"), roaming),
              roaming + QStringLiteral("/kkt-config"));
    EXPECT_TRUE(QDir(roaming + QStringLiteral("/kkt-config")).exists());
    EXPECT_EQ(ChooseConfigFolder(QString(), roaming), roaming + QStringLiteral("/kkt-config"));
}

TEST(WinFiles, ProgramsCarryTheirVersionResource)
{
    const QDir programs(QCoreApplication::applicationDirPath());
    EXPECT_EQ(GetFileVersion(programs.filePath(QStringLiteral("kkt-cli.exe"))), QStringLiteral(KKT_VERSION));
    EXPECT_EQ(GetFileVersion(programs.filePath(QStringLiteral("kkt-xlsread.exe"))), QStringLiteral(KKT_VERSION));
    EXPECT_EQ(GetFileVersion(programs.filePath(QStringLiteral("test_isolated_helper.exe"))), QString());
    EXPECT_EQ(GetFileVersion(programs.filePath(QStringLiteral("no-such.exe"))), QString());
    EXPECT_EQ(GetFileVersion(QString()), QString());
}

TEST(WinFiles, TheCommandLineWritesUtf8WhenItsOutputIsRedirected)
{
    const QString missing = ComPort("MISSING");
    REQUIRE_ENV(missing);
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("ProgSett.ini"));
    QFile(settings).open(QIODevice::WriteOnly);
    QProcess cli;
    cli.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kkt-cli.exe")),
              Link(settings, missing, {QStringLiteral("status")}));
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 1);
    const QByteArray err = cli.readAllStandardError();
    EXPECT_TRUE(err.startsWith(QStringLiteral("ВНИМАНИЕ!\nНе удалось подключиться к ККТ!\n").toUtf8())) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("такого порта нет").toUtf8())) << err.toStdString();
    EXPECT_EQ(cli.readAllStandardOutput(), QByteArray());
}

TEST(WinFiles, SeveralRegistersAnswerAtOnceThroughTheirOwnPortsAndASilentOneIsNamed)
{
    const QString fresh = ComPort("FRESH"), tables = ComPort("TABLES"), silent = ComPort("SILENT");
    REQUIRE_ENV(fresh);
    REQUIRE_ENV(tables);
    REQUIRE_ENV(silent);
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("ProgSett.ini"));
    QFile(settings).open(QIODevice::WriteOnly);

    const QString ports = QStringList{fresh, tables, silent}.join(u',');
    const CliRun run = RunTool(Link(settings, ports, {QStringLiteral("--timeout"), QStringLiteral("500"), QStringLiteral("status")}));
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(fresh) && lines[1].contains(QStringLiteral("успешно: связь есть"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(tables) && lines[2].contains(QStringLiteral("успешно"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith(silent) && lines[3].contains(QStringLiteral("ошибка: нет ответа"))) << lines[3].toStdString();
}
