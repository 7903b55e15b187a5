#include "cli/commands.h"
#include "cli/gridset.h"
#include "cli/progressbar.h"
#include "files/gridfill.h"
#include "files/workbook.h"
#include "tables/cellcheck.h"
#include "tables/knownrows.h"
#include "whole/wholerun.h"

namespace {

const TOptionSpec kTables{QStringLiteral("--tables")};
const TOptionSpec kDryRun{QStringLiteral("--dry-run"), false};
const QString kModuleName = QStringLiteral("module");

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
        TableId id;
        if (name == kModuleName) {
            parts.module = true;
        } else if (TableByName(name, id)) {
            parts.tables[size_t(id)] = true;
        } else {
            exit = ctx.UsageError(QStringLiteral("%1: неизвестная таблица \"%2\" (есть: %3, %4)")
                                      .arg(command, name, TableNames().join(QStringLiteral(", ")), kModuleName));
            return false;
        }
    }
    if (parts.Empty()) {
        exit = ctx.UsageError(command + QStringLiteral(": в --tables не названо ни одной таблицы"));
        return false;
    }
    return true;
}

QString PartName(int table)
{
    return table < kTableCount ? TableNames()[table] : kModuleName;
}

// The restore's dry run: what the register holds now against the book, entry by entry.
int PrintChanges(TCliContext& ctx, TGridSet& book, const TRegisterParts& parts)
{
    TGridSet held;
    TWholeResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = ReadAll(ctx.session.Link, ctx.session.LinkArgs(), held.Refs(), nullptr, BarHooks(bar), parts);
    }
    if (!result.ok())
        return ctx.Fail(result.message);
    for (int i = 0; i <= kTableCount; ++i) {
        const bool module = i == kTableCount;
        if (module ? !parts.module : !parts.Has(TableId(i)))
            continue;
        // Entries compare as the register takes them, as a changed-only write does.
        QStringList labels;
        if (module) {
            for (int row : DifferingGsmRows(held.gsm, book.gsm))
                labels.append(GsmRowCaption(row));
        } else {
            const TableId id = TableId(i);
            const TGridData& wanted = book.Table(id);
            for (int row : ChangedRows(id, held.Table(id), wanted, 1, TableDef(id).size))
                labels.append(wanted.Cell(0, row));
        }
        ctx.out << PartName(i) << ": "
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
    if (!ctx.LinkReady())
        return kExitUsage;
    TGridSet grids;
    RegistrationData registration;
    TWholeResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = ReadAll(ctx.session.Link, ctx.session.LinkArgs(), grids.Refs(), &registration, BarHooks(bar));
    }
    // A copy that is not whole is no copy: nothing is written.
    if (!result.ok())
        return ctx.Fail(result.message);
    const QString error = SaveWorkbook(output, grids.Refs(), TRegisterParts::All(), &registration,
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
    TGridSet grids;
    const TWorkbookLoad load = LoadWorkbook(input, grids.Refs(), listed);
    if (!load.ok())
        return ctx.FileError(input, load.error);
    for (int i = 0; i < kTableCount; ++i) {
        const TableId id = TableId(i);
        if (args->has(kTables.name) && listed.Has(id) && !load.parts.Has(id))
            return ctx.FileError(input, QStringLiteral("в книге нет листа \"%1\"").arg(TableDef(id).caption));
        if (!load.parts.Has(id))
            continue;
        if (const QString problem = GridWriteProblem(id, grids.Table(id), 1, TableDef(id).size); !problem.isEmpty())
            return ctx.FileError(input, QStringLiteral("лист \"%1\", %2").arg(TableDef(id).caption, problem));
    }
    if (args->has(kTables.name) && listed.module && !load.parts.module)
        return ctx.FileError(input, QStringLiteral("в книге нет листа \"%1\"").arg(kModulePartCaption));

    if (!ctx.LinkReady())
        return kExitUsage;
    if (args->flags.contains(kDryRun.name))
        return PrintChanges(ctx, grids, load.parts);
    TWholeResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = WriteAll(ctx.session.Link, ctx.session.LinkArgs(), grids.Refs(), BarHooks(bar), load.parts);
    }
    return result.ok() ? kExitOk : ctx.Fail(result.message);
}
