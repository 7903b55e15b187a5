#include "files/configfile.h"

#include "app/myinifile.h"

namespace {

const QString kEmpty;

const QString kGsmSection = QStringLiteral("GSM");
const QString kAgentSection = QStringLiteral("CFGKKT_ПАРАМЕТРЫ_АГЕНТА");
const QString kFactorySection = QStringLiteral("CFGKKT_ПАРАМЕТРЫ_ПРЕДПРИЯТИЯ");
const QString kStationSection = QStringLiteral("CFGKKT_ПАРАМЕТРЫ_СТАНЦИИ");

// The key names are fixed by the file format; they do not name the column a key carries (the goods
// key "Тип Шрифта" carries the barcode column). Files in use rely on exactly this assignment.
const std::array<QString, 8> kOperKeys = {
    QStringLiteral("Должность"),         QStringLiteral("Шрифт должности"),
    QStringLiteral("Фамилия(Строка 1)"), QStringLiteral("Шрифт Фамилии(Строка 1)"),
    QStringLiteral("Фамилия(Строка 2)"), QStringLiteral("Шрифт Фамилии(Строка 2)"),
    QStringLiteral("Пароль"),            QStringLiteral("ИНН Кассира"),
};
const std::array<bool, 8> kOperFont = {false, true, false, true, false, true, false, false};

const std::array<QString, 5> kGoodsKeys = {
    QStringLiteral("Наименование"), QStringLiteral("Тип Шрифта"), QStringLiteral("Штрих-код"),
    QStringLiteral("Цена"),         QStringLiteral("Отдел/Услуга"),
};
const std::array<QString, 5> kSectionKeys = {
    QStringLiteral("Наименование отдела/услуги"), QStringLiteral("Тип Шрифта Наименования"),
    QStringLiteral("Признак ПР(Значение)"),       QStringLiteral("Признак ПР(Наименование)"),
    QStringLiteral("Система налогообложения"),
};
// Small "ш" here, unlike the goods key.
const std::array<QString, 2> kClicheKeys = {QStringLiteral("Наименование"), QStringLiteral("Тип шрифта")};

const std::array<QString, 7> kGsmKeys = {
    QStringLiteral("IP сервера ОФД"),
    QStringLiteral("Имя сервера ОФД"),
    QStringLiteral("Порт сервера ОФД"),
    QStringLiteral("PIN-код сим карты"),
    QStringLiteral("APN строка для подключения к Internet"),
    QStringLiteral("Логин для подключения к Internet"),
    QStringLiteral("Пароль для подключения к Internet"),
};

// The address keys have no blank before "#", the operator-name keys have one.
const std::array<QString, 11> kAgentKeyStems = {
    QStringLiteral("Телефон Поставщика"),
    QStringLiteral("Телефон Платежного Агента"),
    QStringLiteral("Телефон Оператора По Приему Платежей"),
    QStringLiteral("Телефон Оператора Перевода"),
    QStringLiteral("Адрес Оператора Перевода (Строка#1)"),
    QStringLiteral("Адрес Оператора Перевода (Строка#2)"),
    QStringLiteral("Адрес Оператора Перевода (Строка#3)"),
    QStringLiteral("Адрес Оператора Перевода (Строка#4)"),
    QStringLiteral("Наименование Оператора Перевода (Строка #1)"),
    QStringLiteral("Наименование Оператора Перевода (Строка #2)"),
    QStringLiteral("Операция Платежного Агента"),
};

// Every key of the file in the order a save into a new file writes it:
// f(section, key, field, default). Agent entries without a key name are skipped.
template <class C, class F>
void ForEachConfigKey(C& config, F&& f)
{
    for (int i = 0; i < int(config.Gsm.arrParam.size()); ++i) {
        const QString key = GetGsmParamKey(i);
        if (!key.isEmpty())
            f(kGsmSection, key, config.Gsm.arrParam[i], kEmpty);
    }
    auto& v = config.CfgVaro;
    for (int n = 0; n < int(v.Oper.size()); ++n) {
        const auto fields = Fields(v.Oper[n]);
        f(QStringLiteral("CFGKKT_ОПЕРАТОР_#") + QString::number(n), kOperKeys[0], *fields[0], kEmpty);
        const QString section = QStringLiteral("CFGKKT_ОПЕРАТОР") + QString::number(n);
        for (size_t k = 1; k < fields.size(); ++k)
            f(section, kOperKeys[k], *fields[k], kOperFont[k] ? kDefaultFont : kEmpty);
    }
    const QString goodsPrefix = QStringLiteral("CFGKKT_ТОВАР_#");
    for (int n = 0; n < int(v.PredmRasch.size()); ++n) {
        const QString section = goodsPrefix + QString::number(n);
        const auto fields = Fields(v.PredmRasch[n]);
        for (size_t k = 0; k < fields.size(); ++k)
            f(section, kGoodsKeys[k], *fields[k], k == 1 ? kDefaultFont : kEmpty);
    }
    for (int n = 0; n < int(v.RpiznPredmRasch.size()); ++n) {
        const QString section = QStringLiteral("CFGKKT_ПРИЗНАК_ПР_#") + QString::number(n);
        const auto fields = Fields(v.RpiznPredmRasch[n]);
        for (size_t k = 0; k < fields.size(); ++k)
            f(section, kSectionKeys[k], *fields[k], k == 1 ? kDefaultFont : kEmpty);
    }
    for (int n = 0; n < int(v.Klishe.size()); ++n) {
        const QString section = QStringLiteral("CFGKKT_КЛИШЕ_СТРОКА_#") + QString::number(n);
        const auto fields = Fields(v.Klishe[n]);
        for (size_t k = 0; k < fields.size(); ++k)
            f(section, kClicheKeys[k], *fields[k], k == 1 ? kDefaultFont : kEmpty);
    }
    for (int i = 0; i < int(v.Agent.size()); ++i) {
        const QString valueKey = GetAgentValueKey(i);
        if (!valueKey.isEmpty())
            f(kAgentSection, valueKey, v.Agent[i].Value, kEmpty);
        const QString fontKey = GetAgentFontKey(i);
        if (!fontKey.isEmpty())
            f(kAgentSection, fontKey, v.Agent[i].fontValue, kDefaultFont);
    }
    for (int n = 0; n < int(v.Factory.size()); ++n) {
        f(kFactorySection, QStringLiteral("Предприятие #") + QString::number(n), v.Factory[n].Name, kEmpty);
        f(kFactorySection, QStringLiteral("ИНН #") + QString::number(n), v.Factory[n].INN, kEmpty);
    }
    for (int n = 0; n < int(v.Station.size()); ++n)
        f(kStationSection, QStringLiteral("Станция #") + QString::number(n), v.Station[n].Name, kEmpty);
}

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

}  // namespace

