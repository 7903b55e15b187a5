#include "files/configfile.h"
#include "filefixture.h"
#include "testprint.h"

#include <QDir>
#include <QStringList>

namespace {

const QString kDel(QChar(0x7F));
const QString kDelDel = kDel + kDel;

class ConfigFile : public FileFolderTest {};

TEST_F(ConfigFile, EmptySnapshotWritesEverySectionAndKeyWrappedInDel)
{
    const QString file = path("new.conf");
    ASSERT_TRUE(SaveConfigFile(file, TConfig()));
    const QByteArray bytes = readBytes(file);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));

    const QStringList lines = codepage::fromCp1251(bytes).split(QStringLiteral("\r\n"));
    QStringList sections;
    int keys = 0;
    for (const QString& line : lines) {
        if (line.startsWith(u'[')) {
            sections.append(line.mid(1, line.size() - 2));
        } else if (!line.isEmpty()) {
            ++keys;
            EXPECT_TRUE(line.endsWith(u'=' + kDelDel)) << line.toStdString();
        }
    }
    EXPECT_EQ(sections.size(), 6045);
    EXPECT_EQ(keys, 30379);
    EXPECT_EQ(sections.mid(0, 4),
              QStringList({"GSM", "CFGKKT_ОПЕРАТОР_#0", "CFGKKT_ОПЕРАТОР0", "CFGKKT_ОПЕРАТОР_#1"}));
    EXPECT_EQ(sections[13], "CFGKKT_ТОВАР_#0");
    EXPECT_EQ(sections[6012], "CFGKKT_ТОВАР_#5999");
    EXPECT_EQ(sections[6013], "CFGKKT_ПРИЗНАК_ПР_#0");
    EXPECT_EQ(sections[6021], "CFGKKT_КЛИШЕ_СТРОКА_#0");
    EXPECT_EQ(sections.mid(6042),
              QStringList({"CFGKKT_ПАРАМЕТРЫ_АГЕНТА", "CFGKKT_ПАРАМЕТРЫ_ПРЕДПРИЯТИЯ", "CFGKKT_ПАРАМЕТРЫ_СТАНЦИИ"}));

    // The first operator's keys stand in two sections, in this order and with these names exactly.
    const QString text = codepage::fromCp1251(bytes);
    const QString d = "=" + kDelDel + "\r\n";
    EXPECT_TRUE(text.startsWith("[GSM]\r\nIP сервера ОФД" + d + "Имя сервера ОФД" + d + "Порт сервера ОФД" + d
                                + "PIN-код сим карты" + d + "APN строка для подключения к Internet" + d
                                + "Логин для подключения к Internet" + d + "Пароль для подключения к Internet" + d
                                + "\r\n[CFGKKT_ОПЕРАТОР_#0]\r\nДолжность" + d + "\r\n[CFGKKT_ОПЕРАТОР0]\r\n"
                                + "Шрифт должности" + d + "Фамилия(Строка 1)" + d + "Шрифт Фамилии(Строка 1)" + d
                                + "Фамилия(Строка 2)" + d + "Шрифт Фамилии(Строка 2)" + d + "Пароль" + d
                                + "ИНН Кассира" + d + "\r\n[CFGKKT_ОПЕРАТОР_#1]\r\n"));
    EXPECT_TRUE(text.contains("[CFGKKT_ТОВАР_#7]\r\nНаименование" + d + "Тип Шрифта" + d + "Штрих-код" + d + "Цена"
                              + d + "Отдел/Услуга" + d + "\r\n"));
    EXPECT_TRUE(text.contains("[CFGKKT_ПРИЗНАК_ПР_#7]\r\nНаименование отдела/услуги" + d
                              + "Тип Шрифта Наименования" + d + "Признак ПР(Значение)" + d
                              + "Признак ПР(Наименование)" + d + "Система налогообложения" + d + "\r\n"));
    EXPECT_TRUE(text.contains("[CFGKKT_КЛИШЕ_СТРОКА_#20]\r\nНаименование" + d + "Тип шрифта" + d + "\r\n"));
    EXPECT_TRUE(text.contains("Адрес Оператора Перевода (Строка#4) (Тип Шрифта)" + d
                              + "Наименование Оператора Перевода (Строка #1) (Наименование)" + d));
    EXPECT_TRUE(text.contains("Операция Платежного Агента (Тип Шрифта)" + d
                              + "\r\n[CFGKKT_ПАРАМЕТРЫ_ПРЕДПРИЯТИЯ]\r\nПредприятие #0" + d + "ИНН #0" + d));
    EXPECT_TRUE(text.endsWith("Станция #38" + d + "Станция #39" + d + "\r\n"));
}

TConfig FilledConfig()
{
    TConfig c;
    c.Gsm.arrParam = {"10.0.0.1", " 21101", "", "dns", " apn ", "пароль=с=равно", "WI-FI"};
    for (int n = 0; n < 6; ++n) {
        int k = 0;
        for (QString* f : Fields(c.CfgVaro.Oper[n]))
            *f = QStringLiteral(" опер %1 поле %2 ").arg(n).arg(++k);
    }
    c.CfgVaro.Oper[5].Inn = "  ";
    for (int n = 0; n < 6000; n += 7)
        c.CfgVaro.PredmRasch[n] = {"Товар " + QString::number(n) + "  ", "460000", "м", "12,50", "3"};
    c.CfgVaro.RpiznPredmRasch[7] = {"Секция", "ТОВАР", "Ставка НДС 20%", "Общая", "1"};
    c.CfgVaro.Klishe[20] = {"  Клише  ", "Широкий"};
    c.CfgVaro.Agent[10] = {"Агент", "+79990000000"};
    c.CfgVaro.Agent[11] = {"never", "written"};
    c.CfgVaro.Factory[89] = {"ООО \"Ромашка\"", "7700000000"};
    c.CfgVaro.Station[39] = {";не комментарий"};
    return c;
}

