// The goods base through the tables code: the whole base written to an in-process simulator on a
// pseudo-terminal, unpaced and paced at 115200 baud, and the goods grid loaded and cleared in the frame.
#include "bench.h"

#include "app/session.h"
#include "samplegoods.h"
#include "simserver.h"
#include "tables/tablerun.h"
#include "tables/ui/setvaroframe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressBar>

namespace {

// ms for writing items 1..count, with a progress bar updated and events processed after every item.
double WriteGoods(SimPtyServer& server, const TGridData& goods, int count, QString* error)
{
    KktLink link;
    KktLinkArgs args;
    args.port = server.publishedName();
    args.speed = 115200;
    args.timeOut = 2000;
    QProgressBar bar;
    TRunHooks hooks;
    hooks.progress = [&](int done, int total) {
        bar.setValue(ProgressPercent(done, total));
        QCoreApplication::processEvents();
    };
    QElapsedTimer timer;
    timer.start();
    const TRunResult r = WriteTable(TableId::Goods, goods, 1, count, link, args, hooks);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (!r.ok())
        *error = r.message;
    return ms;
}

}  // namespace

KKT_BENCH(tables,
          "goods_write_6000_unpaced", "goods_write_400_paced_115200", "goods_write_400_line_time_bound",
          "paced_goods_write_115200_vs_bound", "paced_goods_write_115200_vs_bound_with_pause",
          "goods_grid_load_6000", "goods_grid_clear_6000")
{
    const TGridData goods = SampleGoods();
    {
        TestRuntimeDir runtime;
        SimPtyServer server;
        QString error;
        if (!server.start({QStringLiteral("kkt-sim-bench-tables"), 0}, &error)) {
            BenchFail(QStringLiteral("tables simulator did not start: ") + error);
        }
        const double unpaced = WriteGoods(server, goods, 6000, &error);
        out.push_back({QStringLiteral("goods_write_6000_unpaced"), unpaced / 6000, QStringLiteral("ms/item")});

        // Paced: a sample of the base, against the time the bytes need on the line (10 bits a byte).
        constexpr int kPaced = 400;
        server.setBaud(115200);
        const double paced = WriteGoods(server, goods, kPaced, &error);
        const double bound = kPaced * (77.0 + 72.0) * 10.0 / 115200.0 * 1000.0;
        out.push_back({QStringLiteral("goods_write_400_paced_115200"), paced, QStringLiteral("ms")});
        out.push_back({QStringLiteral("goods_write_400_line_time_bound"), bound, QStringLiteral("ms")});
        out.push_back({QStringLiteral("paced_goods_write_115200_vs_bound"), (paced / bound - 1) * 100, QStringLiteral("%")});
        // Every exchange also waits 1 ms after purging the port, as the register needs.
        const double boundWithPause = bound + kPaced * 1.0;
        out.push_back({QStringLiteral("paced_goods_write_115200_vs_bound_with_pause"), (paced / boundWithPause - 1) * 100,
                       QStringLiteral("%")});
        if (!error.isEmpty())
            BenchFail(QStringLiteral("tables write failed: ") + error);
    }

    KktSession session;
    TFrameSetVaro frame;
    frame.Init(session);
    frame.resize(1100, 600);
    frame.ShowTable(TableId::Goods);
    frame.show();
    QCoreApplication::processEvents();
    std::vector<double> load, clear;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        frame.Grid(TableId::Goods) = goods;
        frame.RefreshGrid(TableId::Goods);
        QCoreApplication::processEvents();
        load.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        frame.CleanActiveTable();
        QCoreApplication::processEvents();
        clear.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out.push_back({QStringLiteral("goods_grid_load_6000"), Median(load), QStringLiteral("ms")});
    out.push_back({QStringLiteral("goods_grid_clear_6000"), Median(clear), QStringLiteral("ms")});
}
