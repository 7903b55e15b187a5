#include "whole/unsent.h"

#include "whole/partrun.h"

#include <QStringList>

QString TUnsentPart::Caption() const
{
    return TableDef(part).caption;
}

QList<TUnsentPart> UnsentParts(const TKktRegister& reg)
{
    QList<TUnsentPart> parts;
    for (int i = 0; i < kPartCount; ++i) {
        const TableId id = TableId(i);
        const TGridData& grid = reg.Grid(id);
        const TKnownRows& known = reg.Known(id);
        const TGridData fresh = InitGrid(id);
        TUnsentPart part{id, {}};
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (known.IsMarked(row) || (!known.IsKnown(row) && !SameRow(id, grid, fresh, row)))
                part.rows << row;
        }
        if (!part.rows.isEmpty())
            parts << part;
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

TWholeResult WriteUnsent(KktLink& link, const KktLinkArgs& args, const TKktRegister& reg,
                         const QList<TUnsentPart>& parts, const TWholeHooks& hooks)
{
    int entries = 0;
    for (int i = 0; i < parts.size(); ++i) {
        const TUnsentPart& part = parts[i];
        if (hooks.progress)
            hooks.progress({int(i * 100 / parts.size()), part.Caption(), -1});
        TRunHooks h = hooks.partHooks ? hooks.partHooks(part.part) : TRunHooks{};
        h.aborted = [inner = h.aborted, &hooks] { return (inner && inner()) || (hooks.aborted && hooks.aborted()); };
        const TRunResult r = WritePartRows(part.part, reg, part.rows, link, args, h);
        entries += r.entriesDone;
        if (!r.ok())
            return PartStopped(part.part, r, entries);
    }
    TWholeResult done;
    done.entries = entries;
    return done;
}
