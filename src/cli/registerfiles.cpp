#include "cli/registerfiles.h"

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

// The load functions of the files read a missing file as an empty one; a conversion must not.
QString MissingFile(const QString& fileName)
{
    if (QFileInfo(fileName).isFile())
        return {};
    return QStringLiteral("Не удалось открыть файл \"%1\": файла нет").arg(fileName);
}

}  // namespace

const QStringList& PartNames()
{
    static const QStringList names{QStringLiteral("operators"), QStringLiteral("goods"),
                                   QStringLiteral("sections"),  QStringLiteral("cliche"),
                                   QStringLiteral("agents"),    QStringLiteral("enterprises"),
                                   QStringLiteral("stations"),  QStringLiteral("module")};
    return names;
}

QString PartName(TableId id)
{
    return PartNames()[int(id)];
}

QStringList TableNames()
{
    return PartNames().mid(0, kTableCount);
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

QString LoadConfigInto(const QString& fileName, TKktRegister& reg, TConfig& config)
{
    if (QString missing = MissingFile(fileName); !missing.isEmpty())
        return missing;
    QString error;
    if (!LoadConfigFile(fileName, config, &error))
        return error;
    ConfigToGrids(config, reg);
    return {};
}

QString SaveConfigFrom(const QString& fileName, const TKktRegister& reg, TConfig& config)
{
    GridsToConfig(reg, config);
    QString error;
    if (!SaveConfigFile(fileName, config, &error))
        return error;
    return {};
}
