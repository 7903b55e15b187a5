#include "cli/commands.h"
#include "cli/fleetrun.h"
#include "cli/registerfiles.h"
#include "cli/progressbar.h"
#include "files/csvtable.h"
#include "files/gridfill.h"
#include "files/workbook.h"
#include "text/conversion.h"
#include "tables/cellcheck.h"
#include "tables/knownrows.h"
#include "tables/maintenance.h"
#include "tables/rangecheck.h"
#include "tables/tablerun.h"

namespace {

const TOptionSpec kRange{QStringLiteral("--range")};
const TOptionSpec kInput{QStringLiteral("--input")};
const TOptionSpec kOutput{QStringLiteral("--output")};
const TOptionSpec kChangedFrom{QStringLiteral("--changed-from")};
const TOptionSpec kDryRun{QStringLiteral("--dry-run"), false};

bool TakeTable(TCliContext& ctx, const QString& command, const QString& name, TableId& id, int& exit)
{
    if (TableByName(name, id))
        return true;
    exit = ctx.UsageError(QStringLiteral("%1: неизвестная таблица \"%2\" (есть: %3)")
                              .arg(command, name, TableNames().join(QStringLiteral(", "))));
    return false;
}

// "A-B" through the range boxes' own check; the whole table when no range is given.
bool TakeRange(TCliContext& ctx, const QString& command, TableId id, const TParsedArgs& args, int& first,
               int& last, int& exit)
{
    const int size = TableDef(id).size;
    QString a = QStringLiteral("1");
    QString b = QString::number(size);
    if (args.values.contains(kRange.name)) {
        const QString text = args.value(kRange.name);
        const qsizetype dash = text.indexOf(u'-');
        if (dash < 0) {
            exit = ctx.UsageError(QStringLiteral("%1: диапазон \"%2\" задаётся как A-B, например 1-%3")
                                      .arg(command, text)
                                      .arg(size));
            return false;
        }
        a = text.left(dash);
        b = text.mid(dash + 1);
    }
    const TRangeCheck range = CheckRange(a, b, size);
    if (range.ok) {
        first = range.first;
        last = range.last;
        return true;
    }
    if (range.message.isEmpty())
        exit = ctx.UsageError(QStringLiteral("%1: в диапазоне \"%2-%3\" должны быть числа").arg(command, a, b));
    else
        exit = ctx.UsageError(range.message);
    return false;
}

// What "read" and "write" start with: their options, the table and the range.
struct TTableArgs {
    TParsedArgs args;
    TableId id = TableId::Operators;
    int first = 0;
    int last = 0;
};

std::optional<TTableArgs> TableCommandArgs(TCliContext& ctx, const QString& command, const QStringList& words,
                                           const QList<TOptionSpec>& files, int& exit)
{
    const auto args = CommandArgs(ctx, command, words, QList<TOptionSpec>{kRange} + files, 1, 1, exit);
    if (!args)
        return std::nullopt;
    TTableArgs t{*args};
    if (!TakeTable(ctx, command, args->positional[0], t.id, exit) || !TakeRange(ctx, command, t.id, *args, t.first, t.last, exit))
        return std::nullopt;
    return t;
}

}  // namespace

int CmdRead(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("read");
    int exit = kExitOk;
    const auto table = TableCommandArgs(ctx, command, words, {kOutput, kSpreadsheetCsv}, exit);
    if (!table)
        return exit;
    const auto& [args, id, first, last] = *table;
    const QString output = args.value(kOutput.name);
    const TFileKind kind = output.isEmpty() ? TFileKind::Csv : FileKindOf(output);
    const bool goodsFile = kind == TFileKind::GoodsDb || kind == TFileKind::Exchange1c;
    const bool book = IsWorkbookFile(output);
    if (kind != TFileKind::Csv && !book && !(id == TableId::Goods && goodsFile))
        return ctx.UsageError(QStringLiteral("%1: таблица пишется в файл .csv или .xlsx%2").arg(command,
                                  id == TableId::Goods ? QStringLiteral(", .dbVaro или .1cdb") : QString()));
    if (kind != TFileKind::Csv && args.has(kSpreadsheetCsv.name))
        return ctx.UsageError(QStringLiteral("%1: %2 - только для файла .csv").arg(command, kSpreadsheetCsv.name));

    if (!ctx.LinkReady())
        return kExitUsage;
    TKktRegister reg;
    TGridData& grid = reg.Grid(id);
    TRunResult result;
    {
        TProgressBar bar(ctx.err, ctx.progressBar);
        result = ReadTable(id, grid, reg.locks, first, last, ctx.session.Link, ctx.session.LinkArgs(), RunBarHooks(bar));
    }
    if (!result.ok())
        return ctx.Fail(result.message);
    if (book) {
        TRegisterParts parts;
        parts.Add(id);
        const QString error = SaveWorkbook(output, reg, parts, nullptr, DescribeCopy(ctx.session.LinkArgs(), nullptr));
        return error.isEmpty() ? kExitOk : ctx.FileError(output, error);
    }
    if (goodsFile) {
        const QString error = SaveGoodsFile(output, kind, grid);
        return error.isEmpty() ? kExitOk : ctx.FileError(output, error);
    }
    return ctx.Emit(output, FormatCsv(GridCsvRecords(grid, first, last), CsvStyleOf(args)));
}

