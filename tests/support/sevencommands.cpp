#include "sevencommands.h"

#include <QFile>
#include <QTextStream>

namespace {

class TranscriptLog final : public KktFrameLog {
public:
    void DumpKktFrame(const uint8_t* frame, uint32_t count, bool isAnswer) override
    {
        text += (isAnswer ? QStringLiteral("< ") : QStringLiteral("> "))
            + QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(frame), int(count)).toHex(' '))
            + QLatin1Char('\n');
    }
    void result(char command, KktResult r) { text += QStringLiteral("= %1 %2\n").arg(QLatin1Char(command)).arg(r); }
    QString text;
};

RegistrationData SampleRegistration()
{
    RegistrationData d;
    d.RegNum = 1234567890123456ull;
    d.InnUser = 7701234567ull;
    d.InnOFD = 7704211201ull;
    d.ModeFlags = 5;
    d.AgentFlags = 2;
    d.TaxFlags = 1;
    d.SetPrinter = 1;
    d.NameCassir = QStringLiteral("Петрова А.В.");
    d.PosCassir = QStringLiteral("Кассир");
    d.NameUser[0] = QStringLiteral("ООО \"Ромашка\"");
    d.Adress[0] = QStringLiteral("г. Москва, ул. Ленина, д. 1");
    d.Place[0] = QStringLiteral("Магазин №1");
    d.WebsiteFNS[0] = QStringLiteral("www.nalog.gov.ru");
    d.EmailSender[0] = QStringLiteral("kassa@example.ru");
    d.NameOFD[0] = QStringLiteral("ОФД-Я");
    d.InnCassir = 500100732259ull;
    return d;
}

}  // namespace

QString SevenCommandsTranscript(KktLink& link, const KktLinkArgs& args)
{
    TranscriptLog log;
    KktFrameLog* previous = link.frameLog();
    link.setFrameLog(&log);

    KktStatusInfo status;
    log.result('u', link.KktStatus(args, status));

    QString cashier = QStringLiteral("Иванов И.И.");
    log.result('p', link.KktParam(args, KKT_WRITE, 0, 1, 1, cashier));
    QString readBack;
    log.result('p', link.KktParam(args, KKT_READ, 0, 1, 1, readBack));

    uint16_t code = 1;
    KktGoodsItem item{QStringLiteral("Молоко 3,2% 1 л"), QStringLiteral("4600000000011"), QStringLiteral("м"),
                      QStringLiteral("8950"), QStringLiteral("1"), QStringLiteral("1000")};
    log.result('T', link.KktGoods(args, KKT_WRITE, code, item));
    KktGoodsItem goodsBack;
    log.result('T', link.KktGoods(args, KKT_READ, code, goodsBack));

    KktAgentRecord agent;
    agent.number = 1;
    agent.sign = 4;
    agent.phoneSupplier = QStringLiteral("+79001234567");
    agent.nameSupplier = QStringLiteral("ИП Сидоров");
    agent.innSupplier = 770123456789ull;
    log.result('a', link.KktAgent(args, KKT_WRITE, agent));
    KktAgentRecord agentBack;
    agentBack.number = 1;
    log.result('a', link.KktAgent(args, KKT_READ, agentBack));

    log.result('x', link.KktRegister(args, 0, ReasonFlags{}, SampleRegistration()));
    RegistrationData data;
    log.result('g', link.KktRegData(args, data));
    uint8_t cleared = 0;
    log.result('c', link.KktClearBase(args, cleared));

    link.setFrameLog(previous);
    return log.text;
}

QString ExpectedSevenCommandsTranscript(const QString& sourceDir)
{
    QFile file(sourceDir + QStringLiteral("/tests/support/fixtures/seven-commands.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + file.fileName();
    return QString::fromLatin1(file.readAll());
}
