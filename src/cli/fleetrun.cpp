#include "cli/fleetrun.h"

#include "cli/progressbar.h"
#include "whole/fleetjobs.h"
#include "whole/partrun.h"

#include <QMutex>

namespace {

// One line per register, redrawn in place: the cursor goes back up over the block and each line is
// written anew. Called from the registers' threads.
class TFleetLines {
public:
    TFleetLines(QTextStream& stream, bool enabled, const QList<KktLinkArgs>& links) : m_stream(stream), m_enabled(enabled)
    {
        for (const KktLinkArgs& link : links) {
            m_ports << link.port;
            m_width = qMax(m_width, link.port.size());
        }
        m_percent = QList<int>(links.size(), 0);
        for (int i = 0; i < links.size(); ++i)
            m_lines << Line(i, TProgressBar::Render(0));
        if (!m_enabled)
            return;
        for (const QString& line : m_lines)
            m_stream << line << '\n';
        m_stream.flush();
    }

    void Progress(int index, const TWholeProgress& p)
    {
        QMutexLocker lock(&m_mutex);
        if (p.percent == m_percent[index])
            return;
        m_percent[index] = p.percent;
        Set(index, TProgressBar::Render(p.percent) + QLatin1Char(' ') + p.part);
    }
    void Finished(int index, const TFleetReport& r)
    {
        QMutexLocker lock(&m_mutex);
        Set(index, TProgressBar::Render(r.ok ? 100 : m_percent[index]) +
                       (r.ok ? QStringLiteral(" готово") : QStringLiteral(" ошибка")));
    }

private:
    QString Line(int index, const QString& state) const { return m_ports[index].leftJustified(m_width + 2) + state; }
    void Set(int index, const QString& state)
    {
        m_lines[index] = Line(index, state);
        if (!m_enabled)
            return;
        // Up over the block, then every line cleared and written again.
        m_stream << QStringLiteral("\x1b[%1A").arg(m_lines.size());
        for (const QString& line : m_lines)
            m_stream << "\r\x1b[2K" << line << '\n';
        m_stream.flush();
    }

    QMutex m_mutex;
    QTextStream& m_stream;
    bool m_enabled;
    QStringList m_ports;
    qsizetype m_width = 0;
    QStringList m_lines;
    QList<int> m_percent;
};

}  // namespace

int RunOnPorts(TCliContext& ctx, const TFleetJob& job)
{
    const QStringList ports = ctx.Ports();
    if (const QString twice = RepeatedPort(ports); !twice.isEmpty())
        return ctx.UsageError(QStringLiteral("порт \"%1\" назван дважды: у каждой ККТ свой порт").arg(twice));
    if (!ctx.LinkReady())
        return kExitUsage;
    QList<KktLinkArgs> links;
    for (const QString& port : ports) {
        KktLinkArgs args = ctx.session.LinkArgs();
        args.port = port;
        links << args;
    }
    TFleetLines lines(ctx.err, ctx.progressBar, links);
    TFleetHooks hooks;
    hooks.progress = [&lines](int index, const TWholeProgress& p) { lines.Progress(index, p); };
    hooks.finished = [&lines](int index, const TFleetReport& r) { lines.Finished(index, r); };
    const QList<TFleetReport> reports = RunFleet(links, job, hooks);
    for (const QString& line : FleetTable(reports))
        ctx.out << line << '\n';
    ctx.out.flush();
    for (const TFleetReport& r : reports)
        if (!r.ok)
            return kExitSomeFailed;
    return kExitOk;
}

int WritePartRowsCommand(TCliContext& ctx, const TKktRegister& reg, TableId id, const QList<int>& rows)
{
    if (ctx.SeveralPorts())
        return RunOnPorts(ctx, WriteRowsJob(reg, {{id, rows}}));
    if (!ctx.LinkReady())
        return kExitUsage;
    TRunResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = WritePartRows(id, reg, rows, ctx.session.Link, ctx.session.LinkArgs(), RunBarHooks(bar));
    }
    return result.ok() ? kExitOk : ctx.Fail(result.message);
}
