// The Windows link against Linux simulators linked into Wine as COM ports (scripts/run-windows-bench.sh):
// what a command costs beyond its line time and pause through the Win32 serial functions.
#include "bench.h"

#include "link/kktlink.h"
#include "link/linepause.h"
#include "samplegoods.h"
#include "tables/tablerun.h"

#include <QElapsedTimer>

namespace {

constexpr int kBaud = 115200;
// A goods exchange on the wire: the 77-byte request and the 72-byte answer, 10 bits a byte.
constexpr double kGoodsLineMs = (77.0 + 72.0) * 10.0 * 1000.0 / kBaud;

KktLinkArgs PortArgs(const char* role)
{
    KktLinkArgs args;
    args.port = qEnvironmentVariable((QByteArray("KKT_COM_") + role).constData());
    if (args.port.isEmpty())
        BenchFail(QStringLiteral("KKT_COM_%1 is not set: run scripts/run-windows-bench.sh").arg(QLatin1String(role)));
    args.speed = kBaud;
    args.timeOut = 2000;
    args.numKkt = 1;
    return args;
}

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

}  // namespace

KKT_BENCH(windows,
          "win_pause_1ms_median", "win_command_overhead_median", "win_goods_write_400_paced_115200",
          "win_goods_write_400_line_time_bound_with_pause", "win_paced_goods_write_115200_vs_bound_with_pause")
{
    std::vector<double> paused;
    for (int i = 0; i < 500; ++i) {
        QElapsedTimer t;
        t.start();
        PauseAtLeast(std::chrono::milliseconds(1));
        paused.push_back(Ms(t));
    }
    out.push_back({QStringLiteral("win_pause_1ms_median"), Median(paused), QStringLiteral("ms")});

    // An unpaced simulator: all beyond the 1 ms pause after purging is the program's and Wine's own.
    KktLink link;
    const KktLinkArgs unpaced = PortArgs("FRESH");
    std::vector<double> overhead;
    QString value;
    for (int i = 0; i < 2050; ++i) {
        QElapsedTimer t;
        t.start();
        if (link.KktParam(unpaced, KKT_READ, 0, 1, 1, value) != KKT_OK)
            BenchFail(QStringLiteral("the unpaced simulator on %1 did not answer").arg(unpaced.port));
        if (i >= 50)  // after a warm-up
            overhead.push_back(Ms(t) - 1.0);
    }
    out.push_back({QStringLiteral("win_command_overhead_median"), Median(overhead), QStringLiteral("ms")});

    // A register paced at 115200: the first goods of the base written, against the bytes' line time
    // plus the pauses.
    constexpr int kItems = 400;
    const TGridData goods = SampleGoods();
    QElapsedTimer t;
    t.start();
    const TRunResult written = WriteTable(TableId::Goods, goods, 1, kItems, link, PortArgs("FAST"));
    const double paced = Ms(t);
    if (!written.ok())
        BenchFail(QStringLiteral("paced goods write failed: ") + written.message);
    const double bound = kItems * (kGoodsLineMs + 1.0);
    out.push_back({QStringLiteral("win_goods_write_400_paced_115200"), paced, QStringLiteral("ms")});
    out.push_back({QStringLiteral("win_goods_write_400_line_time_bound_with_pause"), bound, QStringLiteral("ms")});
    out.push_back({QStringLiteral("win_paced_goods_write_115200_vs_bound_with_pause"), (paced / bound - 1) * 100,
                   QStringLiteral("%")});
}
