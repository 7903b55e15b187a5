#include "files/goodsdb.h"

#include "app/myinifile.h"

namespace {

const QString kSectionPrefix = QStringLiteral("ТОВАР_#");

// Key k carries goods column k + 1 whatever it is called: "Тип шрифта" carries the barcode and
// "Штрих-код" the marking sign. Files in use rely on exactly this assignment.
const std::array<QString, kGoodsFields> kKeys = {
    QStringLiteral("Наименование"), QStringLiteral("Тип шрифта"), QStringLiteral("Штрих-код"),
    QStringLiteral("Цена"),         QStringLiteral("Отдел/Услуга"),
};

}  // namespace

TGoodsRow GoodsDbDefaultRow()
{
    return {QString(), QStringLiteral("Узкий"), QString(), QStringLiteral("0.00"), QStringLiteral("0")};
}

bool SaveGoodsDbFile(const QString& fileName, const TGoodsTable& goods, QString* error)
{
    TmyIniFile ini(fileName);
    if (!ini.loaded()) {
        if (error)
            *error = QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(fileName, ini.errorString());
        return false;
    }
    for (int r = 1; r <= kGoodsCount; ++r) {
        const QString section = kSectionPrefix + QString::number(r);
        const TGoodsRow row = r <= int(goods.size()) ? goods[r - 1] : TGoodsRow{};
        for (int k = 0; k < kGoodsFields; ++k)
            ini.WriteString(section, kKeys[k], row[k]);
    }
    if (!ini.UpdateFile()) {
        if (error)
            *error = QStringLiteral("Не удалось записать файл \"%1\": %2").arg(fileName, ini.errorString());
        return false;
    }
    return true;
}

bool LoadGoodsDbFile(const QString& fileName, TGoodsTable& goods, QString* error)
{
    const TmyIniFile ini(fileName);
    if (!ini.loaded()) {
        if (error)
            *error = QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(fileName, ini.errorString());
        return false;
    }
    const TGoodsRow defaults = GoodsDbDefaultRow();
    TGoodsTable loaded(kGoodsCount);
    for (int r = 1; r <= kGoodsCount; ++r) {
        const QString section = kSectionPrefix + QString::number(r);
        for (int k = 0; k < kGoodsFields; ++k)
            loaded[r - 1][k] = ini.ReadString(section, kKeys[k], defaults[k]);
    }
    goods = std::move(loaded);
    return true;
}