TEST_F(ConfigFile, SaveThenLoadRestoresEveryFieldExactly)
{
    const QString file = path("full.conf");
    const TConfig saved = FilledConfig();
    ASSERT_TRUE(SaveConfigFile(file, saved));
    TConfig loaded;
    loaded.CfgVaro.Agent[11] = {"kept", "kept"};
    ASSERT_TRUE(LoadConfigFile(file, loaded));
    EXPECT_EQ(loaded.Gsm, saved.Gsm);
    for (int n = 0; n < 6000; ++n)
        ASSERT_EQ(loaded.CfgVaro.PredmRasch[n], saved.CfgVaro.PredmRasch[n]) << n;
    EXPECT_EQ(loaded.CfgVaro.Oper, saved.CfgVaro.Oper);
    EXPECT_EQ(loaded.CfgVaro.RpiznPredmRasch, saved.CfgVaro.RpiznPredmRasch);
    EXPECT_EQ(loaded.CfgVaro.Klishe, saved.CfgVaro.Klishe);
    EXPECT_EQ(loaded.CfgVaro.Factory, saved.CfgVaro.Factory);
    EXPECT_EQ(loaded.CfgVaro.Station, saved.CfgVaro.Station);
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(loaded.CfgVaro.Agent[i], saved.CfgVaro.Agent[i]) << i;
    // Entry 11 has no keys: neither written nor read.
    EXPECT_EQ(loaded.CfgVaro.Agent[11], (TConfig_Agent{"kept", "kept"}));
    EXPECT_FALSE(readText(file).contains("never"));
}

TEST_F(ConfigFile, MissingKeysTakeTheirDefaults)
{
    const QString file = path("other.conf");
    writeText(file, "[GSM]\r\nчужой=1\r\n[CFGKKT_ТОВАР_#0]\r\nЦена=5\r\nНаименование=без обертки  \r\n");
    for (const QString& name : {file, path("missing.conf")}) {
        TConfig c = FilledConfig();
        ASSERT_TRUE(LoadConfigFile(name, c));
        const QString font = "Узкий";
        EXPECT_EQ(c.Gsm, TConfig_GSM());
        EXPECT_EQ(c.CfgVaro.Oper[3], (TConfig_Oper{"", font, "", font, "", font, "", ""}));
        EXPECT_EQ(c.CfgVaro.PredmRasch[5999], (TConfig_PredmRasch{"", font, "", "", ""}));
        EXPECT_EQ(c.CfgVaro.RpiznPredmRasch[0], (TConfig_RpiznPredmRasch{"", font, "", "", ""}));
        EXPECT_EQ(c.CfgVaro.Klishe[0], (TConfig_Klishe{"", font}));
        EXPECT_EQ(c.CfgVaro.Agent[0], (TConfig_Agent{"", font}));
        EXPECT_EQ(c.CfgVaro.Agent[11], (TConfig_Agent{"never", "written"}));
        EXPECT_EQ(c.CfgVaro.Factory[89], TConfig_Factory());
        EXPECT_EQ(c.CfgVaro.Station[39], TConfig_Station());
        if (name == file) {  // a value without DEL characters is taken as the ini layer trimmed it
            EXPECT_EQ(c.CfgVaro.PredmRasch[0], (TConfig_PredmRasch{"без обертки", font, "", "5", ""}));
        }
    }
    EXPECT_FALSE(QFile::exists(path("missing.conf")));
}

TEST_F(ConfigFile, SavingOverAFileKeepsItsOtherSectionsAndKeys)
{
    const QString file = path("old.conf");
    writeText(file, "[Чужая]\r\nk=v\r\n[CFGKKT_ТОВАР_#0]\r\nЛишний=1\r\nЦена=старая\r\n");
    ASSERT_TRUE(SaveConfigFile(file, FilledConfig()));
    const QString text = readText(file);
    EXPECT_TRUE(text.startsWith("[Чужая]\r\nk=v\r\n\r\n[CFGKKT_ТОВАР_#0]\r\nЛишний=1\r\nЦена=" + kDel + "12,50" + kDel
                                + "\r\nНаименование="));
    TConfig back;
    ASSERT_TRUE(LoadConfigFile(file, back));
    EXPECT_EQ(back.CfgVaro.PredmRasch[0].Price, "12,50");
}

TEST_F(ConfigFile, UnreadableFileChangesNothing)
{
    const QString folder = path("folder.conf");
    ASSERT_TRUE(QDir().mkpath(folder));
    TConfig c = FilledConfig();
    QString error;
    EXPECT_FALSE(LoadConfigFile(folder, c, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(c.CfgVaro, FilledConfig().CfgVaro);
    error.clear();
    EXPECT_FALSE(SaveConfigFile(folder, c, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(SaveConfigFile(path("no/such/folder/a.conf"), c, &error));
}

TEST(ConfigKeys, OutsideTheTablesNamesAreEmpty)
{
    EXPECT_EQ(GetGsmParamKey(6), "Пароль для подключения к Internet");
    EXPECT_EQ(GetGsmParamKey(7), "");
    EXPECT_EQ(GetGsmParamKey(-1), "");
    EXPECT_EQ(GetAgentValueKey(10), "Операция Платежного Агента (Наименование)");
    EXPECT_EQ(GetAgentFontKey(4), "Адрес Оператора Перевода (Строка#1) (Тип Шрифта)");
    EXPECT_EQ(GetAgentValueKey(11), "");
    EXPECT_EQ(GetAgentFontKey(11), "");
}

}  // namespace
