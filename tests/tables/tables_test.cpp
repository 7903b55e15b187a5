#include "tables/agentlocks.h"
#include "tables/encoding.h"
#include "tables/maintenance.h"
#include "tables/rangecheck.h"
#include "tables/tabledefs.h"

#include "qstringprint.h"

#include <gtest/gtest.h>

TEST(Tables, GridsAfterStartUp)
{
    const int sizes[] = {6, 6000, 8, 21, 10, 90, 40};
    const int cols[] = {5, 7, 6, 2, 12, 3, 2};
    for (int t = 0; t < kTableCount; ++t) {
        const TGridData g = InitGrid(TableId(t));
        EXPECT_EQ(g.RowCount(), sizes[t] + 1);
        EXPECT_EQ(g.ColCount(), cols[t]);
        EXPECT_EQ(TableDef(t).lastDefault, QString::number(sizes[t]));
        EXPECT_EQ(TableDef(t).boxLength, QString::number(sizes[t]).size());
    }
    const TGridData goods = InitGrid(TableId::Goods);
    EXPECT_EQ(goods.Cell(0, 0), "Код товара");
    EXPECT_EQ(goods.Cell(0, 6000), "6000");
    const TGridData agents = InitGrid(TableId::Agents);
    for (int r = 1; r <= 10; ++r)
        for (int c = 1; c <= 11; ++c)
            EXPECT_EQ(agents.Cell(c, r), IsAgentPhoneColumn(c) ? "+7" : "") << c << "," << r;
    EXPECT_EQ(RowLabel(TableId::Cliche, 1), "1.     Имя пользователя #1");
    EXPECT_EQ(RowLabel(TableId::Cliche, 10), "10.    Адрес расчетов #5");
    EXPECT_EQ(RowLabel(TableId::Cliche, 14), "14.   Место расчетов #4");
    EXPECT_EQ(RowLabel(TableId::Cliche, 21), "21.   Электронная почта отправителя #2");
    EXPECT_EQ(RowLabel(TableId::Enterprises, 9), "9.   Предприятие #9");
    EXPECT_EQ(RowLabel(TableId::Enterprises, 90), "90. Предприятие #90");
    EXPECT_EQ(RowLabel(TableId::Stations, 1), "1.    Станция #1");
    EXPECT_EQ(RowLabel(TableId::Stations, 40), "40.  Станция #40");
    EXPECT_FALSE(TableDef(TableId::Sections).tabMovesToCell);
    EXPECT_FALSE(TableDef(TableId::Stations).resizableColumns);
}

TEST(Tables, CheckRangeOrderAndFocus)
{
    struct Case {
        const char* first;
        const char* last;
        bool ok;
        QString message;
        RangeBox focus;
    };
    const Case cases[] = {
        {"1", "6", true, {}, RangeBox::None},
        {"0", "6", false, kRangeZeroMessage, RangeBox::First},
        {"3", "2", false, kRangeStartMessage, RangeBox::First},
        {"1", "7", false, kRangeEndMessage, RangeBox::Last},
        {"9", "", false, kRangeEndMessage, RangeBox::Last},
        {"", "", false, kRangeStartMessage, RangeBox::First},
        {"7", "7", false, kRangeStartMessage, RangeBox::First},
        {"1", "0", false, kRangeStartMessage, RangeBox::First},
        {"00", "3", false, kRangeZeroMessage, RangeBox::First},
        {"3", "3", true, {}, RangeBox::None},
    };
    for (const Case& c : cases) {
        const TRangeCheck r = CheckRange(c.first, c.last, 6);
        EXPECT_EQ(r.ok, c.ok) << c.first << "-" << c.last;
        EXPECT_EQ(r.message, c.message) << c.first << "-" << c.last;
        EXPECT_EQ(r.focus, c.focus) << c.first << "-" << c.last;
    }
    EXPECT_EQ(CheckRange("1", "6000", 6000).last, 6000);
    const TRangeCheck junk = CheckRange("1a", "3", 6);
    EXPECT_FALSE(junk.ok);
    EXPECT_TRUE(junk.message.isEmpty());
}

TEST(Tables, AgentSignLocksAndRestoresUserValues)
{
    TGridData g = InitGrid(TableId::Agents);
    TAgentLocks locks;
    for (int c = 2; c <= 11; ++c)
        g.SetCell(c, 3, QStringLiteral("v%1").arg(c));
    ChooseAgentSign(g, locks, 3, 4);  // Поверенный
    EXPECT_EQ(g.Cell(1, 3), "Поверенный");
    EXPECT_EQ(g.Cell(2, 3), "v2");
    for (int c = 3; c <= 11; ++c) {
        EXPECT_EQ(g.Cell(c, 3), kNotUsed);
        EXPECT_TRUE(locks.IsLocked(c, 3));
    }
    EXPECT_FALSE(locks.IsLocked(2, 3));
    EXPECT_FALSE(locks.IsLocked(3, 2));

    ChooseAgentSign(g, locks, 3, 0);  // Банковский платежный агент
    for (int c = 2; c <= 11; ++c) {
        EXPECT_EQ(g.Cell(c, 3), c == 4 ? kNotUsed : QStringLiteral("v%1").arg(c)) << c;
        EXPECT_EQ(locks.IsLocked(c, 3), c == 4) << c;
    }
    // A cell never saved before a sign placed the placeholder comes back empty.
    TGridData fresh = InitGrid(TableId::Agents);
    TAgentLocks freshLocks;
    fresh.SetCell(5, 1, kNotUsed);
    ChooseAgentSign(fresh, freshLocks, 1, 2);
    EXPECT_EQ(fresh.Cell(5, 1), "");
    EXPECT_EQ(fresh.Cell(2, 1), "+7");

    CleanTable(TableId::Agents, g, locks);
    for (int c = 1; c <= 11; ++c) {
        EXPECT_EQ(g.Cell(c, 3), IsAgentPhoneColumn(c) ? "+7" : "");
        EXPECT_FALSE(locks.IsLocked(c, 3));
    }
}

