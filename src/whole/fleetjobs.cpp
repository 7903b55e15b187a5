#include "whole/fleetjobs.h"

namespace {

bool TakeSerial(KktLink& link, const KktLinkArgs& args, TFleetReport& report)
{
    QString why;
    report.serial = ReadSerial(link, args, &why);
    if (report.serial.isEmpty())
        report.result = why;
    return !report.serial.isEmpty();
}

}  // namespace

TFleetJob StatusJob()
{
    return [](KktLink& link, const KktLinkArgs& args, const TWholeHooks&, TFleetReport& report) {
        if (!TakeSerial(link, args, report))
            return;
        KktStatusInfo info;
        KktCommandReport last;
        const KktResult r = WatchingFailures(link, last, [&] { return link.KktStatus(args, info); });
        report.ok = r == KKT_OK;
        report.result = report.ok ? QStringLiteral("связь есть")
                                  : FleetFailure(QStringLiteral("Ошибка (%1) при запросе состояния.").arg(r), last);
    };
}

TFleetJob WriteRowsJob(const TKktRegister& reg, const QList<TUnsentPart>& parts)
{
    return [&reg, parts](KktLink& link, const KktLinkArgs& args, const TWholeHooks& hooks, TFleetReport& report) {
        if (!TakeSerial(link, args, report))
            return;
        qsizetype all = 0;
        for (const TUnsentPart& part : parts)
            all += part.rows.size();
        TWholeHooks h;
        h.aborted = hooks.aborted;
        // The share of all rows written, entry by entry.
        h.partHooks = [&hooks, &parts, all](TableId id) {
            qsizetype before = 0;
            qsizetype rows = 0;
            for (const TUnsentPart& part : parts) {
                if (part.part == id) {
                    rows = part.rows.size();
                    break;
                }
                before += part.rows.size();
            }
            TRunHooks run;
            if (hooks.progress && all > 0)
                run.progress = [&hooks, id, before, rows, all](int done, int total) {
                    const double written = double(before) + (total > 0 ? double(done) / total * double(rows) : 0.0);
                    hooks.progress({int(written * 100 / double(all)), TableDef(id).caption, -1});
                };
            return run;
        };
        KktCommandReport last;
        const TWholeResult r = WatchingFailures(link, last, [&] { return WriteUnsent(link, args, reg, parts, h); });
        TakeWholeResult(r, last, QStringLiteral("записано"), report);
    };
}

TFleetJob WriteAllJob(const TKktRegister& reg, const TRegisterParts& parts, const QString& sourceSerial)
{
    return [&reg, parts, sourceSerial](KktLink& link, const KktLinkArgs& args, const TWholeHooks& hooks, TFleetReport& report) {
        report.sourceSerial = sourceSerial;
        if (!TakeSerial(link, args, report))
            return;
        KktCommandReport last;
        const TWholeResult r = WatchingFailures(link, last, [&] { return WriteAll(link, args, reg, hooks, parts); });
        TakeWholeResult(r, last, QStringLiteral("записано"), report);
    };
}

QList<TUnsentPart> MarkedParts(const TKktRegister& reg)
{
    QList<TUnsentPart> parts;
    for (int i = 0; i < kPartCount; ++i) {
        const TableId id = TableId(i);
        const QList<int> rows = reg.Known(id).MarkedRows(1, TableDef(id).size);
        if (!rows.isEmpty())
            parts.append({id, rows});
    }
    return parts;
}
