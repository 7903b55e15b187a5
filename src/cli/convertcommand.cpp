#include "cli/commands.h"
#include "cli/registerfiles.h"
#include "files/csvtable.h"
#include "files/gridfill.h"

namespace {

// Fills the grids from the input file: goods files the goods grid, a configuration file every grid.
// False with the error stream told why.
bool LoadInput(TCliContext& ctx, const QString& input, TFileKind kind, TKktRegister& reg, TConfig& config)
{
    QString error;
    switch (kind) {
    case TFileKind::Csv: {
        QByteArray bytes;
        if (!ctx.ReadFile(input, bytes))
            return false;
        TGridData& goods = reg.Grid(TableId::Goods);
        error = FillTableGrid(ParseGridCsv(bytes, goods), TableId::Goods, goods, reg.locks);
        break;
    }
    case TFileKind::Config:
        error = LoadConfigInto(input, reg, config);
        break;
    default:
        error = LoadGoodsFile(input, kind, reg.Grid(TableId::Goods));
        break;
    }
    if (error.isEmpty())
        return true;
    ctx.FileError(input, error);
    return false;
}

}  // namespace

int CmdConvert(TCliContext& ctx, const QStringList& words)
{
    const QString command = QStringLiteral("convert");
    int exit = kExitOk;
    const auto args = CommandArgs(ctx, command, words, {kSpreadsheetCsv}, 2, 2, exit);
    if (!args)
        return exit;
    const QString input = args->positional[0];
    const QString output = args->positional[1];
    const TFileKind inKind = FileKindOf(input);
    const TFileKind outKind = FileKindOf(output);
    if (inKind == TFileKind::Unknown)
        return ctx.UsageError(QStringLiteral("%1: формат файла \"%2\" неизвестен (есть: %3)").arg(command, input, FileKindList()));
    if (outKind == TFileKind::Unknown || outKind == TFileKind::Sheet)
        return ctx.UsageError(QStringLiteral("%1: в файл \"%2\" записать нельзя (есть: .csv, .dbVaro, .1cdb, .conf)")
                                  .arg(command, output));
    if (outKind != TFileKind::Csv && args->has(kSpreadsheetCsv.name))
        return ctx.UsageError(QStringLiteral("%1: %2 - только для файла .csv").arg(command, kSpreadsheetCsv.name));

    TKktRegister reg;
    TConfig config;
    if (!LoadInput(ctx, input, inKind, reg, config))
        return kExitUsage;

    const TGridData& goods = reg.Grid(TableId::Goods);
    QString error;
    switch (outKind) {
    case TFileKind::Csv:
        return ctx.WriteFile(output, FormatCsv(GridCsvRecords(goods, 1, goods.RowCount() - 1), CsvStyleOf(*args)))
                   ? kExitOk
                   : kExitUsage;
    case TFileKind::Config:
        error = SaveConfigFrom(output, reg, config);
        break;
    default:
        error = SaveGoodsFile(output, outKind, goods);
        break;
    }
    return error.isEmpty() ? kExitOk : ctx.FileError(output, error);
}
