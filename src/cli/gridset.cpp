#include "cli/gridset.h"

#include "cli/cellcheck.h"
#include "files/configfile.h"
#include "files/configgrids.h"
#include "files/csvtable.h"
#include "files/exchange1c.h"
#include "files/filetexts.h"
#include "files/goodsdb.h"
#include "files/goodsgrid.h"
#include "files/xlstool.h"

#include <QFileInfo>

namespace {

QString LineProblem(int line, const QString& problem)
{
    return QStringLiteral("строка %1: %2").arg(line).arg(problem);
}

// The load functions of the files read a missing file as an empty one; a conversion must not.
QString MissingFile(const QString& fileName)
{
    if (QFileInfo(fileName).isFile())
        return {};
    return QStringLiteral("Не удалось открыть файл \"%1\": файла нет").arg(fileName);
}

TConfigTables ConstTables(const TGridSet& g)
{
    TConfigTables t{};
    for (int i = 0; i < kTableCount; ++i)
        t[size_t(i)] = &g.tables[size_t(i)];
    return t;
}

}  // namespace

TGridSet::TGridSet()
{
    for (int i = 0; i < kTableCount; ++i)
        tables[size_t(i)] = InitGrid(TableId(i));
}

const QStringList& TableNames()
{
    static const QStringList names{QStringLiteral("operators"), QStringLiteral("goods"),
                                   QStringLiteral("sections"),  QStringLiteral("cliche"),
                                   QStringLiteral("agents"),    QStringLiteral("enterprises"),
                                   QStringLiteral("stations")};
    return names;
}

bool TableByName(const QString& name, TableId& id)
{
    const qsizetype i = TableNames().indexOf(name);
    if (i < 0)
        return false;
    id = TableId(i);
    return true;
}

TFileKind FileKindOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return TFileKind::Csv;
    if (suffix == filetexts::kGoodsDbSuffix.toLower())
        return TFileKind::GoodsDb;
    if (suffix == filetexts::k1cdbSuffix)
        return TFileKind::Exchange1c;
    if (suffix == QLatin1String("xls") || suffix == QLatin1String("xlsx"))
        return TFileKind::Sheet;
    if (suffix == filetexts::kConfigSuffix)
        return TFileKind::Config;
    return TFileKind::Unknown;
}

QString FileKindList()
{
    return QStringLiteral(".csv, .dbVaro, .1cdb, .xls, .xlsx, .conf");
}

TGridData GsmAsGrid(const GsmGridModel& gsm)
{
    TGridData grid(2, gsm::kRows + 1);
    grid.SetCell(0, 0, gsm.headerData(0, Qt::Horizontal).toString());
    grid.SetCell(1, 0, gsm.headerData(1, Qt::Horizontal).toString());
    for (int r = 1; r <= gsm::kRows; ++r) {
        grid.SetCell(0, r, GsmRowCaption(r));
        grid.SetCell(1, r, gsm.Value(r));
    }
    return grid;
}

namespace {

TCsvRead ParseForGrid(const QByteArray& bytes, const TGridData& grid)
{
    return ParseCsvWithHeading(bytes, GridCsvRecords(grid, 1, 0).first());
}

}  // namespace

QString LoadCsvGrid(const QByteArray& bytes, TableId id, TGridData& grid, TAgentLocks& locks)
{
    TGridData work = grid;
    TAgentLocks workLocks = locks;
    const TCsvApply apply = ApplyCsvRecords(ParseForGrid(bytes, work), work);
    if (!apply.ok())
        return apply.error;
    for (qsizetype k = 0; k < apply.rows.size(); ++k) {
        const QString problem = TakeFileRow(id, work, workLocks, apply.rows[k]);
        if (!problem.isEmpty())
            return LineProblem(apply.lines[k], problem);
    }
    grid = work;
    locks = workLocks;
    return {};
}

QString LoadCsvModule(const QByteArray& bytes, GsmGridModel& gsm)
{
    TGridData grid = GsmAsGrid(gsm);
    const TCsvApply apply = ApplyCsvRecords(ParseForGrid(bytes, grid), grid);
    if (!apply.ok())
        return apply.error;
    for (qsizetype k = 0; k < apply.rows.size(); ++k) {
        const int row = apply.rows[k];
        const QString& text = grid.Cell(1, row);
        if (row == gsm::DeviceRow) {
            if (!text.isEmpty() && DeviceCodeFromText(text).isEmpty())
                return LineProblem(apply.lines[k], QStringLiteral("тип устройства - \"GSM\" или \"WI-FI\", а не \"%1\"").arg(text));
            continue;
        }
        // Typed key by key into the empty cell, as the module grid's filter lets them through.
        QString typed;
        for (QChar key : text) {
            if (key.unicode() < 0x20 || !GsmKeyAllowed(row, typed, false, key))
                return LineProblem(apply.lines[k], QStringLiteral("\"%1\" не набрать в строке \"%2\"").arg(text, GsmRowCaption(row)));
            typed += key;
        }
    }
    for (int r = 1; r <= gsm::kRows; ++r)
        gsm.SetValue(r, grid.Cell(1, r));
    return {};
}

QString LoadGoodsFile(const QString& fileName, TFileKind kind, TGridData& goods)
{
    if (QString missing = MissingFile(fileName); !missing.isEmpty())
        return missing;
    switch (kind) {
    case TFileKind::GoodsDb: {
        TGoodsTable table = ResetGoodsTable();
        QString error;
        if (!LoadGoodsDbFile(fileName, table, &error))
            return error;
        GoodsToGrid(table, goods);
        return {};
    }
    case TFileKind::Exchange1c: {
        const T1cdbLoad load = Load1cdbFile(fileName);
        if (!load.error.isEmpty())
            return load.error;
        if (!load.import || !load.import->accepted)
            return filetexts::k1cdbRejected;
        GoodsToGrid(load.import->goods, goods);
        return {};
    }
    case TFileKind::Sheet: {
        const TXlsImport import = XlsToGoods(fileName);
        if (import.status != 0)
            return QStringLiteral("файл не похож на книгу .xls или .xlsx");
        if (!import.goods)
            return import.error;
        GoodsToGrid(*import.goods, goods);
        return {};
    }
    default:
        return QStringLiteral("товары читаются из файлов %1").arg(FileKindList());
    }
}

QString SaveGoodsFile(const QString& fileName, TFileKind kind, const TGridData& goods)
{
    QString error;
    switch (kind) {
    case TFileKind::GoodsDb:
        if (!SaveGoodsDbFile(fileName, GoodsFromGrid(goods), &error))
            return error;
        return {};
    case TFileKind::Exchange1c: {
        const T1cdbSave save = Save1cdbFile(fileName, GoodsFromGrid(goods));
        return save.ok ? QString() : save.error;
    }
    default:
        return QStringLiteral("товары записываются в файлы .csv, .dbVaro, .1cdb");
    }
}

QString LoadConfigInto(const QString& fileName, TGridSet& grids)
{
    if (QString missing = MissingFile(fileName); !missing.isEmpty())
        return missing;
    QString error;
    if (!LoadConfigFile(fileName, grids.config, &error))
        return error;
    TConfigTablesMut t{};
    for (int i = 0; i < kTableCount; ++i)
        t[size_t(i)] = &grids.tables[size_t(i)];
    ConfigToGrids(grids.config, t, grids.gsm);
    return {};
}

QString SaveConfigFrom(const QString& fileName, TGridSet& grids)
{
    GridsToConfig(ConstTables(grids), grids.gsm, grids.config);
    QString error;
    if (!SaveConfigFile(fileName, grids.config, &error))
        return error;
    return {};
}
