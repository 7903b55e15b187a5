#include "simrequest.h"
#include "simserver.h"

#include "link/portnames.h"
#include "link/posix/simports.h"
#include "link/posix/posixserialport.h"
#include "sim/linknoise.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <thread>

namespace {

int RequestsOf(KktSimulator& sim, char command)
{
    int n = 0;
    for (const QByteArray& r : sim.requests())
        n += r.at(6) == command;
    return n;
}

}  // namespace

TEST(SimPty, AllSevenCommandsOverARealLine)
{
    TestSim t;
    ASSERT_TRUE(t.started());
    KktLink link;
    const KktLinkArgs args = t.linkArgs();

    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(args, info), 0);
    EXPECT_EQ(info.values[11], t.sim().registration().SerialNumber);

    QString value = QStringLiteral("Старший кассир");
    EXPECT_EQ(link.KktParam(args, KKT_WRITE, 0, 2, 0, value), 0);
    QString back;
    EXPECT_EQ(link.KktParam(args, KKT_READ, 0, 2, 0, back), 0);
    EXPECT_EQ(back, value);
    EXPECT_EQ(t.sim().param(0, 2, 0), value);

    uint16_t code = 6000;
    KktGoodsItem item{QStringLiteral("Сыр"), QStringLiteral("4600000000035"), QStringLiteral("м"),
                      QStringLiteral("69900"), QStringLiteral("3"), QStringLiteral("3500")};
    EXPECT_EQ(link.KktGoods(args, KKT_WRITE, code, item), 0);
    KktGoodsItem read;
    code = 6000;
    EXPECT_EQ(link.KktGoods(args, KKT_READ, code, read), 0);
    EXPECT_EQ(code, 6000);
    EXPECT_EQ(read.name, item.name);
    EXPECT_EQ(read.barcode, item.barcode);
    EXPECT_EQ(read.marking, item.marking);
    EXPECT_EQ(read.price, item.price);
    EXPECT_EQ(read.section, item.section);
    EXPECT_EQ(read.quantity, item.quantity);

    KktAgentRecord agent;
    agent.number = 4;
    agent.sign = 2;
    agent.phoneSupplier = QStringLiteral("+79001234567");
    agent.nameSupplier = QStringLiteral("ООО \"Вектор\"");
    agent.operation = QStringLiteral("Оплата");
    agent.innOperator = 7701234567;
    agent.innSupplier = 1099511627775;  // five bytes of ones
    EXPECT_EQ(link.KktAgent(args, KKT_WRITE, agent), 0);
    KktAgentRecord agentBack;
    agentBack.number = 4;
    EXPECT_EQ(link.KktAgent(args, KKT_READ, agentBack), 0);
    EXPECT_EQ(agentBack.sign, 2);
    EXPECT_EQ(agentBack.phoneSupplier, agent.phoneSupplier);
    EXPECT_EQ(agentBack.nameSupplier, agent.nameSupplier);
    EXPECT_EQ(agentBack.operation, agent.operation);
    EXPECT_EQ(agentBack.innOperator, agent.innOperator);
    EXPECT_EQ(agentBack.innSupplier, agent.innSupplier);

    RegistrationData reg;
    reg.RegNum = 1234567890123456;
    reg.InnUser = 7701234567;
    reg.TaxFlags = 5;
    reg.NameCassir = QStringLiteral("Иванова А.П.");
    reg.Adress = {QStringLiteral("г. Москва"), QStringLiteral("ул. Лесная"), QStringLiteral("д. 5"), {}, {}};
    reg.NumAuto = QStringLiteral("А123ВС");
    EXPECT_EQ(link.KktRegister(args, 0, ReasonFlags{}, reg), 0);
    RegistrationData regBack;
    EXPECT_EQ(link.KktRegData(args, regBack), 0);
    reg.Registered = 1;
    reg.SerialNumber = regBack.SerialNumber;
    EXPECT_EQ(regBack, reg);

    uint8_t status = 0xFF;
    EXPECT_EQ(link.KktClearBase(args, status), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(t.sim().goodsCount(), 0);
    EXPECT_EQ(t.sim().requestCount(), 10);
}

