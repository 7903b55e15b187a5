#include "bench.h"

#include "link/kktlink.h"
#include "link/ui/udebugkkt.h"
#include "sim/simptyserver.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

// One KktParam read against an unpaced simulator: everything it costs beyond the 1 ms pause after
// purging is our own overhead (the line time of a pseudo-terminal is nil).
std::vector<double> CommandOverheads(KktLink& link, const KktLinkArgs& args, int count)
{
    std::vector<double> ms;
    ms.reserve(count);
    QString value;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer t;
        t.start();
        link.KktParam(args, KKT_READ, 0, 1, 1, value);
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6 - 1.0);
    }
    return ms;
}

// Median of a window: robust against the odd scheduling hiccup on a shared machine.
double WindowMedian(const std::vector<double>& v, size_t from, size_t to)
{
    return Median(std::vector<double>(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(to)));
}

}  // namespace

KKT_BENCH(link,
          "command_overhead_log_hidden_median", "command_overhead_log_shown_median",
          "command_overhead_log_shown_first_1000", "command_overhead_log_shown_last_1000")
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    SimPtyServer server;
    SimPtyServer::Options options;
    options.name = QStringLiteral("kkt-sim-bench");
    QString error;
    if (!server.start(options, &error)) {
        BenchFail(QStringLiteral("link simulator did not start: ") + error);
    }
    KktLinkArgs args;
    args.port = server.publishedName();
    args.speed = 115200;
    args.timeOut = 1000;
    args.numKkt = 1;

    KktLink link;
    CommandOverheads(link, args, 50);  // warm-up
    out.push_back({QStringLiteral("command_overhead_log_hidden_median"), Median(CommandOverheads(link, args, 2000)),
                   QStringLiteral("ms")});

    // The exchange log shown: 6000 commands append the 12000 entries of a full goods write.
    TfrmDebugKKM log;
    log.show();
    link.setFrameLog(&log);
    const std::vector<double> shown = CommandOverheads(link, args, 6000);
    out.push_back({QStringLiteral("command_overhead_log_shown_median"), Median(shown), QStringLiteral("ms")});
    out.push_back({QStringLiteral("command_overhead_log_shown_first_1000"), WindowMedian(shown, 0, 1000), QStringLiteral("ms")});
    out.push_back({QStringLiteral("command_overhead_log_shown_last_1000"), WindowMedian(shown, shown.size() - 1000, shown.size()),
                   QStringLiteral("ms")});
    link.setFrameLog(nullptr);
    server.stop();
}
