#include "cli/commands.h"
#include "cli/fleetrun.h"
#include "cli/registerfiles.h"
#include "cli/progressbar.h"
#include "files/csvtable.h"
#include "files/gridfill.h"
#include "module/gsmgrid.h"
#include "module/gsmtransfer.h"
#include "tables/knownrows.h"

namespace {

const TOptionSpec kInput{QStringLiteral("--input")};
const TOptionSpec kOutput{QStringLiteral("--output")};
const TOptionSpec kChangedFrom{QStringLiteral("--changed-from")};
const TOptionSpec kDryRun{QStringLiteral("--dry-run"), false};

constexpr TableId kModule = TableId::Module;

// The module's CSV into the register's module grid, or false with the error told.
bool LoadModuleFile(TCliContext& ctx, const QString& file, TKktRegister& reg, int& exit)
{
    QByteArray bytes;
    if (!ctx.ReadFile(file, bytes)) {
        exit = kExitUsage;
        return false;
    }
    TGridData& grid = reg.Grid(kModule);
    if (const QString error = FillTableGrid(ParseGridCsv(bytes, grid), kModule, grid, reg.locks); !error.isEmpty()) {
        exit = ctx.FileError(file, error);
        return false;
    }
    return true;
}

int ModuleRead(TCliContext& ctx, const TParsedArgs& args)
{
    if (!ctx.LinkReady())
        return kExitUsage;
    TKktRegister reg;
    TRunResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = ReadGsmParams(ctx.session.Link, ctx.session.LinkArgs(), reg.Grid(kModule), RunBarHooks(bar));
    }
    if (!result.ok())
        return ctx.Fail(result.message);
    return ctx.Emit(args.value(kOutput.name), FormatCsv(GridCsvRecords(reg.Grid(kModule), 1, gsm::kRows), CsvStyleOf(args)));
}

int ModuleWrite(TCliContext& ctx, const TParsedArgs& args)
{
    const QString input = args.value(kInput.name);
    if (input.isEmpty())
        return ctx.UsageError(QStringLiteral("module write: нужен --input FILE"));
    int exit = kExitOk;
    TKktRegister reg;
    if (!LoadModuleFile(ctx, input, reg, exit))
        return exit;
    const TGridData& grid = reg.Grid(kModule);
    QList<int> rows = WholeRange(kModule);
    const QString before = args.value(kChangedFrom.name);
    if (!before.isEmpty()) {
        TKktRegister old;
        if (!LoadModuleFile(ctx, before, old, exit))
            return exit;
        rows = ChangedRows(kModule, old.Grid(kModule), grid, 1, gsm::kRows);
    }
    if (args.flags.contains(kDryRun.name)) {
        for (int row : rows)
            ctx.out << GsmRowCaption(row) << QStringLiteral(": ") << grid.Cell(1, row) << '\n';
        ctx.out << QStringLiteral("Будет записано параметров: %1.").arg(rows.size()) << '\n';
        ctx.out.flush();
        return kExitOk;
    }
    if (rows.isEmpty()) {
        ctx.Inform(QStringLiteral("Файлы не различаются: ничего не записано."));
        return kExitOk;
    }
    return WritePartRowsCommand(ctx, reg, kModule, rows);
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
        if (ctx.SeveralPorts())
            return ctx.UsageError(QStringLiteral("module read: параметры читаются из одной ККТ"));
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
