#include "clirun.h"

#include "cli/registerfiles.h"
#include "module/gsmgrid.h"
#include "files/workbook.h"
#include "files/xlsxreader.h"
#include "sim/simstate.h"
#include "whole/wholerun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Every table filled as a user would fill it, every module parameter set.
void FillSample(TKktRegister& g)
{
    for (int n = 1; n <= 6; ++n) {
        TGridData& ops = g.Grid(TableId::Operators);
        ops.SetCell(1, n, QStringLiteral("Кассир %1").arg(n));
        ops.SetCell(2, n, QStringLiteral("Иванов, И. \"%1\"").arg(n));
        ops.SetCell(3, n, QString::number(n * 11));
        ops.SetCell(4, n, n % 2 ? QStringLiteral("77280123456%1").arg(n) : QString());
    }
    TGridData& goods = g.Grid(TableId::Goods);
    for (int n = 1; n <= 40; ++n) {
        goods.SetCell(1, n, QStringLiteral("Товар №%1, \"сорт\"").arg(n));
        goods.SetCell(2, n, QString::number(4600000000000LL + n));
        goods.SetCell(3, n, n % 3 ? QString() : kMarked);
        goods.SetCell(4, n, QStringLiteral("%1,%2").arg(n * 7).arg(n % 10, 2, 10, QLatin1Char('0')));
        goods.SetCell(5, n, QString::number(n % 8 + 1));
        goods.SetCell(6, n, QStringLiteral("%1,500").arg(n));
    }
    TGridData& sections = g.Grid(TableId::Sections);
    for (int n = 1; n <= 4; ++n) {
        sections.SetCell(1, n, QStringLiteral("Секция %1").arg(n));
        sections.SetCell(2, n, SectionTypes()[n]);
        sections.SetCell(3, n, VatRates()[n]);
        sections.SetCell(4, n, TaxSystems()[n]);
    }
    for (int n = 1; n <= 21; n += 4)
        g.Grid(TableId::Cliche).SetCell(1, n, QStringLiteral("Строка клише %1").arg(n));
    TGridData& agents = g.Grid(TableId::Agents);
    for (int n = 1; n <= 3; ++n) {
        ChooseAgentSign(agents, g.locks, n, n - 1);
        for (int c = kAgentFirstField; c <= kAgentLastField; ++c) {
            if (agents.Cell(c, n) == kNotUsed)
                continue;
            if (IsAgentPhoneColumn(c))
                agents.SetCell(c, n, QStringLiteral("+7495123456%1").arg(c % 10));
            else if (IsAgentInnColumn(c))
                agents.SetCell(c, n, QStringLiteral("770123456%1").arg(n));
            else
                agents.SetCell(c, n, QStringLiteral("ООО \"Агент %1\"").arg(n));
        }
    }
    g.Grid(TableId::Enterprises).SetCell(1, 1, QStringLiteral("ООО \"Ромашка\""));
    g.Grid(TableId::Enterprises).SetCell(2, 1, QStringLiteral("7701234567"));
    g.Grid(TableId::Stations).SetCell(1, 2, QStringLiteral("Касса 2"));
    const QStringList module{"10.0.0.15", "7777", "10.0.0.1", "internet", "wifi-net", "secret", "WI-FI"};
    for (int r = 1; r <= gsm::kRows; ++r)
        g.Grid(TableId::Module).SetCell(1, r, module[r - 1]);
}

QByteArray StateOf(const KktSimulator& sim, const QString& path)
{
    QString error;
    EXPECT_TRUE(SaveSimState(sim, path, &error)) << error.toStdString();
    return ReadAll(path);
}

// Every sheet of the book but the one describing the copy, as text cells.
QHash<QString, QList<QStringList>> BookCells(const QString& fileName)
{
    QList<TSheetWanted> wanted;
    for (int i = 0; i < kTableCount; ++i)
        wanted.append({TableDef(TableId(i)).caption, 7000, 13});
    wanted.append({TableDef(TableId::Module).caption, 20, 3});
    wanted.append({kRegistrationSheet, 50, 3});
    const TWorkbookRead book = ReadXlsxSheets(fileName, wanted);
    EXPECT_EQ(book.status, SheetStatus::Read) << book.error.toStdString();
    QHash<QString, QList<QStringList>> cells;
    for (auto it = book.sheets.begin(); it != book.sheets.end(); ++it)
        for (int r = 1; r <= it.value().lastRow(); ++r) {
            QStringList row;
            for (int c = 1; c <= 13; ++c)
                row.append(it.value().cell(r, c));
            cells[it.key()].append(row);
        }
    return cells;
}

