// Writing and reading the tables through the link: over a pseudo-terminal against the simulator, and
// through an in-memory line where an answer has to be bent.
#include "memoryport.h"
#include "qstringprint.h"
#include "samplegrid.h"
#include "simserver.h"
#include "tables/encoding.h"
#include "tables/maintenance.h"
#include "tables/tablerun.h"

#include <gtest/gtest.h>

namespace {

struct RunFixture : ::testing::Test {
    TestSim sim;
    KktLink link;
    KktLinkArgs args = sim.linkArgs();
    TRunHooks hooks;
    std::vector<int> progress;
    int pauses = 0;

    void SetUp() override
    {
        ASSERT_TRUE(sim.started()) << sim.error().toStdString();
        hooks.progress = [this](int done, int total) { progress.push_back(ProgressPercent(done, total)); };
        hooks.pause = [this](int ms) {
            EXPECT_EQ(ms, 100);
            ++pauses;
        };
    }
};

}  // namespace

TEST_F(RunFixture, EveryTableRoundTripsOverAPartialRange)
{
    for (int t = 0; t < kTableCount; ++t) {
        const TableId id = TableId(t);
        if (id == TableId::Goods)
            continue;
        const int size = TableDef(id).size;
        const int first = 2, last = std::min(size, 5);
        TGridData written = InitGrid(id);
        for (int r = 1; r <= size; ++r)
            FillSampleRow(id, written, r);
        progress.clear();
        const TRunResult w = WriteTable(id, written, first, last, link, args, hooks);
        ASSERT_TRUE(w.ok()) << t << w.message.toStdString();
        EXPECT_EQ(w.entriesDone, last - first + 1);
        EXPECT_EQ(int(progress.size()), (last - first + 1) * ExchangesPerEntry(id));
        EXPECT_EQ(progress.back(), 100);

        TGridData read = InitGrid(id);
        TAgentLocks locks;
        const TRunResult r = ReadTable(id, read, locks, first, last, link, args, hooks);
        ASSERT_TRUE(r.ok()) << t << r.message.toStdString();
        for (int row = 1; row <= size; ++row)
            for (int c = 1; c < read.ColCount(); ++c) {
                const bool inRange = row >= first && row <= last;
                EXPECT_EQ(read.Cell(c, row), inRange ? written.Cell(c, row) : InitGrid(id).Cell(c, row))
                    << "table " << t << " col " << c << " row " << row;
            }
        if (id == TableId::Agents) {
            for (int row = first; row <= last; ++row)
                for (int c : AgentUnusedColumns(row % 7))
                    EXPECT_TRUE(locks.IsLocked(c, row)) << c << "," << row;
        }
    }
    EXPECT_EQ(pauses, 2 * 4);
    // The register's own copy, addressed as the tables are: cliché lines 4 and 5 are row 1 fields 3 and 4.
    EXPECT_EQ(sim.sim().param(4, 1, 3), "Строка 4");
    EXPECT_EQ(sim.sim().param(4, 1, 4), "Строка 5");
    EXPECT_EQ(sim.sim().param(7, 5, 0), "Строка 5");
    EXPECT_EQ(sim.sim().param(0, 3, 2), "1003");
}

TEST_F(RunFixture, WholeGoodsBaseRoundTrips)
{
    TGridData goods = InitGrid(TableId::Goods);
    for (int r = 1; r <= 6000; ++r)
        FillSampleRow(TableId::Goods, goods, r);
    ASSERT_TRUE(WriteTable(TableId::Goods, goods, 1, 6000, link, args, hooks).ok());
    EXPECT_EQ(sim.sim().goodsCount(), 6000);
    EXPECT_EQ(sim.sim().goods(6000).price, QString::number(6000 * 101));
    TGridData read = InitGrid(TableId::Goods);
    TAgentLocks locks;
    ASSERT_TRUE(ReadTable(TableId::Goods, read, locks, 1, 6000, link, args, hooks).ok());
    for (int r = 1; r <= 6000; ++r)
        for (int c = 0; c < 7; ++c)
            ASSERT_EQ(read.Cell(c, r), goods.Cell(c, r)) << c << "," << r;
}

TEST_F(RunFixture, FreshSectionsAndEmptyGoodsGoAsNotProgrammedAndZero)
{
    const TGridData sections = InitGrid(TableId::Sections);
    ASSERT_TRUE(WriteTable(TableId::Sections, sections, 1, 8, link, args, hooks).ok());
    EXPECT_EQ(sim.sim().param(2, 8, 1), "0009");
    const TGridData goods = InitGrid(TableId::Goods);
    ASSERT_TRUE(WriteTable(TableId::Goods, goods, 5999, 6000, link, args, hooks).ok());
    EXPECT_EQ(sim.sim().goods(6000).price, "0");
}

TEST_F(RunFixture, FailureStopsTheRunAtTheFailingEntry)
{
    TGridData agents = InitGrid(TableId::Agents);
    TAgentLocks locks;
    for (int r = 1; r <= 5; ++r) {
        agents.SetCell(5, r, "Агент " + QString::number(r));
        ChooseAgentSign(agents, locks, r, 0);
    }
    ASSERT_TRUE(sim.sim().applyFault("error a 3 2"));
    const TRunResult w = WriteTable(TableId::Agents, agents, 1, 5, link, args, hooks);
    EXPECT_EQ(w.message, "Внимание!\r\nОшибка (2) при записи строки параметра агента с номером 3 !");
    EXPECT_EQ(w.severity, RunSeverity::Error);
    EXPECT_EQ(w.entriesDone, 2);
    EXPECT_EQ(sim.sim().agent(1).nameSupplier, "Агент 1");
    EXPECT_EQ(sim.sim().agent(2).nameSupplier, "Агент 2");
    EXPECT_EQ(sim.sim().agent(4).nameSupplier, "");
    EXPECT_EQ(sim.sim().agent(5).nameSupplier, "");
    EXPECT_EQ(progress, (std::vector<int>{20, 40}));

    // A read that fails keeps what it read before.
    TGridData read = InitGrid(TableId::Agents);
    const TRunResult r = ReadTable(TableId::Agents, read, locks, 1, 5, link, args, hooks);
    EXPECT_EQ(r.message, "Внимание!\r\nОшибка (2) при чтении строки параметра агента с номером 3 !");
    EXPECT_EQ(read.Cell(5, 2), "Агент 2");
}