QString GetGsmParamKey(int i)
{
    return i >= 0 && i < int(kGsmKeys.size()) ? kGsmKeys[i] : QString();
}

QString GetAgentValueKey(int i)
{
    return i >= 0 && i < int(kAgentKeyStems.size()) ? kAgentKeyStems[i] + QStringLiteral(" (Наименование)")
                                                     : QString();
}

QString GetAgentFontKey(int i)
{
    return i >= 0 && i < int(kAgentKeyStems.size()) ? kAgentKeyStems[i] + QStringLiteral(" (Тип Шрифта)")
                                                     : QString();
}

bool SaveConfigFile(const QString& fileName, const TConfig& config, QString* error)
{
    TmyIniFile ini(fileName);
    if (!ini.loaded()) {
        SetError(error, QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(fileName, ini.errorString()));
        return false;
    }
    ForEachConfigKey(config, [&](const QString& section, const QString& key, const QString& field, const QString&) {
        ini.mWriteString(section, key, field);
    });
    if (!ini.UpdateFile()) {
        SetError(error, QStringLiteral("Не удалось записать файл \"%1\": %2").arg(fileName, ini.errorString()));
        return false;
    }
    return true;
}

bool LoadConfigFile(const QString& fileName, TConfig& config, QString* error)
{
    const TmyIniFile ini(fileName);
    if (!ini.loaded()) {
        SetError(error, QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(fileName, ini.errorString()));
        return false;
    }
    ForEachConfigKey(config, [&](const QString& section, const QString& key, QString& field, const QString& def) {
        field = ini.mReadString(section, key, def);
    });
    return true;
}