bool SameLocks(const TAgentLocks& a, const TAgentLocks& b)
{
    for (int c = 0; c < TAgentLocks::kCols; ++c)
        for (int r = 0; r < TAgentLocks::kRows; ++r)
            if (a.LockedAgentCells[c][r] != b.LockedAgentCells[c][r])
                return false;
    return true;
}

class CopyTest : public CliSimTest {
protected:
    // The command against `sim` by its device path: a later simulator publishes its name elsewhere.
    CliRun RunOn(TestSim& sim, const QStringList& words)
    {
        QStringList args = Link(words);
        args[args.indexOf(QStringLiteral("--port")) + 1] = sim.devicePath();
        return RunTool(args);
    }
    // The first register holds the sample as the tool writes it: every entry of every table.
    void WriteSample()
    {
        FillSample(m_sample);
        const TWholeResult r = WriteAll(m_link, m_sim.linkArgs(), m_sample, {});
        ASSERT_TRUE(r.ok()) << r.message.toStdString();
    }

    KktLink m_link;
    TKktRegister m_sample;
};

}  // namespace

TEST_F(CopyTest, BackupRestoredIntoAnEmptyRegisterGivesTheSameBytesAndTheSameBook)
{
    WriteSample();
    const QString first = Path("first.xlsx");
    const CliRun backup = Run({"backup", first});
    ASSERT_EQ(backup.status, 0) << backup.err.toStdString();

    // The book loads back into the very grids and locks that a read of the register gives.
    TKktRegister held;
    ASSERT_TRUE(ReadAll(m_link, m_sim.linkArgs(), held, nullptr, {}).ok());
    TKktRegister loaded;
    const TWorkbookLoad load = LoadWorkbook(first, loaded);
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    for (int i = 0; i < kTableCount; ++i)
        for (int r = 0; r < loaded.grids[size_t(i)].RowCount(); ++r)
            for (int c = 0; c < loaded.grids[size_t(i)].ColCount(); ++c)
                ASSERT_EQ(loaded.grids[size_t(i)].Cell(c, r), held.grids[size_t(i)].Cell(c, r))
                    << TableDef(i).caption.toStdString() << " " << c << "," << r;
    EXPECT_TRUE(SameLocks(loaded.locks, held.locks));
    EXPECT_TRUE(SameLocks(loaded.locks, m_sample.locks));
    for (int r = 1; r <= gsm::kRows; ++r)
        EXPECT_EQ(loaded.Grid(TableId::Module).Cell(1, r), m_sample.Grid(TableId::Module).Cell(1, r));

    TestSim second;
    const CliRun restore = RunOn(second, {"restore", first});
    ASSERT_EQ(restore.status, 0) << restore.err.toStdString();
    EXPECT_EQ(StateOf(second.sim(), Path("second.json")), StateOf(m_sim.sim(), Path("first.json")));
    for (const QByteArray& request : second.sim().requests())
        EXPECT_FALSE(request.size() > 6 && (request[6] == 'x' || request[6] == 'c')) << request.toHex().toStdString();

    const QString again = Path("again.xlsx");
    ASSERT_EQ(RunOn(second, {"backup", again}).status, 0);
    EXPECT_EQ(BookCells(again), BookCells(first));

    // One table's sheet alone, and a dry run that finds nothing to change.
    const QString ops = Path("ops.xlsx");
    ASSERT_EQ(RunOn(m_sim, {"read", "operators", "--output", ops}).status, 0);
    TestSim third;
    ASSERT_EQ(RunOn(third, {"write", "operators", "--input", ops}).status, 0);
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(third.sim().param(0, uint8_t(n), 1), m_sample.Grid(TableId::Operators).Cell(2, n));
    const CliRun dry = RunOn(second, {"restore", first, "--dry-run", "--tables", "operators,module"});
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, "operators: без изменений\nmodule: без изменений\n");
}

TEST_F(CopyTest, AModuleNeverProgrammedRestoresAsItWasRead)
{
    // An empty register's device type reads as "неизвестное устройство"; its copy must load and
    // write back the empty code it was read from.
    TKktRegister empty;
    TRegisterParts module;
    module.Add(TableId::Module);
    ASSERT_TRUE(ReadAll(m_link, m_sim.linkArgs(), empty, nullptr, {}, module).ok());
    ASSERT_EQ(empty.Grid(TableId::Module).Cell(1, gsm::DeviceRow), QStringLiteral("неизвестное устройство"));
    const QString book = Path("empty.xlsx");
    ASSERT_EQ(SaveWorkbook(book, empty, module, nullptr, DescribeCopy(m_sim.linkArgs(), nullptr)), QString());

    TestSim second;
    second.sim().setParam(5, 7, 0, QStringLiteral("1"));
    const CliRun restore = RunOn(second, {"restore", book});
    ASSERT_EQ(restore.status, 0) << restore.err.toStdString();
    EXPECT_EQ(second.sim().param(5, 7, 0), QString());
}

