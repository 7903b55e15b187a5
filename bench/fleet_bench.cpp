// Several registers at once: a restore of a full workbook to 1, 4 and 8 simulators paced at 115200,
// each on its own pseudo-terminal, and a price change (20 of 6000) to 4 at 19200. The work is
// waiting on the lines, so more registers should cost little more than one.
#include "bench.h"

#include "files/workbook.h"
#include "module/gsmgrid.h"
#include "samplegoods.h"
#include "simserver.h"
#include "whole/fleetjobs.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <memory>

namespace {

constexpr int kRegisters = 8;

double FleetSeconds(const QList<KktLinkArgs>& links, const TFleetJob& job)
{
    QElapsedTimer timer;
    timer.start();
    for (const TFleetReport& r : RunFleet(links, job))
        if (!r.ok)
            BenchFail(QStringLiteral("fleet run failed on %1: %2").arg(r.link.port, r.result));
    return double(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

KKT_BENCH(fleet, "fleet_restore_full_1x115200", "fleet_restore_full_4x115200", "fleet_restore_full_8x115200",
          "fleet_restore_4_vs_1", "fleet_restore_8_vs_1", "fleet_changed_20_of_6000_4x19200")
{
    TestRuntimeDir runtime;
    std::vector<std::unique_ptr<SimPtyServer>> servers;
    QList<KktLinkArgs> links;
    for (int i = 0; i < kRegisters; ++i) {
        servers.push_back(std::make_unique<SimPtyServer>());
        QString error;
        if (!servers.back()->start({QStringLiteral("kkt-sim-bench-fleet-%1").arg(i), 0}, &error))
            BenchFail(QStringLiteral("fleet simulator did not start: ") + error);
        KktLinkArgs args;
        args.port = servers.back()->devicePath();
        args.speed = 115200;
        args.timeOut = 2000;
        links << args;
    }

    // The full workbook as a backup leaves it: the whole goods base, every module value.
    TKktRegister source;
    source.Grid(TableId::Goods) = SampleGoods();
    for (int r = 1; r <= gsm::kRows; ++r)
        source.Grid(TableId::Module).SetCell(1, r, r == gsm::DeviceRow ? QStringLiteral("GSM") : QString::number(r));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shop.xlsx"));
    if (const QString e = SaveWorkbook(file, source, TRegisterParts::All(), nullptr, {}); !e.isEmpty())
        BenchFail(e);
    TKktRegister book;
    const TWorkbookLoad load = LoadWorkbook(file, book);
    if (!load.ok())
        BenchFail(load.error);

    for (const auto& server : servers)
        server->setBaud(115200);
    const TFleetJob restore = WriteAllJob(book, load.parts, WorkbookSerial(file));
    const double one = FleetSeconds(links.mid(0, 1), restore);
    const double four = FleetSeconds(links.mid(0, 4), restore);
    const double eight = FleetSeconds(links, restore);
    out.push_back({QStringLiteral("fleet_restore_full_1x115200"), one, QStringLiteral("s")});
    out.push_back({QStringLiteral("fleet_restore_full_4x115200"), four, QStringLiteral("s")});
    out.push_back({QStringLiteral("fleet_restore_full_8x115200"), eight, QStringLiteral("s")});
    out.push_back({QStringLiteral("fleet_restore_4_vs_1"), four / one, QStringLiteral("x")});
    out.push_back({QStringLiteral("fleet_restore_8_vs_1"), eight / one, QStringLiteral("x")});

    // Twenty prices spread over the base, as a shop's price change leaves them.
    TUnsentPart prices{TableId::Goods, {}};
    TKktRegister changed = book;
    for (int k = 0; k < 20; ++k) {
        const int row = 1 + k * 300;
        changed.Grid(TableId::Goods).SetCell(4, row, QStringLiteral("%1.99").arg(k + 1));
        prices.rows << row;
    }
    QList<KktLinkArgs> slow = links.mid(0, 4);
    for (int i = 0; i < slow.size(); ++i) {
        servers[size_t(i)]->setBaud(19200);
        slow[i].speed = 19200;
    }
    out.push_back({QStringLiteral("fleet_changed_20_of_6000_4x19200"), FleetSeconds(slow, WriteRowsJob(changed, {prices})),
                   QStringLiteral("s")});
}