TEST(SimPty, BusyAndBrokenAnswersReachTheLinkAsResults)
{
    TestSim t;
    ASSERT_TRUE(t.started());
    KktLink link;
    const KktLinkArgs args = t.linkArgs(300);
    KktStatusInfo info;

    t.sim().applyFault(QStringLiteral("repeat 21 100"));
    EXPECT_EQ(link.KktStatus(args, info), 21);
    EXPECT_EQ(t.sim().requestCount(), 10);
    t.sim().applyFault(QStringLiteral("repeat 22 1"));
    EXPECT_EQ(link.KktStatus(args, info), 0);
    EXPECT_EQ(t.sim().requestCount(), 12);

    t.sim().applyFault(QStringLiteral("silence 1"));
    EXPECT_EQ(link.KktStatus(args, info), 2);
    EXPECT_EQ(link.KktStatus(args, info), 0);
    t.sim().applyFault(QStringLiteral("checksum 1"));
    EXPECT_EQ(link.KktStatus(args, info), 3);
    t.sim().applyFault(QStringLiteral("tiny 3 1"));
    EXPECT_EQ(link.KktStatus(args, info), 3);
    t.sim().applyFault(QStringLiteral("garbage 2 1"));
    EXPECT_EQ(link.KktStatus(args, info), 3);
    // The rest of that answer is purged before the next request.
    EXPECT_EQ(link.KktStatus(args, info), 0);
    EXPECT_EQ(t.sim().requestCount(), 18);
}

TEST(SimPty, ShortStatusAnswerIsAcceptedAfterTheLinePause)
{
    TestSim t;
    ASSERT_TRUE(t.started());
    KktLink link;
    t.sim().applyFault(QStringLiteral("short 1"));
    uint8_t status = 0xFF;
    EXPECT_EQ(link.KktClearBase(t.linkArgs(), status), 0);  // 7 bytes are its whole answer anyway
    t.sim().applyFault(QStringLiteral("short 1"));
    t.sim().applyFault(QStringLiteral("error u 9"));
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(t.linkArgs(3000), info), 9);
}

TEST(SimPty, ThirdOfFiveAgentsFailsWithTheInjectedStatus)
{
    TestSim t;
    ASSERT_TRUE(t.started());
    t.sim().applyFault(QStringLiteral("error a 3 2"));
    KktLink link;
    int failedAt = 0;
    KktResult result = 0;
    for (uint8_t n = 1; n <= 5 && failedAt == 0; ++n) {
        KktAgentRecord agent;
        agent.number = n;
        agent.sign = 16;
        result = link.KktAgent(t.linkArgs(), KKT_WRITE, agent);
        if (result != 0)
            failedAt = n;
    }
    EXPECT_EQ(failedAt, 3);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(t.sim().agent(2).sign, 16);
    EXPECT_EQ(t.sim().agent(3).sign, 0);
    EXPECT_EQ(RequestsOf(t.sim(), 'a'), 3);
}