TEST_F(CopyTest, DryRunNamesTheEntriesAndTablesLimitTheRestore)
{
    WriteSample();
    const QString book = Path("book.xlsx");
    ASSERT_EQ(Run({"backup", book}).status, 0);
    TestSim second;
    const int before = second.sim().requestCount();
    const CliRun dry = RunOn(second, {"restore", book, "--dry-run", "--tables", "operators,stations,module"});
    ASSERT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, "operators: изменятся 6: 1, 2, 3, 4, 5, 6\n"
                       "stations: изменятся 1: 2.    Станция #2\n"
                       "module: изменятся 7: IP сервера, Порт сервера, DNS сервера, APN GSM, APN WI-FI, "
                       "Пароль WI-FI, Тип устройства\n");
    // Reads only: every table command of the run in mode "read".
    int tableCommands = 0;
    for (const QByteArray& request : second.sim().requests().mid(before)) {
        if (request.size() > 8 && QByteArray("pTa").contains(request[6])) {
            EXPECT_EQ(request[8], char(KKT_READ)) << request.toHex().toStdString();
            ++tableCommands;
        }
    }
    EXPECT_GT(tableCommands, 0);

    const CliRun some = RunOn(second, {"restore", book, "--tables", "operators"});
    ASSERT_EQ(some.status, 0) << some.err.toStdString();
    EXPECT_EQ(second.sim().param(0, 3, 1), m_sample.Grid(TableId::Operators).Cell(2, 3));
    EXPECT_EQ(second.sim().goodsCount(), 0);
    EXPECT_EQ(second.sim().param(5, 1, 0), "");

    const CliRun unknown = RunOn(second, {"restore", book, "--tables", "operators,kassa"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains("kassa")) << unknown.err.toStdString();
}

TEST_F(CopyTest, BadBooksChangeNothing)
{
    WriteSample();
    const QByteArray state = StateOf(m_sim.sim(), Path("before.json"));
    const auto refused = [&](const QString& file, const QString& expected) {
        SCOPED_TRACE(expected.toStdString());
        const CliRun r = Run({"restore", file});
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(expected)) << r.err.toStdString();
        EXPECT_EQ(StateOf(m_sim.sim(), Path("after.json")), state);
    };
    refused(File("text.xlsx", "Опер. №,Должность\n1,Кассир\n"), "не является zip-архивом");

    const QString good = Path("good.xlsx");
    ASSERT_EQ(Run({"backup", good}).status, 0);
    QByteArray bytes = ReadAll(good);
    WriteAll(Path("cut.xlsx"), bytes.left(bytes.size() / 2));
    refused(Path("cut.xlsx"), "Не удалось прочитать книгу");

    TKktRegister grids;
    const QString none = Path("none.xlsx");
    ASSERT_EQ(SaveWorkbook(none, grids, {}, nullptr, {}), "");
    refused(none, "нет ни одного листа таблиц ККТ (листы: Копия)");

    // A cell the grid would not take, in the last sheet: nothing of the sheets before it is written.
    FillSample(grids);
    grids.Grid(TableId::Module).SetCell(1, gsm::PortRow, "77x7");
    grids.Grid(TableId::Operators).SetCell(3, 2, "12a");
    const QString bad = Path("bad.xlsx");
    ASSERT_EQ(SaveWorkbook(bad, grids, TRegisterParts::All(), nullptr, {}), "");
    refused(bad, "лист \"Операторы\", строка 3: столбец \"Пароль\"");
    grids.Grid(TableId::Operators).SetCell(3, 2, "12");
    // Saved over, a book keeps the permissions it had: 0660, which no new file gets by itself.
    const QFileDevice::Permissions kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    const QFileDevice::Permissions modeBits = kept | QFile::ExeOwner | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(bad, kept));
    ASSERT_EQ(SaveWorkbook(bad, grids, TRegisterParts::All(), nullptr, {}), "");
    EXPECT_EQ(QFile::permissions(bad) & modeBits, kept);
    refused(bad, "лист \"Параметры GSM\", строка 3");
}