namespace {

// Loads `file` into the table `id` of a start-up grid set and checks rows first..last as the run
// would: everything the run would refuse is refused before the first exchange, so nothing is half
// written. False with the error told (exit status 2).
bool LoadWriteFile(TCliContext& ctx, const QString& command, TableId id, const QString& file, int first, int last,
                   TKktRegister& reg, int& exit)
{
    TGridData& grid = reg.Grid(id);
    const TFileKind kind = FileKindOf(file);
    QString error;
    if (kind == TFileKind::Csv) {
        QByteArray bytes;
        if (!ctx.ReadFile(file, bytes)) {
            exit = kExitUsage;
            return false;
        }
        // The heading row must be this table's: a file of another table is refused here.
        error = FillTableGrid(ParseGridCsv(bytes, grid), id, grid, reg.locks);
    } else if (IsWorkbookFile(file) && (id != TableId::Goods || WorkbookHasSheet(file, id))) {
        // The table's own sheet; a goods book without one is a spreadsheet from 1C, below.
        TRegisterParts parts;
        parts.Add(id);
        error = LoadWorkbook(file, reg, parts).error;
    } else if (id == TableId::Goods && kind != TFileKind::Config && kind != TFileKind::Unknown) {
        error = LoadGoodsFile(file, kind, grid);
    } else {
        exit = ctx.UsageError(QStringLiteral("%1: таблица читается из файла .csv или .xlsx%2").arg(command,
                                  id == TableId::Goods ? QStringLiteral(", .dbVaro, .1cdb, .xls или .xlsx") : QString()));
        return false;
    }
    if (!error.isEmpty()) {
        exit = ctx.FileError(file, error);
        return false;
    }
    // Everything the run would refuse is refused before the first exchange: nothing is half written.
    if (const QString problem = GridWriteProblem(id, grid, first, last); !problem.isEmpty()) {
        exit = ctx.FileError(file, problem);
        return false;
    }
    return true;
}

// The entries a --dry-run would send, one line each: "LABEL: cell, cell, ...".
void ListEntries(TCliContext& ctx, const TGridData& grid, const QList<int>& rows)
{
    for (int row : rows) {
        QStringList cells;
        for (int c = 1; c < grid.ColCount(); ++c)
            cells << grid.Cell(c, row);
        ctx.out << grid.Cell(0, row) << QStringLiteral(": ") << cells.join(QStringLiteral(", ")) << '\n';
    }
    ctx.out << QStringLiteral("Будет записано записей: %1.").arg(rows.size()) << '\n';
    ctx.out.flush();
}

}  // namespace

int CmdWrite(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("write");
    int exit = kExitOk;
    const auto table = TableCommandArgs(ctx, command, words, {kInput, kChangedFrom, kDryRun}, exit);
    if (!table)
        return exit;
    const auto& [args, id, first, last] = *table;
    const QString input = args.value(kInput.name);
    if (input.isEmpty())
        return ctx.UsageError(command + QStringLiteral(": нужен --input FILE"));
    const QString before = args.value(kChangedFrom.name);
    const bool dryRun = args.flags.contains(kDryRun.name);

    TKktRegister reg;
    if (!LoadWriteFile(ctx, command, id, input, first, last, reg, exit))
        return exit;
    const TGridData& grid = reg.Grid(id);
    QList<int> rows;
    if (before.isEmpty()) {
        for (int row = first; row <= last; ++row)
            rows.push_back(row);
    } else {
        TKktRegister old;
        if (!LoadWriteFile(ctx, command, id, before, first, last, old, exit))
            return exit;
        rows = ChangedRows(id, old.Grid(id), grid, first, last);
    }
    if (dryRun) {
        ListEntries(ctx, grid, rows);
        return kExitOk;
    }
    if (rows.isEmpty()) {
        ctx.Inform(QStringLiteral("Файлы не различаются в диапазоне %1-%2: ничего не записано.").arg(first).arg(last));
        return kExitOk;
    }
    return WritePartRowsCommand(ctx, reg, id, rows);
}

int CmdClearGoods(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("clear-goods");
    const TOptionSpec yes{QStringLiteral("--yes"), false};
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, command, words, {yes}, 0, 0, exit);
    if (!args)
        return exit;
    // The window asks first; here the question is answered on the command line.
    if (!args->flags.contains(yes.name))
        return ctx.UsageError(command + QStringLiteral(": база товаров в ККТ будет стёрта; подтвердите параметром --yes"));
    if (!ctx.LinkReady())
        return kExitUsage;
    const TRunResult result = ClearBaseInKkt(ctx.session.Link, ctx.session.LinkArgs());
    if (result.severity == RunSeverity::Error)
        return ctx.Fail(result.message);
    ctx.Inform(result.message);
    return kExitOk;
}
