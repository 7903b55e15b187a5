#include "cli/commands.h"
#include "link/linkchecktexts.h"
#include "link/portnames.h"

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
    if (!ctx.LinkReady())
        return kExitUsage;
    KktStatusInfo info;
    if (ctx.session.Link.KktStatus(ctx.session.LinkArgs(), info) != KKT_OK)
        return ctx.Fail(LinkCheckFailedText());
    ctx.Inform(LinkCheckPassedText());
    return kExitOk;
}