TEST_F(RunFixture, RowsThatCannotTravelStopBeforeAnythingOfThemIsSent)
{
    TGridData agents = InitGrid(TableId::Agents);
    agents.SetCell(2, 1, "89001234567");
    const TRunResult a = WriteTable(TableId::Agents, agents, 1, 3, link, args, hooks);
    EXPECT_EQ(a.message, "Внимание!\r\nПеред записью произошла ошибка. Данные агента под номером 1 не корректны!");
    EXPECT_EQ(a.severity, RunSeverity::Warning);
    EXPECT_EQ(sim.sim().requestCount(), 0);

    TGridData goods = InitGrid(TableId::Goods);
    goods.SetCell(4, 3, "12р");
    const TRunResult g = WriteTable(TableId::Goods, goods, 1, 5, link, args, hooks);
    EXPECT_TRUE(g.message.startsWith("Внимание!\r\nОшибка при записи базы. Товар номер 3 !"));
    EXPECT_TRUE(g.message.contains("'12р'"));
    EXPECT_EQ(sim.sim().requestCount(), 2);

    TGridData sections = InitGrid(TableId::Sections);
    sections.SetCell(2, 2, "ТОВАРЫ");
    const TRunResult s = WriteTable(TableId::Sections, sections, 1, 3, link, args, hooks);
    EXPECT_TRUE(s.message.contains("\"ТОВАРЫ\"") && s.message.contains("2")) << s.message.toStdString();
    EXPECT_EQ(sim.sim().requestCount(), 2 + 2);
}

TEST_F(RunFixture, AStoppedRunSaysHowManyEntriesWereDone)
{
    TGridData ops = InitGrid(TableId::Operators);
    int polls = 0;
    hooks.aborted = [&] { return ++polls == 6; };  // during the second operator
    const TRunResult w = WriteTable(TableId::Operators, ops, 1, 6, link, args, hooks);
    EXPECT_TRUE(w.aborted);
    EXPECT_EQ(w.entriesDone, 1);
    EXPECT_EQ(w.message, "Внимание!\r\nЗапись прервана.\r\nЗаписано записей: 1 из 6.");
    EXPECT_EQ(sim.sim().requestCount(), 6);
}

TEST_F(RunFixture, ClearingTheBase)
{
    TGridData goods = InitGrid(TableId::Goods);
    FillSampleRow(TableId::Goods, goods, 1);
    ASSERT_TRUE(WriteTable(TableId::Goods, goods, 1, 1, link, args, hooks).ok());
    ASSERT_TRUE(sim.sim().applyFault("error c 5"));
    EXPECT_EQ(ClearBaseInKkt(link, args).message, "Внимание!\r\nОшибка очистки базы - 5!");
    EXPECT_EQ(sim.sim().goodsCount(), 1);
    ASSERT_TRUE(sim.sim().applyFault("clear"));
    const TRunResult ok = ClearBaseInKkt(link, args);
    EXPECT_EQ(ok.message, "База успешно очищена!");
    EXPECT_EQ(ok.severity, RunSeverity::Information);
    EXPECT_EQ(sim.sim().goodsCount(), 0);
}

TEST(RunAnswers, NumbersOutsideTheGridAreFailedReads)
{
    KktSimulator sim;
    int bentNumber = 0;
    KktLink link([&] {
        return std::make_unique<SimMemoryPort>(sim, [&](QByteArray& a) {
            if (bentNumber) {
                a[4] = char(bentNumber & 0xFF);
                a[5] = char(bentNumber >> 8);
            }
        });
    });
    const KktLinkArgs args;
    TAgentLocks locks;
    TGridData goods = InitGrid(TableId::Goods);
    bentNumber = 6001;
    const TRunResult g = ReadTable(TableId::Goods, goods, locks, 1, 2, link, args);
    EXPECT_EQ(g.message, "Внимание!\r\nОшибка при чтении базы. Товар номер 1 !\r\n"
                         "ККТ вернула товар с номером 6001, которого нет в таблице.");
    EXPECT_EQ(goods.Cell(1, 1), "");

    TGridData agents = InitGrid(TableId::Agents);
    bentNumber = 11;  // byte 5 then holds the sign 0
    const TRunResult a = ReadTable(TableId::Agents, agents, locks, 4, 4, link, args, {{}, {}, {}, [](int) {}});
    EXPECT_TRUE(a.message.contains("номером 4 !") && a.message.contains("номером 11,")) << a.message.toStdString();
    EXPECT_EQ(a.entriesDone, 0);

    // An answer for another row inside the grid fills that row.
    bentNumber = 7;
    ASSERT_TRUE(ReadTable(TableId::Goods, goods, locks, 1, 1, link, args).ok());
    EXPECT_EQ(goods.Cell(4, 7), "0,00");
    EXPECT_EQ(goods.Cell(4, 1), "");
}
