#include "clirun.h"

#include "cli/registerfiles.h"
#include "files/csvtable.h"
#include "text/codepage.h"
#include "tables/tabledefs.h"

#include <QFile>

namespace {

// The table's heading row, then `rows`, as the tool writes CSV.
QByteArray TableCsv(TableId id, const QList<QStringList>& rows)
{
    const TGridData grid = InitGrid(id);
    QStringList header;
    for (int c = 0; c < grid.ColCount(); ++c)
        header.append(grid.Cell(c, 0));
    return FormatCsv(QList<QStringList>{header} + rows);
}

const QByteArray kOperatorsCsv = "Опер. №,Должность,ФИО,Пароль,ИНН кассира\r\n"
                                 "1,Кассир,\"Иванов, Иван\",1234,123456789012\r\n"
                                 "2,Старший кассир,\"Петров \"\"Пётр\"\"\",22,\r\n";

}  // namespace

TEST_F(CliSimTest, StatusPrintsTheLinkCheckAndFailsWithTheWindowsMessage)
{
    const CliRun ok = Run({"status"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "Связь с ККТ установленна!\n");
    EXPECT_EQ(ok.err, "");

    const CliRun ports = RunTool({"ports"});
    EXPECT_EQ(ports.status, 0);
    EXPECT_TRUE(ports.out.split('\n').contains(m_sim.portName())) << ports.out.toStdString();

    ASSERT_TRUE(m_sim.sim().applyFault("silence always"));
    const CliRun silent = Run({"status"});
    EXPECT_EQ(silent.status, 1);
    // The window's message, then what the result means, with port and speed.
    EXPECT_TRUE(silent.err.startsWith("ВНИМАНИЕ!\nНе удалось подключиться к ККТ!\nЗапрос состояния ККТ: код 2 - нет ответа ("))
        << silent.err.toStdString();
    EXPECT_EQ(silent.out, "");
}

TEST_F(CliSimTest, OperatorsWrittenFromCsvReadBackTheSame)
{
    const QString in = File("ops.csv", kOperatorsCsv);
    const CliRun write = Run({"write", "operators", "--input", in, "--range", "1-2"});
    ASSERT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(write.out + write.err, "");
    EXPECT_EQ(m_sim.sim().param(0, 1, 1), "Иванов, Иван");
    EXPECT_EQ(m_sim.sim().param(0, 2, 1), "Петров \"Пётр\"");

    const CliRun read = Run({"read", "operators", "--range", "1-2"});
    ASSERT_EQ(read.status, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, QString::fromUtf8(kOperatorsCsv).replace("\r\n", "\n"));

    // The whole table by default, into a file, rows absent from the input written empty.
    const CliRun all = Run({"write", "operators", "--input", in});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    const QString out = Path("all.csv");
    ASSERT_EQ(Run({"read", "operators", "--output", out}).status, 0);
    const TCsvRead back = ParseCsv(ReadAll(out));
    ASSERT_EQ(back.records.size(), 7);
    EXPECT_EQ(back.records[6].fields, QStringList({"6", "", "", "", ""}));
}

TEST_F(CliSimTest, EveryTableGoesToTheRegisterAndBack)
{
    const QString agentSign = AgentSigns()[2];  // a sign that leaves the supplier's fields unused
    struct Case {
        TableId id;
        QList<QStringList> rows;
        QString range;
    };
    const QList<Case> cases{
        {TableId::Goods,
         {{"1", "Молоко 3,2%", "4600000000001", "м", "89,99", "2", "1,500"},
          {"2", "Хлеб \"Бородинский\"", "46000002", "", "45,00", "1", "0,000"}},
         "1-2"},
        {TableId::Sections,
         {{"1", "Продукты", SectionTypes()[1], VatRates()[1], TaxSystems()[0], "1"},
          {"2", "Платежи", SectionTypes()[5], VatRates()[0], TaxSystems()[1], "2"}},
         "1-2"},
        {TableId::Cliche, {{RowLabel(TableId::Cliche, 1), "ООО \"Ромашка\""}, {RowLabel(TableId::Cliche, 2), "Магазин №1"}}, "1-2"},
        {TableId::Agents,
         {{"1", agentSign, "+79001234567", "+7495", "+7", "ООО \"Поставщик\"", kNotUsed, kNotUsed, kNotUsed, kNotUsed, kNotUsed,
           kNotUsed}},
         "1-1"},
        {TableId::Enterprises, {{RowLabel(TableId::Enterprises, 1), "ИП Сидоров", "770123456789"}}, "1-1"},
        {TableId::Stations, {{RowLabel(TableId::Stations, 40), "Касса у входа"}}, "40-40"},
    };
    for (const Case& c : cases) {
        const QString name = TableNames()[int(c.id)];
        const QByteArray csv = TableCsv(c.id, c.rows);
        const CliRun write = Run({"write", name, "--input", File(name + ".csv", csv), "--range", c.range});
        ASSERT_EQ(write.status, 0) << name.toStdString() << ": " << write.err.toStdString();
        const CliRun read = Run({"read", name, "--range", c.range});
        ASSERT_EQ(read.status, 0) << name.toStdString() << ": " << read.err.toStdString();
        EXPECT_EQ(read.out, QString::fromUtf8(csv)) << name.toStdString();
    }
    EXPECT_EQ(m_sim.sim().goods(2).name, "Хлеб \"Бородинский\"");
    EXPECT_EQ(m_sim.sim().goods(1).price, "8999");
}

TEST_F(CliSimTest, AgentFieldsTheSignDoesNotUseAreNeverDroppedSilently)
{
    const QList<QStringList> rows{
        {"1", AgentSigns()[2], "+7900", "+7", "+7", "", "", "", "ООО Оператор", "", "+7", ""}};
    const CliRun run = Run({"write", "agents", "--input", File("a.csv", TableCsv(TableId::Agents, rows)), "--range", "1-1"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("ООО Оператор")) << run.err.toStdString();
    EXPECT_EQ(m_sim.sim().requestCount(), 0);
}

TEST_F(CliSimTest, CellsTheGridWouldRefuseAreFileErrorsAndNothingIsSent)
{
    struct Case {
        TableId id;
        QStringList row;
        QString part;  // of the message
    };
    const QList<Case> cases{
        {TableId::Goods, {"3", "Сыр", "46x", "", "1,00", "1", ""}, "Штрих-код"},
        {TableId::Goods, {"3", "Сыр", "", "", "abc", "1", ""}, "'abc' is not a valid integer value"},
        {TableId::Goods, {"3", "Сыр", "", "X", "1,00", "1", ""}, "\"X\" нет в списке"},
        {TableId::Goods, {"3", QString(41, 'x'), "", "", "1,00", "1", ""}, "длиннее 40"},
        {TableId::Goods, {"3", "Сыр", "18446744073709551615", "", "", "", ""}, "длиннее 13"},
        {TableId::Operators, {"1", "Кассир", "Иванов", "12a4", ""}, "только цифры"},
        {TableId::Sections, {"1", "Продукты", "НЕТ ТАКОГО", "", "", ""}, "НЕТ ТАКОГО"},
        {TableId::Agents, {"1", "", "89001234567", "+7", "+7", "", "", "", "", "", "+7", ""}, "телефон"},
        {TableId::Cliche, {RowLabel(TableId::Cliche, 1), "табуляция\tвнутри"}, "управляющий символ"},
    };
    for (const Case& c : cases) {
        const QString name = TableNames()[int(c.id)];
        const CliRun run = Run({"write", name, "--input", File("bad.csv", TableCsv(c.id, {c.row}))});
        EXPECT_EQ(run.status, 2) << name.toStdString();
        EXPECT_TRUE(run.err.startsWith("kkt-cli: " + Path("bad.csv") + ": строка 2: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.part)) << run.err.toStdString();
    }
    EXPECT_EQ(m_sim.sim().requestCount(), 0);

    // A file row the table does not have.
    const CliRun unknown = Run({"write", "operators", "--input", File("u.csv", "Опер. №,Должность,ФИО,Пароль,ИНН кассира\n7,a,b,1,2\n")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "kkt-cli: " + Path("u.csv") + ": строка 2: в таблице нет строки \"7\"\n");
    const CliRun missing = Run({"write", "operators", "--input", Path("none.csv")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains("не удалось открыть файл")) << missing.err.toStdString();
    EXPECT_EQ(m_sim.sim().requestCount(), 0);
}

TEST_F(CliSimTest, AFailedRunStopsWithTheWindowsMessageAndStatusOne)
{
    ASSERT_TRUE(m_sim.sim().applyFault("error T 3 77"));
    const QList<QStringList> rows{{"1", "a", "", "", "", "", ""}, {"2", "b", "", "", "", "", ""}, {"3", "c", "", "", "", "", ""}};
    const CliRun write = Run({"write", "goods", "--input", File("g.csv", TableCsv(TableId::Goods, rows)), "--range", "1-5"});
    EXPECT_EQ(write.status, 1);
    EXPECT_EQ(write.err, "Внимание!\nОшибка (77) при записи базы. Товар номер 3 !\n");
    EXPECT_EQ(m_sim.sim().goods(2).name, "b");
    EXPECT_EQ(m_sim.sim().goods(4).name, "");

    const CliRun read = Run({"read", "goods", "--range", "2-4", "--output", Path("r.csv")});
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.err, "Внимание!\nОшибка (77) при чтении базы. Товар номер 3 !\n");
    EXPECT_FALSE(QFile::exists(Path("r.csv")));  // no half table
}

TEST_F(CliSimTest, RangesAreCheckedByTheRangeBoxesRules)
{
    struct Case {
        QString range;
        QString err;
    };
    const Case cases[] = {
        {"0-3", "kkt-cli: ВНИМАНИЕ!\nЗначение начала диапазона не может начинаться с 0!\n"},
        {"1-7", "kkt-cli: ВНИМАНИЕ!\nНеверно введено значение конца диапазона!\n"},
        {"5-2", "kkt-cli: ВНИМАНИЕ!\nНеверно введено значение начала диапазона!\n"},
        {"3", "kkt-cli: read: диапазон \"3\" задаётся как A-B, например 1-6\n"},
        {"a-b", "kkt-cli: read: в диапазоне \"a-b\" должны быть числа\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run({"read", "operators", "--range", c.range});
        EXPECT_EQ(run.status, 2) << c.range.toStdString();
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_EQ(m_sim.sim().requestCount(), 0);
}

TEST_F(CliSimTest, ClearGoodsWantsConfirmation)
{
    m_sim.sim().setGoods(5, KktGoodsItem{"Сыр", "0", "", "100", "1", "0"});
    const CliRun asked = Run({"clear-goods"});
    EXPECT_EQ(asked.status, 2);
    EXPECT_EQ(m_sim.sim().goodsCount(), 1);
    const CliRun cleared = Run({"clear-goods", "--yes"});
    EXPECT_EQ(cleared.status, 0) << cleared.err.toStdString();
    EXPECT_EQ(cleared.out, "База успешно очищена!\n");
    EXPECT_EQ(m_sim.sim().goodsCount(), 0);
}

TEST_F(CliSimTest, ModuleParametersGoBothWays)
{
    const QByteArray csv = "Параметр,Значение\n"
                           "IP сервера,192.168.1.10\n"
                           "Порт сервера,8080\n"
                           "APN GSM,internet.mts.ru\n"
                           "Тип устройства,WI-FI\n";
    const CliRun write = Run({"module", "write", "--input", File("m.csv", csv)});
    ASSERT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(m_sim.sim().param(5, 7, 0), "1");
    const CliRun read = Run({"module", "read"});
    ASSERT_EQ(read.status, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "Параметр,Значение\n"
                        "IP сервера,192.168.1.10\n"
                        "Порт сервера,8080\n"
                        "DNS сервера,\n"
                        "APN GSM,internet.mts.ru\n"
                        "APN WI-FI,\n"
                        "Пароль WI-FI,\n"
                        "Тип устройства,WI-FI\n");

    const CliRun badType = Run({"module", "write", "--input", File("t.csv", "Параметр,Значение\nТип устройства,LTE\n")});
    EXPECT_EQ(badType.status, 2);
    const CliRun badPort = Run({"module", "write", "--input", File("p.csv", "Параметр,Значение\nПорт сервера,80a\n")});
    EXPECT_EQ(badPort.status, 2);
    EXPECT_TRUE(badPort.err.contains("Порт сервера")) << badPort.err.toStdString();

    ASSERT_TRUE(m_sim.sim().applyFault("error p 15"));
    const CliRun failed = Run({"module", "read"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "ВНИМАНИЕ!\nНе удалось прочитать параметр IP сервера!\n");
}

TEST_F(CliSimTest, RegistrationDataComesOutAsKeyValueLinesAndGoesBackIn)
{
    RegistrationData d;
    d.RegNum = 1234567890123456;
    d.InnUser = 7701234567;
    d.ModeFlags = 5;
    d.AgentFlags = 64;
    d.NameCassir = "Иванов И.И.";
    d.NameUser = {"ООО \"Ромашка\"", "", "", "", "строка 5"};
    d.WebsiteFNS = {"www.nalog.gov.ru", ""};
    m_sim.sim().setRegistration(d);

    const CliRun data = Run({"regdata"});
    ASSERT_EQ(data.status, 0) << data.err.toStdString();
    const QStringList lines = data.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains("RegNum=1234567890123456"));
    EXPECT_TRUE(lines.contains("ModeFlags=5"));
    EXPECT_TRUE(lines.contains("NameUser1=ООО \"Ромашка\""));
    EXPECT_TRUE(lines.contains("NameUser5=строка 5"));
    EXPECT_TRUE(lines.contains("WebsiteFNS1=www.nalog.gov.ru"));
    EXPECT_TRUE(lines.contains("Place4="));
    EXPECT_FALSE(lines.contains("Place5="));
    EXPECT_TRUE(lines.contains("EmailSender2="));

    // What the request gave, edited and sent back, is what the register then holds.
    QString edited = data.out;
    edited.replace("InnUser=7701234567", "InnUser=500100732259").replace("Adress1=", "Adress1=г. Москва");
    const QString file = File("reg.txt", edited.toUtf8());
    const CliRun reg = Run({"register", "--input", file});
    ASSERT_EQ(reg.status, 0) << reg.err.toStdString();
    EXPECT_EQ(reg.out, "Регистрация выполнена успешно!\n");
    const RegistrationData held = m_sim.sim().registration();
    EXPECT_EQ(held.InnUser, 500100732259u);
    EXPECT_EQ(held.Adress[0], "г. Москва");
    EXPECT_EQ(held.NameUser, d.NameUser);
    EXPECT_EQ(held.AgentFlags, 64);

    const CliRun rereg = Run({"reregister", "--input", file, "--reasons", "1,3"});
    EXPECT_EQ(rereg.status, 0) << rereg.err.toStdString();
    EXPECT_EQ(rereg.out, "Перерегистрация выполнена успешно!\n");
}

TEST_F(CliSimTest, RegistrationFilesThatCannotTravelSendNothing)
{
    struct Case {
        QByteArray file;
        QString part;
    };
    const Case cases[] = {
        {"RegNum=12x\nInnUser=1\nInnOFD=1\nInnCassir=1\n", "'12x' is not a valid integer value"},
        {"RegNum=1\nInnUser=1\nInnOFD=1\nInnCassir=1\nColour=red\n", "строка 5: неизвестный ключ \"Colour\""},
        {"RegNum=1\nRegNum=2\n", "ключ \"RegNum\" уже задан в строке 1"},
        {"NameUser6=x\n", "неизвестный ключ \"NameUser6\""},
        {"Adress1=" + QByteArray(25, 'x') + "\n", "строка длиннее 24"},
        {"TaxFlags=64\n", "от 0 до 63"},
        {"SetPrinter=2\n", "0 или 1"},
        {"RegNum=1\nInnUser=1099511627776\nInnOFD=1\nInnCassir=1\n", "вне допустимого диапазона"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run({"register", "--input", File("r.txt", c.file)});
        EXPECT_EQ(run.status, 2) << c.file.toStdString();
        EXPECT_TRUE(run.err.contains(c.part)) << run.err.toStdString();
    }
    const CliRun reasons = Run({"reregister", "--input", Path("r.txt"), "--reasons", "1,5"});
    EXPECT_EQ(reasons.status, 2);
    EXPECT_EQ(m_sim.sim().requestCount(), 0);

    ASSERT_TRUE(m_sim.sim().applyFault("error x 33"));
    const CliRun failed = Run({"register", "--input", File("ok.txt", "RegNum=1\nInnUser=1\nInnOFD=1\nInnCassir=1\n")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "Внимание!\nОшибка (33) при регистрации кассы!\n");
}

TEST_F(CliSimTest, LinkOptionsDefaultToTheSettingsFile)
{
    const QString ini = Path("mine.ini");
    WriteAll(ini, "[COM_PORT]\r\nName=\x7f" + m_sim.portName().toUtf8() + "\x7f\r\nSpeed=115200\r\nTimeOut=300\r\n\r\n[COMMON]\r\nNumKKT=1\r\n");
    const CliRun fromFile = RunTool({"--settings", ini, "status"});
    EXPECT_EQ(fromFile.status, 0) << fromFile.err.toStdString();

    // A register number the simulator does not answer: the option wins over the file.
    m_sim.sim().setNumber(1);
    EXPECT_EQ(RunTool({"--settings", ini, "--number", "2", "--timeout", "100", "status"}).status, 1);

    const CliRun noFile = RunTool({"--settings", Path("none.ini"), "status"});
    EXPECT_EQ(noFile.status, 2);
    const CliRun badSpeed = RunTool({"--settings", ini, "--speed", "fast", "status"});
    EXPECT_EQ(badSpeed.status, 2);
    EXPECT_EQ(badSpeed.err, "kkt-cli: --speed: 'fast' is not a valid integer value\n");
    const CliRun noPort = RunTool({"--settings", File("empty.ini", ""), "status"});
    EXPECT_EQ(noPort.status, 2);
    EXPECT_TRUE(noPort.err.contains("--port")) << noPort.err.toStdString();
}

TEST_F(CliSimTest, UsageErrorsNameWhatWasWrong)
{
    struct Case {
        QStringList words;
        QString err;
    };
    const QList<Case> cases{
        {{"--colour", "red", "status"}, "kkt-cli: неизвестный параметр \"--colour\"\n"},
        {{"read", "tables"},
         "kkt-cli: read: неизвестная таблица \"tables\" (есть: operators, goods, sections, cliche, agents, enterprises, stations)\n"},
        {{"read", "goods", "--format", "json"}, "kkt-cli: read: неизвестный параметр \"--format\"\n"},
        {{"frobnicate"}, "kkt-cli: неизвестная команда \"frobnicate\" (kkt-cli --help - список команд)\n"},
        {{"read", "goods", "--range"}, "kkt-cli: read: параметру \"--range\" нужно значение\n"},
        {{"status", "now"}, "kkt-cli: status: лишний аргумент \"now\"\n"},
        {{"module", "erase"}, "kkt-cli: module: неизвестное действие \"erase\" (есть: read, write)\n"},
        {{"read", "operators", "--output", "x.xls"}, "kkt-cli: read: таблица пишется в файл .csv или .xlsx\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunTool(c.words);
        EXPECT_EQ(run.status, 2) << c.words.join(' ').toStdString();
        EXPECT_EQ(run.err, c.err);
    }
    const CliRun none = RunTool({});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.err.contains("COMMAND")) << none.err.toStdString();
}

TEST_F(CliSimTest, HelpForTheToolAndEveryCommand)
{
    const CliRun tool = RunTool({"--help"});
    EXPECT_EQ(tool.status, 0);
    for (const QString command : {"ports", "status", "read", "write", "clear-goods", "module", "regdata", "register",
                                   "reregister", "convert"}) {
        EXPECT_TRUE(tool.out.contains("\n  " + command + (command == "module" ? " read" : ""))) << command.toStdString();
        const CliRun help = RunTool({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith("kkt-cli " + command)) << help.out.toStdString();
        EXPECT_EQ(RunTool({"--help", command}).out, help.out);
    }
    EXPECT_EQ(m_sim.sim().requestCount(), 0);
}

TEST_F(CliSimTest, TheProgressBarIsDrawnOnlyForATerminal)
{
    const QString in = File("ops.csv", kOperatorsCsv);
    const CliRun quiet = Run({"write", "operators", "--input", in});
    EXPECT_EQ(quiet.err, "");
    const CliRun bar = Run({"write", "operators", "--input", in}, true);
    EXPECT_EQ(bar.status, 0);
    EXPECT_TRUE(bar.err.startsWith("\r[")) << bar.err.toStdString();
    EXPECT_TRUE(bar.err.endsWith("] 100%\n")) << bar.err.toStdString();
    const CliRun read = Run({"read", "goods", "--range", "1-200"}, true);
    EXPECT_TRUE(read.err.contains(" 50%"));
    EXPECT_FALSE(read.out.contains('%' ) && read.out.contains('\r'));
}

TEST_F(CliSimTest, GoodsAlsoTravelAsTheWindowsGoodsFiles)
{
    const QList<QStringList> rows{{"1", "Молоко", "4600000000017", "", "89,99", "2", ""},
                                  {"2", "Хлеб", "", "м", "45,50", "1", ""}};
    ASSERT_EQ(Run({"write", "goods", "--input", File("g.csv", TableCsv(TableId::Goods, rows)), "--range", "1-2"}).status, 0);

    const CliRun toDb = Run({"read", "goods", "--range", "1-2", "--output", Path("g.dbVaro")});
    ASSERT_EQ(toDb.status, 0) << toDb.err.toStdString();
    const CliRun to1c = Run({"read", "goods", "--range", "1-2", "--output", Path("g.1cdb")});
    ASSERT_EQ(to1c.status, 0) << to1c.err.toStdString();
    // Both are the windows' files: Windows-1251 text.
    EXPECT_TRUE(ReadAll(Path("g.1cdb")).contains(codepage::toCp1251("Молоко")));
    EXPECT_TRUE(ReadAll(Path("g.dbVaro")).contains(codepage::toCp1251("Хлеб")));

    ASSERT_EQ(Run({"clear-goods", "--yes"}).status, 0);
    const CliRun back = Run({"write", "goods", "--input", Path("g.1cdb"), "--range", "1-2"});
    ASSERT_EQ(back.status, 0) << back.err.toStdString();
    EXPECT_EQ(m_sim.sim().goods(1).name, "Молоко");
    EXPECT_EQ(m_sim.sim().goods(1).price, "8999");
    EXPECT_EQ(m_sim.sim().goods(1).barcode, "4600000000017");
    ASSERT_EQ(Run({"clear-goods", "--yes"}).status, 0);
    ASSERT_EQ(Run({"write", "goods", "--input", Path("g.dbVaro"), "--range", "1-2"}).status, 0);
    EXPECT_EQ(m_sim.sim().goods(2).name, "Хлеб");
    EXPECT_EQ(m_sim.sim().goods(2).section, "1");
    EXPECT_EQ(m_sim.sim().goods(2).marking, "м");  // the goods database file keeps the marking sign

    const CliRun notGoods = Run({"write", "operators", "--input", Path("g.1cdb")});
    EXPECT_EQ(notGoods.status, 2);
    EXPECT_EQ(notGoods.err, "kkt-cli: write: таблица читается из файла .csv или .xlsx\n");
}
