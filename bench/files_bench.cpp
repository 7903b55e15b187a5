#include "bench.h"
#include "files/configfile.h"
#include "files/configgrids.h"
#include "files/exchange1c.h"
#include "files/goodsdb.h"
#include "files/goodsgrid.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <vector>

namespace {

double elapsedMs(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

// Every cell of every table filled, as a worst case for the copy and the file, and every module value.
TKktRegister FilledRegister()
{
    TKktRegister reg;
    std::array<TGridData, kPartCount>& grids = reg.grids;
    for (int t = 0; t < kTableCount; ++t) {
        for (int row = 1; row < grids[t].RowCount(); ++row)
            for (int col = 1; col < grids[t].ColCount(); ++col)
                grids[t].SetCell(col, row, QStringLiteral("Молоко 3,2% %1.%2").arg(row).arg(col));
    // Prices as the grid's price editor types them, so that the exchange file passes its own check.
    for (int row = 1; row <= kGoodsCount; ++row)
        grids[int(TableId::Goods)].SetCell(4, row, QStringLiteral("%1,50").arg(row));
    }
    for (int row = 1; row <= 7; ++row)
        reg.Grid(TableId::Module).SetCell(1, row, QStringLiteral("значение %1").arg(row));
    return reg;
}

}  // namespace

// The user's view of each operation: grids to file and file to grids, the wait window's fixed
// pause not included. Each figure is the median of several runs over a fresh file.
KKT_BENCH(files,
          "conf_save_6045_sections", "conf_load_6045_sections", "dbvaro_save_6000_sections",
          "dbvaro_load_6000_sections", "1cdb_export_6000_lines", "1cdb_import_6000_lines")
{
    constexpr int kRuns = 7;
    QTemporaryDir dir;
    TKktRegister reg = FilledRegister();
    TGridData& goodsGrid = reg.Grid(TableId::Goods);

    std::vector<double> confSave, confLoad, dbSave, dbLoad, cSave, cLoad;
    for (int run = 0; run < kRuns; ++run) {
        const QString conf = dir.filePath(QStringLiteral("c%1.conf").arg(run));
        const QString db = dir.filePath(QStringLiteral("g%1.dbVaro").arg(run));
        const QString exchange = dir.filePath(QStringLiteral("e%1.1cdb").arg(run));
        QElapsedTimer t;

        TConfig config;
        t.start();
        GridsToConfig(reg, config);
        if (!SaveConfigFile(conf, config))
            BenchFail(QStringLiteral("files bench: configuration not saved"));
        confSave.push_back(elapsedMs(t));

        TConfig loaded;
        t.start();
        if (!LoadConfigFile(conf, loaded))
            BenchFail(QStringLiteral("files bench: configuration not loaded"));
        ConfigToGrids(loaded, reg);
        confLoad.push_back(elapsedMs(t));

        t.start();
        if (!SaveGoodsDbFile(db, GoodsFromGrid(goodsGrid)))
            BenchFail(QStringLiteral("files bench: goods database not saved"));
        dbSave.push_back(elapsedMs(t));

        t.start();
        TGoodsTable goods;
        if (!LoadGoodsDbFile(db, goods))
            BenchFail(QStringLiteral("files bench: goods database not loaded"));
        GoodsToGrid(goods, goodsGrid);
        dbLoad.push_back(elapsedMs(t));

        t.start();
        if (!Save1cdbFile(exchange, GoodsFromGrid(goodsGrid)).ok)
            BenchFail(QStringLiteral("files bench: exchange file not saved"));
        cSave.push_back(elapsedMs(t));

        t.start();
        const T1cdbLoad imported = Load1cdbFile(exchange);
        if (!imported.import || !imported.import->accepted)
            BenchFail(QStringLiteral("files bench: exchange file not accepted"));
        GoodsToGrid(imported.import->goods, goodsGrid);
        cLoad.push_back(elapsedMs(t));
    }
    out.push_back({QStringLiteral("conf_save_6045_sections"), Median(confSave), QStringLiteral("ms")});
    out.push_back({QStringLiteral("conf_load_6045_sections"), Median(confLoad), QStringLiteral("ms")});
    out.push_back({QStringLiteral("dbvaro_save_6000_sections"), Median(dbSave), QStringLiteral("ms")});
    out.push_back({QStringLiteral("dbvaro_load_6000_sections"), Median(dbLoad), QStringLiteral("ms")});
    out.push_back({QStringLiteral("1cdb_export_6000_lines"), Median(cSave), QStringLiteral("ms")});
    out.push_back({QStringLiteral("1cdb_import_6000_lines"), Median(cLoad), QStringLiteral("ms")});
}
