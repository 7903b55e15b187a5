// The whole register's backup: every table read through the tables code from an in-process
// simulator paced at 115200 baud, then the workbook written, against the time the bytes need on the
// line; the full workbook saved and loaded on its own.
#include "bench.h"

#include "cli/registerfiles.h"
#include "module/gsmgrid.h"
#include "files/workbook.h"
#include "samplegoods.h"
#include "simserver.h"
#include "whole/wholerun.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

// Seconds the requests of the run and their answers need on the line, 10 bits a byte.
double LineSeconds(const QList<QByteArray>& requests, int baud)
{
    double bytes = 0;
    for (const QByteArray& r : requests) {
        const char command = r.size() > 6 ? r[6] : 0;
        bytes += KktSimulator::RequestLength(command) + KktSimulator::AnswerLength(command);
    }
    return bytes * 10.0 / baud;
}

}  // namespace

KKT_BENCH(copy, "backup_115200_paced", "backup_115200_line_time_bound", "backup_115200_vs_bound",
          "backup_115200_vs_bound_with_pauses", "backup_time_left_after_1s_vs_real",
          "backup_time_left_after_10s_vs_real", "workbook_save_full", "workbook_load_full")
{
    constexpr int kBaud = 115200;
    TestRuntimeDir runtime;
    SimPtyServer server;
    QString error;
    if (!server.start({QStringLiteral("kkt-sim-bench-copy"), 0}, &error))
        BenchFail(QStringLiteral("copy simulator did not start: ") + error);
    KktLink link;
    KktLinkArgs args;
    args.port = server.publishedName();
    args.speed = kBaud;
    args.timeOut = 2000;

    // The register filled unpaced: the full goods base, everything else in the tool's own form.
    TKktRegister written;
    written.Grid(TableId::Goods) = SampleGoods();
    for (int r = 1; r <= gsm::kRows; ++r)
        written.Grid(TableId::Module).SetCell(1, r, r == gsm::DeviceRow ? QStringLiteral("GSM") : QString::number(r));
    if (const TWholeResult w = WriteAll(link, args, written, {}); !w.ok())
        BenchFail(QStringLiteral("filling the register failed: ") + w.message);

    server.setBaud(kBaud);
    server.sim().clearRequests();
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("copy.xlsx"));
    TKktRegister read;
    RegistrationData registration;
    QElapsedTimer timer;
    // The time left the wait window shows first after 1 s and after 10 s, against what really remained.
    struct Estimate {
        double at = 0;
        int secondsLeft = -1;
    };
    Estimate after1, after10;
    TWholeHooks hooks;
    hooks.progress = [&](const TWholeProgress& p) {
        const double now = double(timer.nsecsElapsed()) / 1e9;
        for (auto [estimate, from] : {std::pair{&after1, 1.0}, std::pair{&after10, 10.0}})
            if (estimate->secondsLeft < 0 && now >= from && p.secondsLeft >= 0)
                *estimate = {now, p.secondsLeft};
    };
    timer.start();
    const TWholeResult r = ReadAll(link, args, read, &registration, hooks);
    const double readSeconds = double(timer.nsecsElapsed()) / 1e9;
    if (!r.ok())
        BenchFail(QStringLiteral("backup read failed: ") + r.message);
    const QString saveError = SaveWorkbook(book, read, TRegisterParts::All(), &registration, {});
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!saveError.isEmpty())
        BenchFail(QStringLiteral("backup save failed: ") + saveError);
    const QList<QByteArray> requests = server.sim().requests();
    const double bound = LineSeconds(requests, kBaud);
    // Every exchange waits 1 ms after purging the port, and the reading waits after each agent.
    const double pauses = requests.size() * 0.001 + TableDef(TableId::Agents).size * kAgentPauseMs / 1000.0;
    out.push_back({QStringLiteral("backup_115200_paced"), seconds, QStringLiteral("s")});
    out.push_back({QStringLiteral("backup_115200_line_time_bound"), bound, QStringLiteral("s")});
    out.push_back({QStringLiteral("backup_115200_vs_bound"), (seconds / bound - 1) * 100, QStringLiteral("%")});
    out.push_back({QStringLiteral("backup_115200_vs_bound_with_pauses"), (seconds / (bound + pauses) - 1) * 100,
                   QStringLiteral("%")});

    for (auto [name, estimate] : {std::pair{"backup_time_left_after_1s_vs_real", after1},
                                  std::pair{"backup_time_left_after_10s_vs_real", after10}}) {
        const double real = readSeconds - estimate.at;
        out.push_back({QLatin1String(name), (estimate.secondsLeft / real - 1) * 100, QStringLiteral("%")});
    }

    std::vector<double> save, load;
    for (int i = 0; i < 5; ++i) {
        timer.restart();
        if (const QString e = SaveWorkbook(book, read, TRegisterParts::All(), &registration, {}); !e.isEmpty())
            BenchFail(e);
        save.push_back(double(timer.nsecsElapsed()) / 1e6);
        TKktRegister loaded;
        timer.restart();
        if (const TWorkbookLoad l = LoadWorkbook(book, loaded); !l.ok())
            BenchFail(l.error);
        load.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out.push_back({QStringLiteral("workbook_save_full"), Median(save), QStringLiteral("ms")});
    out.push_back({QStringLiteral("workbook_load_full"), Median(load), QStringLiteral("ms")});
}