TEST(Tables, AgentReadFillsByTheSignAndSetsLocks)
{
    TGridData g = InitGrid(TableId::Agents);
    TAgentLocks locks;
    KktAgentRecord a;
    a.number = 4;
    a.sign = 16;
    a.phoneSupplier = "89001";
    ApplyAgentRecord(g, locks, a);
    EXPECT_EQ(g.Cell(1, 4), "Поверенный");
    EXPECT_EQ(g.Cell(2, 4), "+7001");
    for (int c = 3; c <= 11; ++c)
        EXPECT_TRUE(locks.IsLocked(c, 4) && g.Cell(c, 4) == kNotUsed);

    a.sign = 3;  // two signs at once: cells stay, locks go
    ApplyAgentRecord(g, locks, a);
    EXPECT_EQ(g.Cell(3, 4), kNotUsed);
    EXPECT_FALSE(locks.IsLocked(3, 4));

    a.sign = 4;
    a.phoneAgent = "";
    a.nameSupplier = "ООО";
    a.innSupplier = 0;
    ApplyAgentRecord(g, locks, a);
    EXPECT_EQ(g.Cell(3, 4), "+7");
    EXPECT_EQ(g.Cell(5, 4), "ООО");
    EXPECT_TRUE(locks.IsLocked(6, 4) && locks.IsLocked(11, 4));
    EXPECT_FALSE(locks.IsLocked(5, 4));

    a.sign = 1;
    a.innOperator = 0;
    ApplyAgentRecord(g, locks, a);
    EXPECT_EQ(g.Cell(7, 4), "0");
    EXPECT_EQ(g.Cell(4, 4), kNotUsed);

    a.sign = 0;
    ApplyAgentRecord(g, locks, a);
    for (int c = 1; c <= 11; ++c) {
        EXPECT_EQ(g.Cell(c, 4), IsAgentPhoneColumn(c) ? "+7" : "");
        EXPECT_FALSE(locks.IsLocked(c, 4));
    }
}

TEST(Tables, InCellListsAndTheVatRule)
{
    TGridData s = InitGrid(TableId::Sections);
    EXPECT_EQ(ListToOpen(TableId::Sections, s, 2, 1), CellList::SectionType);
    EXPECT_EQ(ListToOpen(TableId::Sections, s, 3, 1), CellList::Vat);
    EXPECT_EQ(ListToOpen(TableId::Sections, s, 4, 1), CellList::TaxSystem);
    EXPECT_EQ(ListToOpen(TableId::Sections, s, 2, 0), CellList::None);
    s.SetCell(2, 2, SectionTypes()[kSectionTypeBankAgent]);
    EXPECT_EQ(ListToOpen(TableId::Sections, s, 3, 2), CellList::None);
    EXPECT_EQ(ListToOpen(TableId::Goods, InitGrid(TableId::Goods), 3, 9), CellList::Mark);
    EXPECT_EQ(PreselectedItem(CellList::Mark, kMarked), 1);
    EXPECT_EQ(PreselectedItem(CellList::Mark, ""), 0);
    EXPECT_EQ(PreselectedItem(CellList::TaxSystem, "Общая"), 1);
    EXPECT_EQ(PreselectedItem(CellList::TaxSystem, "что-то"), 0);
}

TEST(Tables, CleanTestDataAndGoToItem)
{
    TGridData goods = InitGrid(TableId::Goods);
    TAgentLocks locks;
    goods.SetCell(4, 6000, "1,00");
    CleanTable(TableId::Goods, goods, locks);
    EXPECT_EQ(goods.Cell(4, 6000), "");
    EXPECT_EQ(goods.Cell(0, 6000), "6000");

    TGridData ops = InitGrid(TableId::Operators), kl = InitGrid(TableId::Cliche), ag = InitGrid(TableId::Agents);
    kl.SetCell(1, 2, "keep");
    FillTestData(ops, kl, ag);
    EXPECT_EQ(ops.Cell(1, 6), "Оператор 6");
    EXPECT_EQ(ops.Cell(3, 6).size(), 4);
    EXPECT_EQ(kl.Cell(1, 2), "keep");
    EXPECT_EQ(kl.Cell(1, 15), "реклама");
    EXPECT_EQ(ag.Cell(4, 1), kNotUsed);
    EXPECT_TRUE(CheckAgentRow(ag, 1));

    EXPECT_EQ(CheckGoToItem("6000").row, 6000);
    EXPECT_EQ(CheckGoToItem("").message, "ВНИМАНИЕ!\r\nНе введён номер товара!");
    EXPECT_EQ(CheckGoToItem("0").message, "ВНИМАНИЕ!\r\nНомер товара не может быть 0!");
    EXPECT_EQ(CheckGoToItem("00").message, "ВНИМАНИЕ!\r\nНомер товара не может быть 0!");
    EXPECT_EQ(CheckGoToItem("6001").message, "ВНИМАНИЕ!\r\nНомер товара не может быть больше 6000!");
}
