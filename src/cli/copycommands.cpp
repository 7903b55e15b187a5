#include "cli/commands.h"
#include "cli/fleetrun.h"
#include "cli/registerfiles.h"
#include "cli/progressbar.h"
#include "files/fleetbackup.h"
#include "files/gridfill.h"
#include "files/workbook.h"
#include "tables/knownrows.h"
#include "whole/fleetjobs.h"
#include "whole/wholerun.h"

namespace {

const TOptionSpec kTables{QStringLiteral("--tables")};
const TOptionSpec kDryRun{QStringLiteral("--dry-run"), false};

TWholeHooks BarHooks(TProgressBar& bar)
{
    TWholeHooks hooks;
    hooks.progress = [&bar](const TWholeProgress& p) { bar.Show(p.percent); };
    return hooks;
}

// "operators,goods,module" -> parts; false with the error stream told why.
bool TakeParts(TCliContext& ctx, const QString& command, const QString& list, TRegisterParts& parts, int& exit)
{
    for (const QString& word : list.split(u',', Qt::SkipEmptyParts)) {
        const QString name = word.trimmed();
        const qsizetype i = PartNames().indexOf(name);
        if (i < 0) {
            exit = ctx.UsageError(QStringLiteral("%1: неизвестная таблица \"%2\" (есть: %3)")
                                      .arg(command, name, PartNames().join(QStringLiteral(", "))));
            return false;
        }
        parts.Add(TableId(i));
    }
    if (parts.Empty()) {
        exit = ctx.UsageError(command + QStringLiteral(": в --tables не названо ни одной таблицы"));
        return false;
    }
    return true;
}

// The restore's dry run: what the register holds now against the book, entry by entry.
int PrintChanges(TCliContext& ctx, const TKktRegister& book, const TRegisterParts& parts)
{
    TKktRegister held;
    TWholeResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = ReadAll(ctx.session.Link, ctx.session.LinkArgs(), held, nullptr, BarHooks(bar), parts);
    }
    if (!result.ok())
        return ctx.Fail(result.message);
    for (int i = 0; i < kPartCount; ++i) {
        const TableId id = TableId(i);
        if (!parts.Has(id))
            continue;
        // Entries compare as the register takes them, as a changed-only write does.
        QStringList labels;
        const TGridData& wanted = book.Grid(id);
        for (int row : ChangedRows(id, held.Grid(id), wanted, 1, TableDef(id).size))
            labels.append(wanted.Cell(0, row));
        ctx.out << PartName(id) << ": "
                << (labels.isEmpty() ? QStringLiteral("без изменений")
                                     : QStringLiteral("изменятся %1: %2").arg(labels.size()).arg(labels.join(QStringLiteral(", "))))
                << '\n';
    }
    ctx.out.flush();
    return kExitOk;
}

}  // namespace

int CmdBackup(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("backup");
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, command, words, {}, 1, 1, exit);
    if (!args)
        return exit;
    const QString output = args->positional[0];
    if (!IsWorkbookFile(output))
        return ctx.UsageError(command + QStringLiteral(": копия пишется в книгу .xlsx"));
    if (ctx.SeveralPorts()) {
        // A book per register: the name must tell them apart.
        if (!FleetPatternNamesEach(output))
            return ctx.UsageError(command + QStringLiteral(": с несколькими портами имя книги должно содержать {serial} или {port}, "
                                                           "например shop-{serial}.xlsx"));
        return RunOnPorts(ctx, BackupJob(output));
    }
    if (!ctx.LinkReady())
        return kExitUsage;
    TKktRegister reg;
    RegistrationData registration;
    TWholeResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = ReadAll(ctx.session.Link, ctx.session.LinkArgs(), reg, &registration, BarHooks(bar));
    }
    // A copy that is not whole is no copy: nothing is written.
    if (!result.ok())
        return ctx.Fail(result.message);
    const QString error = SaveWorkbook(output, reg, TRegisterParts::All(), &registration,
                                       DescribeCopy(ctx.session.LinkArgs(), &registration));
    return error.isEmpty() ? kExitOk : ctx.FileError(output, error);
}

int CmdRestore(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("restore");
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, command, words, {kTables, kDryRun}, 1, 1, exit);
    if (!args)
        return exit;
    const QString input = args->positional[0];
    TRegisterParts listed = TRegisterParts::All();
    if (args->has(kTables.name)) {
        listed = {};
        if (!TakeParts(ctx, command, args->value(kTables.name), listed, exit))
            return exit;
    }

    // The whole book is checked before the first exchange: nothing is half restored.
    TKktRegister reg;
    const TWorkbookLoad load = LoadWorkbook(input, reg, listed);
    if (!load.ok())
        return ctx.FileError(input, load.error);
    for (int i = 0; i < kPartCount; ++i) {
        const TableId id = TableId(i);
        if (args->has(kTables.name) && listed.Has(id) && !load.parts.Has(id))
            return ctx.FileError(input, QStringLiteral("в книге нет листа \"%1\"").arg(TableDef(id).caption));
    }
    if (const QString problem = WorkbookWriteProblem(reg, load.parts); !problem.isEmpty())
        return ctx.FileError(input, problem);

    if (ctx.SeveralPorts()) {
        if (args->flags.contains(kDryRun.name))
            return ctx.UsageError(command + QStringLiteral(": --dry-run сравнивает книгу с одной ККТ"));
        return RunOnPorts(ctx, WriteAllJob(reg, load.parts, WorkbookSerial(input)));
    }
    if (!ctx.LinkReady())
        return kExitUsage;
    if (args->flags.contains(kDryRun.name))
        return PrintChanges(ctx, reg, load.parts);
    TWholeResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = WriteAll(ctx.session.Link, ctx.session.LinkArgs(), reg, BarHooks(bar), load.parts);
    }
    return result.ok() ? kExitOk : ctx.Fail(result.message);
}
