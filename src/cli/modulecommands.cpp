#include "cli/commands.h"
#include "cli/gridset.h"
#include "cli/progressbar.h"
#include "files/csvtable.h"
#include "files/gridfill.h"
#include "module/gsmtransfer.h"

namespace {

const TOptionSpec kInput{QStringLiteral("--input")};
const TOptionSpec kOutput{QStringLiteral("--output")};

int ModuleRead(TCliContext& ctx, const TParsedArgs& args)
{
    if (!ctx.LinkReady())
        return kExitUsage;
    GsmGridModel gsm;
    GsmTransferResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = ReadGsmParams(ctx.session.Link, ctx.session.LinkArgs(), gsm, [&bar](int percent) { bar.Show(percent); });
    }
    if (!result.ok())
        return ctx.Fail(result.message);
    return ctx.Emit(args.value(kOutput.name), FormatCsv(GridCsvRecords(GsmAsGrid(gsm), 1, gsm::kRows)));
}

int ModuleWrite(TCliContext& ctx, const TParsedArgs& args)
{
    const QString input = args.value(kInput.name);
    if (input.isEmpty())
        return ctx.UsageError(QStringLiteral("module write: нужен --input FILE"));
    QByteArray bytes;
    if (!ctx.ReadFile(input, bytes))
        return kExitUsage;
    GsmGridModel gsm;
    if (const QString error = FillModuleGrid(ParseCsv(bytes), gsm); !error.isEmpty())
        return ctx.FileError(input, error);
    if (!ctx.LinkReady())
        return kExitUsage;
    GsmTransferResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = WriteGsmParams(ctx.session.Link, ctx.session.LinkArgs(), gsm, [&bar](int percent) { bar.Show(percent); });
    }
    return result.ok() ? kExitOk : ctx.Fail(result.message);
}

}  // namespace

int CmdModule(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("module");
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, command, words, {kInput, kOutput}, 1, 1, exit);
    if (!args)
        return exit;
    const QString action = args->positional[0];
    if (action == QLatin1String("read")) {
        if (args->has(kInput.name))
            return ctx.UsageError(QStringLiteral("module read: параметр \"--input\" не нужен"));
        return ModuleRead(ctx, *args);
    }
    if (action == QLatin1String("write")) {
        if (args->has(kOutput.name))
            return ctx.UsageError(QStringLiteral("module write: параметр \"--output\" не нужен"));
        return ModuleWrite(ctx, *args);
    }
    return ctx.UsageError(QStringLiteral("module: неизвестное действие \"%1\" (есть: read, write)").arg(action));
}
