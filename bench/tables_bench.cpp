// The goods base through the tables code: the whole base written to an in-process simulator on a
// pseudo-terminal, unpaced and paced at 115200 baud, and the goods grid loaded and cleared in the frame.
// The shop's round ("changed"): a known base, twenty changed prices written alone at 19200 baud
// against the full write, the marks kept on loads, clears and typing, and the goods search.
#include "bench.h"

#include "app/session.h"
#include "samplegoods.h"
#include "simserver.h"
#include "tables/goodsfind.h"
#include "tables/tablerun.h"
#include "tables/ui/gridmodel.h"
#include "tables/ui/gridview.h"
#include "tables/ui/setvaroframe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressBar>

namespace {

// A goods exchange on the wire: the 77-byte request and the 72-byte answer.
constexpr double kGoodsBytesPerItem = 77.0 + 72.0;

QList<int> Rows(int first, int last)
{
    QList<int> rows;
    for (int r = first; r <= last; ++r)
        rows.push_back(r);
    return rows;
}

// ms for writing the items `rows`, with a progress bar updated and events processed after every item.
double WriteGoods(SimPtyServer& server, const TGridData& goods, const QList<int>& rows, QString* error,
                  int speed = 115200, const std::function<void(int)>& entryDone = {})
{
    KktLink link;
    KktLinkArgs args;
    args.port = server.publishedName();
    args.speed = speed;
    args.timeOut = 2000;
    QProgressBar bar;
    TRunHooks hooks;
    hooks.progress = [&](int done, int total) {
        bar.setValue(ProgressPercent(done, total));
        QCoreApplication::processEvents();
    };
    hooks.entryDone = entryDone;
    QElapsedTimer timer;
    timer.start();
    const TRunResult r = WriteTableRows(TableId::Goods, goods, rows, link, args, hooks);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (!r.ok())
        *error = r.message;
    return ms;
}

// The parameters frame on its goods tab, shown.
void ShowGoods(TFrameSetVaro& frame, KktSession& session)
{
    frame.Init(session);
    frame.resize(1100, 600);
    frame.ShowTable(TableId::Goods);
    frame.show();
    QCoreApplication::processEvents();
}

// Medians in ms of the base loaded into the goods grid and of "Очистить таблицу", repaint included.
std::pair<double, double> LoadAndClear(TFrameSetVaro& frame, const TGridData& goods)
{
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
    return {Median(load), Median(clear)};
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
        const double unpaced = WriteGoods(server, goods, Rows(1, 6000), &error);
        out.push_back({QStringLiteral("goods_write_6000_unpaced"), unpaced / 6000, QStringLiteral("ms/item")});

        // Paced: a sample of the base, against the time the bytes need on the line (10 bits a byte).
        constexpr int kPaced = 400;
        server.setBaud(115200);
        const double paced = WriteGoods(server, goods, Rows(1, kPaced), &error);
        const double bound = kPaced * kGoodsBytesPerItem * 10.0 / 115200.0 * 1000.0;
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
    TKktRegister reg;
    TFrameSetVaro frame{reg};
    ShowGoods(frame, session);
    const auto [load, clear] = LoadAndClear(frame, goods);
    out.push_back({QStringLiteral("goods_grid_load_6000"), load, QStringLiteral("ms")});
    out.push_back({QStringLiteral("goods_grid_clear_6000"), clear, QStringLiteral("ms")});
}

KKT_BENCH(changed,
          "changed_write_20_of_6000_19200", "changed_write_20_line_time_bound_19200",
          "goods_write_400_paced_19200", "goods_write_6000_19200_from_400", "goods_write_6000_19200_line_time_bound",
          "goods_grid_load_6000_known", "goods_grid_clear_6000_known", "goods_cell_edit_unknown", "goods_cell_edit_known",
          "goods_find_last_of_6000")
{
    const TGridData goods = SampleGoods();
    KktSession session;
    TKktRegister reg;
    TFrameSetVaro frame{reg};
    ShowGoods(frame, session);
    frame.Grid(TableId::Goods) = goods;
    frame.RefreshGrid(TableId::Goods);
    QCoreApplication::processEvents();
    // Typing into a price cell, repaint included: before anything is known, then with every row known.
    QAbstractItemModel* model = frame.GridView(TableId::Goods)->model();
    frame.GridView(TableId::Goods)->scrollTo(model->index(2999, 3));
    const auto typing = [&] {
        std::vector<double> edit;
        for (int i = 0; i < 200; ++i) {
            const QModelIndex cell = model->index(2999, 3);
            QElapsedTimer timer;
            timer.start();
            model->setData(cell, i % 2 ? goods.Cell(4, 3000) : QStringLiteral("1.2%1").arg(i % 10), Qt::EditRole);
            QCoreApplication::processEvents();
            edit.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        return Median(edit);
    };
    const double editUnknown = typing();
    {
        TestRuntimeDir runtime;
        SimPtyServer server;
        QString error;
        if (!server.start({QStringLiteral("kkt-sim-bench-changed"), 0}, &error))
            BenchFail(QStringLiteral("changed simulator did not start: ") + error);
        // The base as the register holds it: written once unpaced, every row known from the run.
        const auto known = [&](int row) { frame.RowKnown(TableId::Goods, row); };
        WriteGoods(server, goods, Rows(1, 6000), &error, 19200, known);
        if (!error.isEmpty() || frame.Known(TableId::Goods).MarkedCount() != 0)
            BenchFail(QStringLiteral("changed: the base write failed: ") + error);

        // Twenty new prices spread over the base, loaded as a whole new list.
        TGridData list = goods;
        for (int k = 0; k < 20; ++k)
            list.SetCell(4, 150 + k * 299, QStringLiteral("777.70"));
        frame.Grid(TableId::Goods) = list;
        frame.RefreshGrid(TableId::Goods);
        const QList<int> marked = frame.Known(TableId::Goods).MarkedRows(1, 6000);
        if (marked.size() != 20)
            BenchFail(QStringLiteral("changed: %1 rows marked instead of 20").arg(marked.size()));
        server.setBaud(19200);
        const double changed = WriteGoods(server, frame.Grid(TableId::Goods), marked, &error, 19200, known);
        if (!error.isEmpty() || frame.Known(TableId::Goods).MarkedCount() != 0)
            BenchFail(QStringLiteral("changed: the write of the changed rows failed: ") + error);
        out.push_back({QStringLiteral("changed_write_20_of_6000_19200"), changed, QStringLiteral("ms")});
        out.push_back({QStringLiteral("changed_write_20_line_time_bound_19200"),
                       20 * kGoodsBytesPerItem * 10.0 / 19200.0 * 1000.0, QStringLiteral("ms")});

        // The full write at 19200 is measured over a sample and scaled to the base.
        constexpr int kSample = 400;
        const double sample = WriteGoods(server, goods, Rows(1, kSample), &error, 19200);
        if (!error.isEmpty())
            BenchFail(QStringLiteral("changed: the paced sample write failed: ") + error);
        out.push_back({QStringLiteral("goods_write_400_paced_19200"), sample, QStringLiteral("ms")});
        out.push_back({QStringLiteral("goods_write_6000_19200_from_400"), sample * 6000 / kSample / 60000.0,
                       QStringLiteral("min")});
        out.push_back({QStringLiteral("goods_write_6000_19200_line_time_bound"),
                       6000 * kGoodsBytesPerItem * 10.0 / 19200.0 / 60.0, QStringLiteral("min")});
    }

    // Every row known: a load compares the whole base; a clear changes every row.
    for (int r = 1; r <= 6000; ++r)
        frame.RowKnown(TableId::Goods, r);
    const auto [load, clear] = LoadAndClear(frame, goods);
    frame.Grid(TableId::Goods) = goods;
    frame.RefreshGrid(TableId::Goods);
    out.push_back({QStringLiteral("goods_grid_load_6000_known"), load, QStringLiteral("ms")});
    out.push_back({QStringLiteral("goods_grid_clear_6000_known"), clear, QStringLiteral("ms")});
    out.push_back({QStringLiteral("goods_cell_edit_unknown"), editUnknown, QStringLiteral("ms")});
    out.push_back({QStringLiteral("goods_cell_edit_known"), typing(), QStringLiteral("ms")});

    std::vector<double> find;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer timer;
        timer.start();
        const int row = FindGoods(goods, QStringLiteral("НОМЕР 6000 "), 1, true);
        find.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (row != 6000)
            BenchFail(QStringLiteral("changed: the search found row %1").arg(row));
    }
    out.push_back({QStringLiteral("goods_find_last_of_6000"), Median(find), QStringLiteral("ms")});
}
