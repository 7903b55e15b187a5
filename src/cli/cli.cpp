#include "cli/cli.h"

#include "cli/clicontext.h"
#include "cli/clihelp.h"
#include "cli/commands.h"

#include <QHash>
#include <functional>

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err, bool progressBar)
{
    TCliContext ctx(out, err, progressBar);
    const QList<TOptionSpec> global{{QStringLiteral("--settings")}, {QStringLiteral("--port")}, {QStringLiteral("--ports")},
                                    {QStringLiteral("--speed")},    {QStringLiteral("--timeout")},
                                    {QStringLiteral("--number")},   {QStringLiteral("--version"), false}};
    const TParsedArgs parsed = ParseArgs(args, global, true);
    if (!parsed.ok())
        return ctx.UsageError(parsed.error);
    if (parsed.flags.contains(QStringLiteral("--version"))) {
        out << "kkt-cli " << KKT_VERSION << '\n';
        return kExitOk;
    }
    if (parsed.positional.isEmpty()) {
        if (parsed.help) {
            out << ToolHelp();
            return kExitOk;
        }
        err << ToolHelp();
        return ctx.UsageError(QStringLiteral("не задана команда"));
    }
    for (const QString& name : {QStringLiteral("--settings"), QStringLiteral("--port"), QStringLiteral("--ports"),
                                QStringLiteral("--speed"), QStringLiteral("--timeout"), QStringLiteral("--number")})
        if (parsed.values.contains(name) && parsed.value(name).isEmpty())
            return ctx.UsageError(QStringLiteral("пустое значение параметра \"%1\"").arg(name));
    ctx.linkOptions.settings = parsed.value(QStringLiteral("--settings"));
    if (parsed.values.contains(QStringLiteral("--port")) && parsed.values.contains(QStringLiteral("--ports")))
        return ctx.UsageError(QStringLiteral("задайте порты одним параметром: --port или --ports"));
    ctx.linkOptions.port = parsed.values.contains(QStringLiteral("--ports")) ? parsed.value(QStringLiteral("--ports"))
                                                                             : parsed.value(QStringLiteral("--port"));
    ctx.linkOptions.speed = parsed.value(QStringLiteral("--speed"));
    ctx.linkOptions.timeOut = parsed.value(QStringLiteral("--timeout"));
    ctx.linkOptions.number = parsed.value(QStringLiteral("--number"));

    static const QHash<QString, std::function<int(TCliContext&, const QStringList&)>> commands{
        {QStringLiteral("ports"), CmdPorts},         {QStringLiteral("status"), CmdStatus},
        {QStringLiteral("find"), CmdFind},
        {QStringLiteral("read"), CmdRead},           {QStringLiteral("write"), CmdWrite},
        {QStringLiteral("clear-goods"), CmdClearGoods}, {QStringLiteral("module"), CmdModule},
        {QStringLiteral("regdata"), CmdRegData},     {QStringLiteral("register"), CmdRegister},
        {QStringLiteral("reregister"), CmdReregister}, {QStringLiteral("convert"), CmdConvert},
        {QStringLiteral("backup"), CmdBackup},       {QStringLiteral("restore"), CmdRestore},
    };
    const QString command = parsed.positional.first();
    const auto run = commands.constFind(command);
    if (run == commands.constEnd())
        return ctx.UsageError(QStringLiteral("неизвестная команда \"%1\" (kkt-cli --help - список команд)").arg(command));
    // Several registers at once: the commands that send the same to every register of a shop.
    static const QStringList severalPorts{QStringLiteral("status"), QStringLiteral("write"), QStringLiteral("module"),
                                          QStringLiteral("backup"), QStringLiteral("restore")};
    if (ctx.SeveralPorts() && !severalPorts.contains(command))
        return ctx.UsageError(QStringLiteral("команда \"%1\" работает с одной ККТ; несколько портов - для команд %2")
                                  .arg(command, severalPorts.join(QStringLiteral(", "))));
    QStringList words = parsed.positional.mid(1);
    // "kkt-cli --help read" asks for the command's help, as "kkt-cli read --help" does.
    if (parsed.help)
        words.prepend(QStringLiteral("--help"));
    return (*run)(ctx, words);
}
