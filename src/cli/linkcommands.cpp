#include "cli/commands.h"
#include "cli/fleetrun.h"
#include "link/linkchecktexts.h"
#include "link/portnames.h"
#include "link/resulttext.h"
#include "whole/fleetjobs.h"

int CmdPorts(TCliContext& ctx, const QStringList& words)
{
    int exit = kExitOk;
    if (!CommandArgs(ctx, QStringLiteral("ports"), words, {}, 0, 0, exit))
        return exit;
    for (const QString& name : GetCOM_Loop())
        ctx.out << name << '\n';
    ctx.out.flush();
    return kExitOk;
}

int CmdStatus(TCliContext& ctx, const QStringList& words)
{
    int exit = kExitOk;
    if (!CommandArgs(ctx, QStringLiteral("status"), words, {}, 0, 0, exit))
        return exit;
    if (ctx.SeveralPorts())
        return RunOnPorts(ctx, StatusJob());
    if (!ctx.LinkReady())
        return kExitUsage;
    KktStatusInfo info;
    KktCommandReport report;
    const KktCommandObserver watcher = ctx.session.Link.commandObserver();
    ctx.session.Link.setCommandObserver([&report](const KktCommandReport& r) { report = r; });
    const KktResult result = ctx.session.Link.KktStatus(ctx.session.LinkArgs(), info);
    ctx.session.Link.setCommandObserver(watcher);
    // The check's own message, then what the result means: which port, and why it did not open.
    if (result != KKT_OK)
        return ctx.Fail(LinkCheckFailedText() + QStringLiteral("\n") + KktResultText(report));
    ctx.Inform(LinkCheckPassedText());
    return kExitOk;
}