TEST(SimPty, ClosedLineVanishesFromThePortList)
{
    TestSim t;
    ASSERT_TRUE(t.started());
    EXPECT_TRUE(GetCOM_Loop().contains(t.portName()));
    t.sim().applyFault(QStringLiteral("close 1"));
    KktLink link;
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(t.linkArgs(), info), 0);
    for (int i = 0; i < 100 && !t.server().lineClosed(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(t.server().lineClosed());
    EXPECT_EQ(link.KktStatus(t.linkArgs(), info), 1);
    EXPECT_FALSE(GetCOM_Loop().contains(t.portName()));
}

TEST(SimPty, PublishedNameIsOwnedUntilStopAndRemovedAfter)
{
    TestRuntimeDir runtime;
    SimPtyServer first;
    QString error;
    ASSERT_TRUE(first.start({QStringLiteral("kkt-sim-own"), 0}, &error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(first.linkPath()).symLinkTarget(), first.devicePath());
    EXPECT_EQ(QFileInfo(SimPublishDir()).permissions() & 0x0077, 0);  // no group or other bits
    EXPECT_EQ(GetCOM_Loop().filter(QStringLiteral("kkt-sim")), QStringList{QStringLiteral("kkt-sim-own")});

    SimPtyServer second;
    EXPECT_FALSE(second.start({QStringLiteral("kkt-sim-own"), 0}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("already published"))) << error.toStdString();
    EXPECT_EQ(QFileInfo(first.linkPath()).symLinkTarget(), first.devicePath());
    EXPECT_FALSE(second.start({QStringLiteral("ttyS0"), 0}, &error));
    EXPECT_FALSE(second.start({QStringLiteral("kkt-sim/../x"), 0}, &error));

    const QString link = first.linkPath();
    first.stop();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QDir(SimPublishDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty());

    // A link left behind by a simulator that died is taken over.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
    ASSERT_TRUE(second.start({QStringLiteral("kkt-sim-own"), 0}, &error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), second.devicePath());
}

TEST(SimPty, NoiseAndAnAbandonedFrameDoNotDerailTheNextRequest)
{
    TestSim t;
    ASSERT_TRUE(t.started());
    PosixSerialPort port;
    ASSERT_TRUE(port.open(t.portName(), 115200));
    port.setReadTimeouts(200, 1000);
    const QByteArray status = SimRequest('u');
    const QByteArray noisy = SimBytes({0x00, 0xFF, 0x17, 0x41}) + status;
    port.write(reinterpret_cast<const uint8_t*>(noisy.constData()), noisy.size());
    uint8_t answer[64] = {};
    EXPECT_EQ(port.read(answer, 31), 31);
    EXPECT_EQ(answer[3], 0);

    // Half a request, then silence on the line longer than the register waits.
    const QByteArray goods = SimRequest('T');
    port.write(reinterpret_cast<const uint8_t*>(goods.constData()), 30);
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    port.write(reinterpret_cast<const uint8_t*>(status.constData()), status.size());
    EXPECT_EQ(port.read(answer, 31), 31);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(answer), 7), SimBytes({0x17, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(t.sim().requestCount(), 2);

    // An unknown command is refused, not waited for.
    QByteArray unknown = status;
    unknown[6] = 'z';
    port.write(reinterpret_cast<const uint8_t*>(unknown.constData()), unknown.size());
    EXPECT_EQ(port.read(answer, 7), 7);
    EXPECT_EQ(answer[3], SIM_UNKNOWN_COMMAND);
}

TEST(SimPty, PacedLineTakesAtLeastItsLineTime)
{
    TestSim t(115200);
    ASSERT_TRUE(t.started());
    KktLink link;
    QString value;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(link.KktParam(t.linkArgs(), KKT_READ, 5, 1, 0, value), 0);
    // 79 bytes out and 74 back, ten bits each.
    const double lineMs = 5 * (79 + 74) * 10 * 1000.0 / 115200;
    EXPECT_GE(timer.nsecsElapsed() / 1e6, lineMs);
}

// A register set to one speed understands only clients at that speed; the others get noise.
TEST(SimPty, PacedRegisterAnswersOnlyAtItsOwnSpeed)
{
    TestSim t(19200);
    ASSERT_TRUE(t.started());
    KktLink link;
    KktStatusInfo info;
    KktLinkArgs args = t.linkArgs(500);
    for (int32_t wrong : {115200, 1200}) {
        args.speed = wrong;
        EXPECT_EQ(link.KktStatus(args, info), KKT_BAD_CHECKSUM) << "at " << wrong;
    }
    EXPECT_EQ(t.sim().requestCount(), 0) << "a request at the wrong speed is not understood";
    ASSERT_TRUE(t.sim().applyFault(QStringLiteral("silence 1")));
    EXPECT_EQ(link.KktStatus(args, info), KKT_NO_ANSWER) << "a register that hears nothing sends no noise either";
    args.speed = 19200;
    EXPECT_EQ(link.KktStatus(args, info), KKT_OK);
    EXPECT_EQ(t.sim().requestCount(), 1);

    // Unpaced, it answers whatever the client set.
    TestSim any;
    ASSERT_TRUE(any.started());
    KktLinkArgs anyArgs = any.linkArgs(500);
    anyArgs.speed = 1200;
    EXPECT_EQ(link.KktStatus(anyArgs, info), KKT_OK);
}

// The noise a client at the wrong speed receives never reads as an answer, whatever its length.
TEST(SimPty, LineNoiseNeverHoldsAFrame)
{
    for (int client : {1200, 9600, 115200}) {
        const QByteArray noise = LineNoise(QByteArray("\x17\x02\x01\x00\x00\x00u\x0b\x19", 9), kNoiseSourceBytes,
                                           1200, client);
        EXPECT_EQ(noise.size(), kNoiseSourceBytes * client / 1200);
        KktFrame f;
        for (int n = 4; n <= noise.size(); ++n) {
            std::copy(noise.begin(), noise.begin() + n, f.buf.begin());
            f.count = uint32_t(n);
            EXPECT_NE(f.CheckFrameChecksum(), 0) << "prefix " << n << " at " << client;
        }
    }
}
