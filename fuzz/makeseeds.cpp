// Writes the seed corpora of the fuzz targets into the folder given as argument (one sub-folder per
// target), with the project's own writers: the simulator's answers, the file savers, the CSV writer
// and the test workbooks. Seeds stay small: files are cut to a few entries.
#include "entries/fuzzentries.h"
#include "sheetfixtures.h"

#include "app/myinifile.h"
#include "app/settings.h"
#include "files/configfile.h"
#include "files/csvtable.h"
#include "files/exchange1c.h"
#include "files/goodsdb.h"
#include "link/kktlink.h"
#include "scanner/scancfg.h"
#include "sim/kktsimulator.h"
#include "tables/tabledefs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <deque>

namespace {

QDir g_out;

void Seed(const char* target, const QString& name, const QByteArray& bytes)
{
    g_out.mkpath(QLatin1String(target));
    QFile f(g_out.filePath(QLatin1String(target) + u'/' + name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write seed %s/%s\n", target, qPrintable(name));
        std::exit(1);
    }
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text up to the start of its (n+1)-th section: an ini file cut to n sections.
QByteArray FirstSections(const QByteArray& text, int n)
{
    qsizetype at = -1;
    for (int i = 0; i <= n; ++i) {
        at = text.indexOf('[', at + 1);
        if (at < 0)
            return text;
    }
    return text.left(at);
}

// A line to the simulated register: records the requests, hands back its answers.
class SimLine final : public SerialPort {
public:
    SimLine(KktSimulator& sim, QList<QByteArray>& requests, QList<QByteArray>& answers)
        : m_sim(sim), m_requests(requests), m_answers(answers)
    {
    }
    bool open(const QString&, int32_t) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setReadTimeouts(int, int) override {}
    void purge() override {}
    int64_t write(const uint8_t* data, int64_t size) override
    {
        m_pending = QByteArray(reinterpret_cast<const char*>(data), size);
        m_requests.append(m_pending);
        return size;
    }
    int64_t read(uint8_t* data, int64_t max) override
    {
        const QByteArray answer = m_sim.handleFrame(m_pending).left(max);
        m_answers.append(answer);
        std::copy(answer.begin(), answer.end(), data);
        return answer.size();
    }
    int bytesQueued() const override { return 0; }
    QString errorString() const override { return {}; }

private:
    KktSimulator& m_sim;
    QList<QByteArray>& m_requests;
    QList<QByteArray>& m_answers;
    QByteArray m_pending;
    bool m_open = false;
};

QByteArray AnswerSeed(int command, int mode, const QList<QByteArray>& answers, bool fix)
{
    QByteArray seed;
    seed.append(char(command));
    seed.append(char(mode));
    for (const QByteArray& a : answers) {
        const uint16_t header = uint16_t(a.size()) | (fix ? 0x8000 : 0);
        seed.append(char(header & 0xFF));
        seed.append(char(header >> 8));
        seed.append(a);
    }
    return seed;
}

// Every command in both modes against a simulated register with some memory, plus a busy answer first.
void LinkSeeds()
{
    KktSimulator sim;
    sim.setParam(2, 3, 1, QStringLiteral("Секция 3"));
    sim.setGoods(5, {QStringLiteral("Товар №5"), QStringLiteral("4600000000005"), QStringLiteral("м"),
                     QStringLiteral("12345"), QStringLiteral("2"), QStringLiteral("1000")});
    KktAgentRecord agent;
    agent.number = 3;
    agent.sign = 4;
    agent.nameSupplier = QStringLiteral("Поставщик");
    agent.innSupplier = 7700123456;
    sim.setAgent(agent);
    RegistrationData reg;
    reg.NameCassir = QStringLiteral("Иванов И.И.");
    reg.InnUser = 7700123456;
    sim.setRegistration(reg);

    QList<QByteArray> requests;
    QList<QByteArray> answers;
    KktLink link([&] { return std::make_unique<SimLine>(sim, requests, answers); });
    KktLinkArgs args;
    args.port = QStringLiteral("seed");
    args.numKkt = 1;
    QByteArray frames;  // the line as the simulator hears it, for the frame assembler's seeds
    for (int command = 0; command < 7; ++command) {
        for (int mode = 0; mode < 2; ++mode) {
            answers.clear();
            requests.clear();
            switch (command) {
            case 0: { KktStatusInfo info; link.KktStatus(args, info); break; }
            case 1: { QString v = QStringLiteral("Секция 3"); link.KktParam(args, mode, 2, 3, 1, v); break; }
            case 2: {
                uint16_t code = 5;
                KktGoodsItem item = sim.goods(5);
                link.KktGoods(args, mode, code, item);
                break;
            }
            case 3: { KktAgentRecord a = agent; link.KktAgent(args, mode, a); break; }
            case 4: { uint8_t s = 0; link.KktClearBase(args, s); break; }
            case 5: { RegistrationData r; link.KktRegData(args, r); break; }
            default: link.KktRegister(args, mode, {0, 1, 0, 0}, reg); break;
            }
            const QString name = QStringLiteral("c%1m%2").arg(command).arg(mode);
            Seed("answers", name, AnswerSeed(command, mode, answers, false));
            QByteArray busy = answers.value(0);
            if (busy.size() > 3)
                busy[3] = 21;
            Seed("answers", name + QStringLiteral("-busy"), AnswerSeed(command, mode, {busy, answers.value(0)}, true));
            for (const QByteArray& r : requests) {
                frames.append(char(1));
                frames.append(char(std::min<qsizetype>(r.size(), 255)));
                frames.append(r.left(255));
                if (r.size() > 255) {
                    frames.append(char(0));
                    const QByteArray tail = r.mid(255, 255);
                    frames.append(char(tail.size()));
                    frames.append(tail);
                }
            }
        }
    }
    Seed("simframes", QStringLiteral("every-command"), "\n" + frames);
    Seed("simframes", QStringLiteral("faults"), "repeat 21 2;garbage 3 1;short 1;tiny 2 1;error T 5 7\n" + frames);
    Seed("simframes", QStringLiteral("noise"), "checksum 1;silence 1;close 3\n\x05\x04\xA5\x17\x02\x01\xC8\x05zz\x17\x02");
}

void GoodsRequestSeeds()
{
    Seed("goodsrequest", QStringLiteral("item"), QStringLiteral("Товар\n4600000000001\nм\n12345\n2\n1000").toUtf8());
    Seed("goodsrequest", QStringLiteral("empty"), "\n\n\n\n\n");
    Seed("goodsrequest", QStringLiteral("bad"), QStringLiteral("A\n12р\n\n -5\n+3\n2147483648").toUtf8());
}

void FileSeeds(const QString& tmp)
{
    const QString ini = tmp + QStringLiteral("/ProgSett.ini");
    TStructSetting sett;
    sett.NumKKT = 258;
    sett.PortSett.Name = QStringLiteral("COM3");
    SaveIniSettings(ini, sett);
    Seed("inifile", QStringLiteral("progsett"), ReadAll(ini));
    const QString scan = tmp + QStringLiteral("/Scan.cfg");
    SaveScanCfg(scan, {kScanModelPavo, QStringLiteral("COM4"), QStringLiteral("9600")});
    Seed("inifile", QStringLiteral("scancfg"), ReadAll(scan));
    {
        TmyIniFile doc(tmp + QStringLiteral("/doc.ini"));
        doc.mWriteString(QStringLiteral("Раздел"), QStringLiteral("Ключ"), QStringLiteral("  с пробелами  "));
        doc.WriteInteger(QStringLiteral("Раздел"), QStringLiteral("Число"), -42);
        doc.WriteString(QStringLiteral("Other"), QStringLiteral("Hex"), QStringLiteral("0x1F"));
        doc.UpdateFile();
    }
    Seed("inifile", QStringLiteral("document"), ReadAll(tmp + QStringLiteral("/doc.ini")));
    Seed("inifile", QStringLiteral("utf16"), QByteArray("\xFF\xFE[\0a\0]\0\r\0\n\0k\0=\0v\0", 20));

    TConfig config;
    config.Gsm.arrParam[0] = QStringLiteral("internet");
    const QString conf = tmp + QStringLiteral("/seed.conf");
    SaveConfigFile(conf, config);
    Seed("configfile", QStringLiteral("sections"), FirstSections(ReadAll(conf), 6));

    TGoodsTable goods = ResetGoodsTable();
    goods[0] = {QStringLiteral("Хлеб"), QStringLiteral("4600000000001"), QStringLiteral("м"), QStringLiteral("45.50"),
                QStringLiteral("1")};
    goods[1] = {QStringLiteral("Молоко \"3,2%\""), QString(), QString(), QStringLiteral("89.99"), QStringLiteral("2")};
    const QString db = tmp + QStringLiteral("/seed.dbVaro");
    SaveGoodsDbFile(db, goods);
    Seed("goodsdb", QStringLiteral("two-items"), FirstSections(ReadAll(db), 3));

    const QByteArray exported = Export1cdb(goods);
    const QList<QByteArray> lines = exported.split('\n');
    QByteArray cut;
    for (int i = 0; i < 4 && i < lines.size(); ++i)
        cut += lines[i] + '\n';
    Seed("exchange1c", QStringLiteral("short"), cut + "\x04\r\n");

    for (const auto& [name, book] : {std::pair{"heading", HeadingOnlyBook()}, std::pair{"prices", PricesBook()},
                                     std::pair{"formatted", FormattedBook()}, std::pair{"twosheets", TwoSheetsBook()}}) {
        const QString path = tmp + QStringLiteral("/%1.xlsx").arg(QLatin1String(name));
        WriteXlsx(path, book);
        Seed("xlsx", QLatin1String(name), ReadAll(path));
    }
    QString reason;
    if (MakeXlsFixtures(tmp, reason) == FixtureMake::Made) {
        for (const char* name : {"heading", "prices", "formatted", "twosheets"})
            Seed("xls", QLatin1String(name), ReadAll(tmp + QStringLiteral("/%1.xls").arg(QLatin1String(name))));
    } else {
        std::fprintf(stderr, "no .xls seeds: %s\n", qPrintable(reason));
    }
    // Workbooks of a spreadsheet program: formulas, BIFF5 byte texts, every kind of cell.
    const QString programs = QStringLiteral(KKT_SHEET_FIXTURES "/");
    for (const char* name : {"formulas-biff8", "formulas-biff5", "cellkinds-biff5"})
        Seed("xls", QLatin1String(name), ReadAll(programs + QLatin1String(name) + QLatin1String(".xls")));
    Seed("xlsx", QStringLiteral("formulas"), ReadAll(programs + QLatin1String("formulas.xlsx")));
}

void ScannerSeeds()
{
    Seed("scanner", QStringLiteral("ean13"), QByteArray("\x0e" "4600000000001\r", 15));
    Seed("scanner", QStringLiteral("ean8-split"), QByteArray("\x04" "4600\x05" "0001\r\x00\x09" "46000000\r", 22));
    Seed("scanner", QStringLiteral("datamatrix"),
         QByteArray("\x20" "0104600000000001215abcdefghij\x1d" "93\r"));
}

void CsvSeeds()
{
    for (int t = 0; t < kTableCount; ++t) {
        TGridData grid = InitGrid(TableId(t));
        for (int c = 1; c < grid.ColCount(); ++c)
            grid.SetCell(c, 1, QStringLiteral("Значение, \"%1\"").arg(c));
        Seed("csv", QStringLiteral("table%1").arg(t), char(t) + FormatCsv(GridCsvRecords(grid, 1, 2)));
    }
    // As spreadsheet programs save them: Windows-1251 with ";", UTF-8 with TAB.
    const QString programs = QStringLiteral(KKT_SHEET_FIXTURES "/");
    for (const char* name : {"goods-gnumeric-1251", "goods-gnumeric-utf8-tab"})
        Seed("csv", QLatin1String(name),
             char(TableId::Goods) + ReadAll(programs + QLatin1String(name) + QLatin1String(".csv")));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kkt-fuzz-seeds CORPUS-FOLDER\n");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir tmp;
    LinkSeeds();
    GoodsRequestSeeds();
    FileSeeds(tmp.path());
    ScannerSeeds();
    CsvSeeds();
    return 0;
}
