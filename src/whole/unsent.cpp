#include "whole/unsent.h"

#include "module/gsmtransfer.h"

#include <QStringList>

QString TUnsentPart::Caption() const
{
    return table ? TableDef(*table).caption : kModulePartCaption;
}

QList<TUnsentPart> UnsentParts(const TRegisterGrids& grids, const KnownRowsOf& known)
{
    QList<TUnsentPart> parts;
    for (int i = 0; i < kTableCount; ++i) {
        const TableId id = TableId(i);
        const TGridData& grid = grids.Table(id);
        const TKnownRows& rows = known(id);
        const TGridData fresh = InitGrid(id);
        TUnsentPart part{id, {}};
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (rows.IsMarked(row) || (!rows.IsKnown(row) && !SameRow(id, grid, fresh, row)))
                part.rows << row;
        }
        if (!part.rows.isEmpty())
            parts << part;
    }
    if (grids.gsm) {
        TUnsentPart module;
        for (int row = 1; row <= gsm::kRows; ++row) {
            const GsmGridModel& gsm = *grids.gsm;
            if (gsm.IsMarked(row) || (!gsm.IsKnown(row) && !gsm.Value(row).isEmpty()))
                module.rows << row;
        }
        if (!module.rows.isEmpty())
            parts << module;
    }
    return parts;
}

QString UnsentQuestion(const QList<TUnsentPart>& parts)
{
    QStringList lines{QStringLiteral("Внимание!"), QStringLiteral("Не записано в ККТ:")};
    for (const TUnsentPart& part : parts)
        lines << QStringLiteral("  \"%1\" - записей: %2").arg(part.Caption()).arg(part.rows.size());
    lines << QStringLiteral("Записать в ККТ перед выходом?");
    return lines.join(QStringLiteral("\r\n"));
}

TWholeResult WriteUnsent(KktLink& link, const KktLinkArgs& args, const TRegisterGrids& grids,
                         const QList<TUnsentPart>& parts, const TWholeHooks& hooks)
{
    const auto stopped = [](const TUnsentPart& part, const QString& message, RunSeverity severity, bool aborted) {
        TWholeResult r;
        r.part = part.Caption();
        r.severity = severity;
        r.aborted = aborted;
        r.message = message + QStringLiteral("\r\nТаблица \"%1\".").arg(r.part);
        return r;
    };
    for (int i = 0; i < parts.size(); ++i) {
        const TUnsentPart& part = parts[i];
        if (hooks.progress)
            hooks.progress({int(i * 100 / parts.size()), part.Caption(), -1});
        if (part.table) {
            TRunHooks h = hooks.tableHooks ? hooks.tableHooks(*part.table) : TRunHooks{};
            h.aborted = [inner = h.aborted, &hooks] {
                return (inner && inner()) || (hooks.aborted && hooks.aborted());
            };
            const TRunResult r = WriteTableRows(*part.table, grids.Table(*part.table), part.rows, link, args, h);
            if (!r.ok())
                return stopped(part, r.message, r.severity, r.aborted);
        } else {
            const GsmTransferResult r = WriteGsmRows(link, args, *grids.gsm, part.rows, {}, hooks.gsmRowDone, hooks.aborted);
            if (!r.ok())
                return stopped(part, r.message, r.aborted ? RunSeverity::Information : RunSeverity::Error, r.aborted);
        }
    }
    return {};
}
