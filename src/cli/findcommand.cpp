#include "cli/commands.h"
#include "cli/progressbar.h"
#include "link/kktsearch.h"
#include "link/portnames.h"

namespace {

// A comma-separated list; empty items are a usage error.
bool SplitList(const QString& text, QStringList& items)
{
    items = text.split(QLatin1Char(','));
    for (QString& item : items) {
        item = item.trimmed();
        if (item.isEmpty())
            return false;
    }
    return true;
}

// The speeds of --speeds, each one of the register's; the usage error's text when the list is not.
QString ParseSpeeds(const QString& list, QList<int32_t>& speeds)
{
    QStringList texts;
    if (!SplitList(list, texts))
        return QStringLiteral("find: --speeds: пустая скорость в списке");
    speeds.clear();
    for (const QString& text : texts) {
        bool ok = false;
        const int32_t speed = text.toInt(&ok);
        if (!ok || !KktLineSpeeds().contains(speed)) {
            QStringList known;
            for (int32_t s : KktLineSpeeds())
                known << QString::number(s);
            return QStringLiteral("find: --speeds: \"%1\" - не скорость ККТ (%2)").arg(text, known.join(QStringLiteral(", ")));
        }
        speeds << speed;
    }
    return {};
}

// Nothing answered: why, port by port.
void PrintNotFound(TCliContext& ctx, const QStringList& ports, const KktSearch& search)
{
    ctx.err << (ports.isEmpty() ? QStringLiteral("ККТ не найдена: нет ни одного порта\n")
                                : QStringLiteral("ККТ не найдена:\n"));
    for (const KktPortReport& r : search.reports())
        ctx.err << "  " << r.port << ": " << PortVerdictText(r) << '\n';
    ctx.err.flush();
}

}  // namespace

int CmdFind(TCliContext& ctx, const QStringList& words)
{
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, QStringLiteral("find"), words,
                                  {{QStringLiteral("--ports")}, {QStringLiteral("--speeds")},
                                   {QStringLiteral("--save"), false}},
                                  0, 0, exit);
    if (!args)
        return exit;
    QStringList ports = GetCOM_Loop();
    if (args->has(QStringLiteral("--ports")) && !SplitList(args->value(QStringLiteral("--ports")), ports))
        return ctx.UsageError(QStringLiteral("find: --ports: пустое имя порта в списке"));
    QList<int32_t> speeds = KktLineSpeeds();
    if (args->has(QStringLiteral("--speeds"))) {
        if (const QString error = ParseSpeeds(args->value(QStringLiteral("--speeds")), speeds); !error.isEmpty())
            return ctx.UsageError(error);
    }
    if (!ctx.LinkReady(false))
        return kExitUsage;

    KktSearch search(ctx.session.Link, ports, speeds, ctx.session.StructSett.NumKKT);
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        bar.Show(0);
        while (search.Step())
            bar.Show(search.percent());
    }
    const QList<KktPortReport> found = search.found();
    for (const KktPortReport& hit : found)
        ctx.out << hit.port << ' ' << hit.speed << '\n';
    ctx.out.flush();
    if (found.isEmpty()) {
        PrintNotFound(ctx, ports, search);
        return kExitKkt;
    }
    if (args->has(QStringLiteral("--save"))) {
        // As "Применить" and closing the window: the port and speed found, the rest as loaded.
        TStructSetting sett = ctx.session.StructSett;
        sett.PortSett.Name = found.first().port;
        sett.PortSett.Speed = found.first().speed;
        if (!SaveIniSettings(ctx.SettingsPath(), sett))
            return ctx.FileError(ctx.SettingsPath(), QStringLiteral("не удалось записать файл настроек"));
    }
    return kExitOk;
}
