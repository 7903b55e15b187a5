#include "files/configfile.h"
#include "files/configgrids.h"
#include "files/goodsgrid.h"
#include "filefixture.h"
#include "testprint.h"

namespace {

// A register as the window starts it, its grids by part.
struct Grids : TKktRegister {
    TGridData& operator[](TableId id) { return Grid(id); }
};

TEST(ConfigGrids, CellsMapByPositionNotByHeading)
{
    Grids g;
    g[TableId::Module].SetCell(1, 7, "WI-FI");
    g[TableId::Operators].SetCell(3, 1, "1234");   // "Пароль" -> FioStr1
    g[TableId::Operators].SetCell(2, 6, "Иванов");  // "ФИО" -> fontDol
    g[TableId::Goods].SetCell(2, 6000, "4600000000017");
    g[TableId::Goods].SetCell(3, 6000, "м");
    g[TableId::Goods].SetCell(6, 6000, "1,000");
    g[TableId::Sections].SetCell(5, 8, "3");
    g[TableId::Cliche].SetCell(1, 21, "почта");
    g[TableId::Agents].SetCell(1, 10, "Агент");
    g[TableId::Enterprises].SetCell(2, 90, "7700000000");
    g[TableId::Stations].SetCell(1, 40, "Касса");

    TConfig c;
    c.CfgVaro.Oper[0].Password = "без ячейки";
    c.CfgVaro.Klishe[3].fontName = "Широкий";
    c.CfgVaro.Agent[10] = {"11-й", "нет"};
    GridsToConfig(g, c);
    EXPECT_EQ(c.Gsm.arrParam[6], "WI-FI");
    EXPECT_EQ(c.CfgVaro.Oper[0].FioStr1, "1234");
    EXPECT_EQ(c.CfgVaro.Oper[5].fontDol, "Иванов");
    EXPECT_EQ(c.CfgVaro.PredmRasch[5999], (TConfig_PredmRasch{"", "4600000000017", "м", "", ""}));
    EXPECT_EQ(c.CfgVaro.RpiznPredmRasch[7].SystemTax, "3");
    EXPECT_EQ(c.CfgVaro.Klishe[20].Name, "почта");
    EXPECT_EQ(c.CfgVaro.Agent[9], (TConfig_Agent{"Агент", "+7"}));
    EXPECT_EQ(c.CfgVaro.Factory[89].INN, "7700000000");
    EXPECT_EQ(c.CfgVaro.Station[39].Name, "Касса");
    // Fields without a cell keep what they held.
    EXPECT_EQ(c.CfgVaro.Oper[0].Password, "без ячейки");
    EXPECT_EQ(c.CfgVaro.Klishe[3].fontName, "Широкий");
    EXPECT_EQ(c.CfgVaro.Agent[10], (TConfig_Agent{"11-й", "нет"}));
}

class ConfigThroughGrids : public FileFolderTest {};

TEST_F(ConfigThroughGrids, SaveAndLoadRestoreEveryCellAndKeepTheOthers)
{
    Grids g;
    for (int row = 1; row <= 7; ++row)
        g[TableId::Module].SetCell(1, row, QStringLiteral(" gsm %1 ").arg(row));
    for (int t = 0; t < kTableCount; ++t) {
        TGridData& grid = g.grids[t];
        for (int row = 1; row < grid.RowCount(); ++row)
            for (int col = 1; col < grid.ColCount(); ++col)
                grid.SetCell(col, row, QStringLiteral(" %1:%2:%3 ").arg(t).arg(col).arg(row));
    }
    TConfig snapshot;
    snapshot.CfgVaro.Oper[2].Inn = " 123 ";  // a field without a cell, from an earlier load
    GridsToConfig(g, snapshot);
    const QString file = path("grids.conf");
    ASSERT_TRUE(SaveConfigFile(file, snapshot));

    Grids fresh;
    fresh[TableId::Goods].SetCell(6, 17, "2,500");
    fresh[TableId::Agents].SetCell(7, 3, "7700000000");
    TConfig loaded;
    ASSERT_TRUE(LoadConfigFile(file, loaded));
    ConfigToGrids(loaded, fresh);
    EXPECT_EQ(loaded.CfgVaro.Oper[2].Inn, " 123 ");
    for (int row = 1; row <= 7; ++row)
        EXPECT_EQ(fresh[TableId::Module].Cell(1, row), g[TableId::Module].Cell(1, row));
    for (int t = 0; t < kTableCount; ++t) {
        const TGridData& before = g.grids[t];
        const TGridData& after = fresh.grids[t];
        const TGridData initial = InitGrid(TableId(t));
        for (int row = 0; row < after.RowCount(); ++row) {
            for (int col = 0; col < after.ColCount(); ++col) {
                const bool carried = row > 0 && col > 0
                                  && !(TableId(t) == TableId::Goods && col == 6)
                                  && !(TableId(t) == TableId::Agents && col > 2);
                const QString expected = carried ? before.Cell(col, row) : initial.Cell(col, row);
                if (TableId(t) == TableId::Goods && col == 6 && row == 17)
                    ASSERT_EQ(after.Cell(col, row), "2,500");
                else if (TableId(t) == TableId::Agents && col == 7 && row == 3)
                    ASSERT_EQ(after.Cell(col, row), "7700000000");
                else
                    ASSERT_EQ(after.Cell(col, row), expected) << t << " " << col << " " << row;
            }
        }
    }
}

TEST_F(ConfigThroughGrids, LoadingAFileWithoutKeysPutsFontDefaultsIntoTheFontColumns)
{
    Grids g;
    g[TableId::Goods].SetCell(1, 1, "старое");
    TConfig c;
    ASSERT_TRUE(LoadConfigFile(path("missing.conf"), c));
    ConfigToGrids(c, g);
    const QString font = "Узкий";
    for (int row = 1; row <= 6; ++row) {
        EXPECT_EQ(g[TableId::Operators].Cell(1, row), "");
        EXPECT_EQ(g[TableId::Operators].Cell(2, row), font);
        EXPECT_EQ(g[TableId::Operators].Cell(4, row), font);
    }
    EXPECT_EQ(g[TableId::Goods].Cell(1, 1), "");
    EXPECT_EQ(g[TableId::Goods].Cell(2, 6000), font);
    EXPECT_EQ(g[TableId::Sections].Cell(2, 8), font);
    EXPECT_EQ(g[TableId::Cliche].Cell(1, 1), "");
    for (int row = 1; row <= 10; ++row) {
        EXPECT_EQ(g[TableId::Agents].Cell(2, row), font);
        EXPECT_EQ(g[TableId::Agents].Cell(3, row), "+7");  // not carried by the file
    }
    EXPECT_EQ(g[TableId::Goods].Cell(0, 0), "Код товара");
}

TEST(GoodsGrid, OnlyColumnsOneToFiveMove)
{
    TGridData grid = InitGrid(TableId::Goods);
    grid.SetCell(6, 5, "1,000");
    grid.SetCell(4, 5, "9,99");
    TGoodsTable goods = GoodsFromGrid(grid);
    ASSERT_EQ(goods.size(), size_t(kGoodsCount));
    EXPECT_EQ(goods[4], (TGoodsRow{"", "", "", "9,99", ""}));
    goods[4][GoodsName] = "Новый";
    goods[5999][GoodsSection] = "7";
    GoodsToGrid(goods, grid);
    EXPECT_EQ(grid.Cell(1, 5), "Новый");
    EXPECT_EQ(grid.Cell(6, 5), "1,000");
    EXPECT_EQ(grid.Cell(0, 5), "5");
    EXPECT_EQ(grid.Cell(5, 6000), "7");
    EXPECT_EQ(grid.Cell(1, 0), "Наименование");
}

}  // namespace