TEST_F(CopyTest, ARegisterThatStopsAnsweringLeavesNoBook)
{
    WriteSample();
    ASSERT_TRUE(m_sim.sim().applyFault("error T 3000 2"));
    const QString book = Path("copy.xlsx");
    const CliRun backup = Run({"backup", book});
    EXPECT_EQ(backup.status, 1);
    EXPECT_TRUE(backup.err.contains("Товар номер 3000")) << backup.err.toStdString();
    EXPECT_TRUE(backup.err.contains("Таблица \"Предмет расчета\"")) << backup.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(book));
    EXPECT_EQ(QDir(m_dir.path()).entryList({"copy*"}, QDir::Files), QStringList());

    ASSERT_TRUE(m_sim.sim().applyFault("clear"));
    ASSERT_TRUE(m_sim.sim().applyFault("silence always"));
    const CliRun silent = Run({"backup", book});
    EXPECT_EQ(silent.status, 1);
    EXPECT_FALSE(QFileInfo::exists(book));
}

TEST_F(CopyTest, StoppingDuringTheModulePartStopsThereAsInATable)
{
    WriteSample();
    TKktRegister held;
    QString part;
    int moduleRows = 0;
    TWholeHooks hooks;
    hooks.progress = [&part](const TWholeProgress& p) { part = p.part; };
    hooks.partHooks = [&moduleRows](TableId id) {
        TRunHooks h;
        if (id == TableId::Module)
            h.entryDone = [&moduleRows](int) { ++moduleRows; };
        return h;
    };
    hooks.aborted = [&] { return part == TableDef(TableId::Module).caption && moduleRows == 2; };
    const TWholeResult r = ReadAll(m_link, m_sim.linkArgs(), held, nullptr, hooks);
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(r.part, TableDef(TableId::Module).caption);
    EXPECT_EQ(r.message, QStringLiteral("Внимание!\r\nЧтение прервано.\r\nТаблица \"Параметры GSM\"."));
    // The rows before the stop were read; none after it.
    EXPECT_EQ(held.Grid(TableId::Module).Cell(1, 2), m_sample.Grid(TableId::Module).Cell(1, 2));
    EXPECT_EQ(held.Grid(TableId::Module).Cell(1, 3), QString());

    // Writing stops there as well, and the rest of the register's module is left as it was.
    part.clear();
    moduleRows = 0;
    TKktRegister changed;
    for (int row = 1; row < gsm::DeviceRow; ++row)
        changed.Grid(TableId::Module).SetCell(1, row, QStringLiteral("x%1").arg(row));
    changed.Grid(TableId::Module).SetCell(1, gsm::DeviceRow, QStringLiteral("GSM"));
    TRegisterParts module;
    module.Add(TableId::Module);
    const TWholeResult w = WriteAll(m_link, m_sim.linkArgs(), changed, hooks, module);
    EXPECT_TRUE(w.aborted);
    EXPECT_EQ(m_sim.sim().param(5, 2, 0), QStringLiteral("x2"));
    EXPECT_EQ(m_sim.sim().param(5, 3, 0), m_sample.Grid(TableId::Module).Cell(1, 3));
}

TEST_F(CopyTest, TheWholeRunsProgressGoesPartByPartInTabOrderToAHundred)
{
    WriteSample();
    std::vector<TWholeProgress> seen;
    TWholeHooks hooks;
    hooks.progress = [&seen](const TWholeProgress& p) { seen.push_back(p); };
    TKktRegister held;
    RegistrationData registration;
    ASSERT_TRUE(ReadAll(m_link, m_sim.linkArgs(), held, &registration, hooks).ok());
    ASSERT_FALSE(seen.empty());
    QStringList parts;
    for (size_t i = 0; i < seen.size(); ++i) {
        if (parts.isEmpty() || parts.last() != seen[i].part)
            parts << seen[i].part;
        if (i > 0)
            EXPECT_GE(seen[i].percent, seen[i - 1].percent) << i;
    }
    QStringList expected{kRegistrationPartCaption};
    for (int t = 0; t < kPartCount; ++t)
        expected << TableDef(TableId(t)).caption;
    EXPECT_EQ(parts, expected);
    // No time is guessed before anything is done; from then on there is an estimate.
    EXPECT_EQ(seen.front().secondsLeft, -1);
    EXPECT_GE(seen.back().secondsLeft, 0);
    EXPECT_EQ(seen.back().percent, 100);
    // The goods dominate the line time, and so the share: most of the run is spent there.
    const auto goods = std::find_if(seen.begin(), seen.end(),
                                    [](const TWholeProgress& p) { return p.part == TableDef(TableId::Goods).caption; });
    ASSERT_NE(goods, seen.end());
    EXPECT_LT(goods->percent, 10);
}
