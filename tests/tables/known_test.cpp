// What the register is known to hold, the marks derived from it, the changed-only write and the goods
// search: through the rules themselves and against the simulator.
#include "qstringprint.h"
#include "simserver.h"
#include "tables/goodsfind.h"
#include "tables/knownrows.h"
#include "tables/tablerun.h"

#include <gtest/gtest.h>

namespace {

TGridData Goods(int count)
{
    TGridData goods = InitGrid(TableId::Goods);
    for (int r = 1; r <= count; ++r) {
        goods.SetCell(1, r, QStringLiteral("Товар %1").arg(r));
        goods.SetCell(4, r, QStringLiteral("%1.00").arg(r));
        goods.SetCell(5, r, QStringLiteral("1"));
    }
    return goods;
}

}  // namespace

TEST(KnownRows, OnlyKnownRowsThatDifferAreMarkedAndEditingBackUnmarks)
{
    TGridData grid = Goods(5);
    TKnownRows known(TableId::Goods);
    grid.SetCell(1, 2, "Сыр");
    EXPECT_FALSE(known.UpdateAll(grid));  // nothing read or written yet: nothing is marked
    EXPECT_EQ(known.MarkedCount(), 0);

    for (int r = 1; r <= 5; ++r)
        known.Remember(grid, r);
    EXPECT_EQ(known.MarkedCount(), 0);

    // A whole new list: only the rows whose content changed are marked, the label column aside.
    TGridData loaded = grid;
    loaded.SetCell(4, 2, "9.99");
    loaded.SetCell(1, 4, "Хлеб");
    loaded.SetCell(0, 5, "другая подпись");
    grid = loaded;
    EXPECT_TRUE(known.UpdateAll(grid));
    EXPECT_EQ(known.MarkedRows(1, 6000), (QList<int>{2, 4}));
    EXPECT_EQ(known.MarkedRows(3, 6000), (QList<int>{4}));
    EXPECT_FALSE(known.IsMarked(6));  // never known

    grid.SetCell(1, 4, "Товар 4");
    EXPECT_TRUE(known.Update(grid, 4));
    EXPECT_FALSE(known.IsMarked(4));
    EXPECT_EQ(known.MarkedCount(), 1);

    EXPECT_TRUE(known.Remember(grid, 2));
    EXPECT_EQ(known.MarkedCount(), 0);
    EXPECT_EQ(ChangedRows(TableId::Goods, Goods(5), grid, 1, 6), (QList<int>{2}));

    // A goods row says the same when it would travel the same: numbers in another spelling do not mark.
    TGridData spelled = grid;
    spelled.SetCell(4, 1, "1");
    spelled.SetCell(6, 1, "0.000");
    spelled.SetCell(2, 3, "0");
    spelled.SetCell(5, 3, "01");
    EXPECT_FALSE(known.UpdateAll(spelled));
    EXPECT_EQ(ChangedRows(TableId::Goods, grid, spelled, 1, 5), QList<int>{});
    spelled.SetCell(1, 1, "товар 1");
    EXPECT_EQ(ChangedRows(TableId::Goods, grid, spelled, 1, 5), QList<int>{1});
    EXPECT_EQ(ChangedRows(TableId::Cliche, grid, spelled, 1, 5), (QList<int>{1, 3}));
}

TEST(GoodsFind, NameFragmentsInAnyCaseAndBarcodesWrapBothWays)
{
    TGridData goods = Goods(10);
    goods.SetCell(1, 3, "Молоко ПАСТЕРИЗОВАННОЕ");
    goods.SetCell(1, 8, "Сырок молочный");
    goods.SetCell(2, 6, "4600000000123");
    EXPECT_EQ(FindGoods(goods, "молоч", 0, true), 8);
    EXPECT_EQ(FindGoods(goods, "МОЛО", 0, true), 3);
    EXPECT_EQ(FindGoods(goods, "моло", 3, true), 8);
    EXPECT_EQ(FindGoods(goods, "моло", 8, true), 3);   // round the end
    EXPECT_EQ(FindGoods(goods, "моло", 3, false), 8);  // round the start
    EXPECT_EQ(FindGoods(goods, "пастер", 3, true), 3); // the only match is found again
    EXPECT_EQ(FindGoods(goods, "000123", 1, true), 6);
    EXPECT_EQ(FindGoods(goods, "кефир", 1, true), 0);
    EXPECT_EQ(FindGoods(goods, "", 1, true), 0);
}

TEST(ChangedWrite, OnlyTheGivenEntriesTravelAndAFailureLeavesTheRestToDo)
{
    TestSim sim;
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    KktLink link;
    const KktLinkArgs args = sim.linkArgs();
    TGridData goods = Goods(40);
    TKnownRows known(TableId::Goods);
    TRunHooks hooks;
    hooks.entryDone = [&](int row) { known.Remember(goods, row); };
    std::vector<int> progress;
    hooks.progress = [&](int done, int total) { progress.push_back(ProgressPercent(done, total)); };

    ASSERT_TRUE(WriteTable(TableId::Goods, goods, 1, 40, link, args, hooks).ok());
    EXPECT_EQ(known.MarkedCount(), 0);
    EXPECT_TRUE(known.IsKnown(40));

    for (int r : {5, 12, 20, 33})
        goods.SetCell(4, r, "7.50");
    known.UpdateAll(goods);
    const QList<int> marked = known.MarkedRows(1, 40);
    ASSERT_EQ(marked, (QList<int>{5, 12, 20, 33}));
    const int before = sim.sim().requestCount();
    ASSERT_TRUE(sim.sim().applyFault("error T 20 77"));
    progress.clear();
    const TRunResult failed = WriteTableRows(TableId::Goods, goods, marked, link, args, hooks);
    EXPECT_EQ(failed.message, "Внимание!\r\nОшибка (77) при записи базы. Товар номер 20 !");
    EXPECT_EQ(failed.entriesDone, 2);
    EXPECT_EQ(failed.entries, 4);
    EXPECT_EQ(progress, (std::vector<int>{25, 50}));
    EXPECT_EQ(sim.sim().requestCount() - before, 3);
    EXPECT_EQ(known.MarkedRows(1, 40), (QList<int>{20, 33}));

    ASSERT_TRUE(sim.sim().applyFault("clear"));
    ASSERT_TRUE(WriteTableRows(TableId::Goods, goods, known.MarkedRows(1, 40), link, args, hooks).ok());
    EXPECT_EQ(known.MarkedCount(), 0);
    EXPECT_EQ(sim.sim().goods(33).price, "750");
    EXPECT_EQ(sim.sim().goods(34).price, "3400");

    // A read makes its rows known as the register holds them.
    TGridData read = InitGrid(TableId::Goods);
    TKnownRows readKnown(TableId::Goods);
    TAgentLocks locks;
    hooks.entryDone = [&](int row) { readKnown.Remember(read, row); };
    ASSERT_TRUE(ReadTable(TableId::Goods, read, locks, 30, 35, link, args, hooks).ok());
    read.SetCell(1, 33, "Другое");
    readKnown.UpdateAll(read);
    EXPECT_EQ(readKnown.MarkedRows(1, 6000), (QList<int>{33}));
}
