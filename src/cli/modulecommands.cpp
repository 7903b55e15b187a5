#include "cli/commands.h"
#include "cli/gridset.h"
#include "cli/progressbar.h"
#include "files/csvtable.h"
#include "files/gridfill.h"
#include "module/gsmtransfer.h"

namespace {

const TOptionSpec kInput{QStringLiteral("--input")};
const TOptionSpec kOutput{QStringLiteral("--output")};
const TOptionSpec kChangedFrom{QStringLiteral("--changed-from")};
const TOptionSpec kDryRun{QStringLiteral("--dry-run"), false};

// The module's CSV into `gsm`, or false with the error told.
bool LoadModuleFile(TCliContext& ctx, const QString& file, GsmGridModel& gsm, int& exit)
{
    QByteArray bytes;
    if (!ctx.ReadFile(file, bytes)) {
        exit = kExitUsage;
        return false;
    }
    if (const QString error = FillModuleGrid(ParseGridCsv(bytes, GsmAsGrid(gsm)), gsm); !error.isEmpty()) {
        exit = ctx.FileError(file, error);
        return false;
    }
    return true;
}

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
    return ctx.Emit(args.value(kOutput.name), FormatCsv(GridCsvRecords(GsmAsGrid(gsm), 1, gsm::kRows), CsvStyleOf(args)));
}

int ModuleWrite(TCliContext& ctx, const TParsedArgs& args)
{
    const QString input = args.value(kInput.name);
    if (input.isEmpty())
        return ctx.UsageError(QStringLiteral("module write: нужен --input FILE"));
    int exit = kExitOk;
    GsmGridModel gsm;
    if (!LoadModuleFile(ctx, input, gsm, exit))
        return exit;
    QList<int> rows;
    const QString before = args.value(kChangedFrom.name);
    if (before.isEmpty()) {
        for (int row = 1; row <= gsm::kRows; ++row)
            rows.push_back(row);
    } else {
        GsmGridModel old;
        if (!LoadModuleFile(ctx, before, old, exit))
            return exit;
        rows = DifferingGsmRows(old, gsm);
    }
    if (args.flags.contains(kDryRun.name)) {
        for (int row : rows)
            ctx.out << GsmRowCaption(row) << QStringLiteral(": ") << gsm.Value(row) << '\n';
        ctx.out << QStringLiteral("Будет записано параметров: %1.").arg(rows.size()) << '\n';
        ctx.out.flush();
        return kExitOk;
    }
    if (rows.isEmpty()) {
        ctx.Inform(QStringLiteral("Файлы не различаются: ничего не записано."));
        return kExitOk;
    }
    if (!ctx.LinkReady())
        return kExitUsage;
    GsmTransferResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = WriteGsmRows(ctx.session.Link, ctx.session.LinkArgs(), gsm, rows, [&bar](int percent) { bar.Show(percent); });
    }
    return result.ok() ? kExitOk : ctx.Fail(result.message);
}

}  // namespace

int CmdModule(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("module");
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, command, words, {kInput, kOutput, kSpreadsheetCsv, kChangedFrom, kDryRun}, 1, 1, exit);
    if (!args)
        return exit;
    const QString action = args->positional[0];
    if (action == QLatin1String("read")) {
        for (const TOptionSpec& extra : {kInput, kChangedFrom, kDryRun})
            if (args->has(extra.name))
                return ctx.UsageError(QStringLiteral("module read: параметр \"%1\" не нужен").arg(extra.name));
        return ModuleRead(ctx, *args);
    }
    if (action == QLatin1String("write")) {
        for (const TOptionSpec& spec : {kOutput, kSpreadsheetCsv}) {
            if (args->has(spec.name))
                return ctx.UsageError(QStringLiteral("module write: параметр \"%1\" не нужен").arg(spec.name));
        }
        return ModuleWrite(ctx, *args);
    }
    return ctx.UsageError(QStringLiteral("module: неизвестное действие \"%1\" (есть: read, write)").arg(action));
}
