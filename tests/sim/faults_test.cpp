#include "simrequest.h"

#include <gtest/gtest.h>

namespace {

QByteArray AgentRead(int number)
{
    return SimRequest('a', [&](KktFrame& f) {
        f.buf[8] = KKT_READ;
        f.buf[9] = static_cast<uint8_t>(number);
    });
}

QByteArray GoodsWrite(int code, char name)
{
    return SimRequest('T', [&](KktFrame& f) {
        f.PutFrameInt(9, 2, static_cast<uint64_t>(code));
        f.buf[11] = static_cast<uint8_t>(name);
    });
}

int Status(const QByteArray& answer)
{
    return answer.size() > 3 ? ByteAt(answer, 3) : -1;
}

}  // namespace

TEST(SimFaults, RepeatStatusLastsForItsCountAndDoesNotPerformTheRequest)
{
    KktSimulator sim;
    ASSERT_TRUE(sim.applyFault(QStringLiteral("repeat 21 2")));
    QByteArray answer = sim.handleFrame(GoodsWrite(5, 'B'));
    EXPECT_EQ(answer.size(), 72);
    EXPECT_EQ(Status(answer), 21);
    EXPECT_TRUE(ChecksumAgrees(answer));
    EXPECT_EQ(Status(sim.handleFrame(GoodsWrite(5, 'B'))), 21);
    EXPECT_EQ(sim.goodsCount(), 0);
    answer = sim.handleFrame(GoodsWrite(5, 'B'));
    EXPECT_EQ(Status(answer), 0);
    EXPECT_EQ(sim.goods(5).name, QStringLiteral("B"));
    EXPECT_EQ(sim.faults().repeatCount, 0);
}

TEST(SimFaults, SilenceSwallowsRequestsUnheard)
{
    KktSimulator sim;
    sim.applyFault(QStringLiteral("silence 2"));
    EXPECT_TRUE(sim.handleFrame(GoodsWrite(1, 'A')).isEmpty());
    EXPECT_TRUE(sim.handleFrame(SimRequest('u')).isEmpty());
    EXPECT_EQ(sim.handleFrame(SimRequest('u')).size(), 31);
    EXPECT_EQ(sim.goodsCount(), 0);

    sim.applyFault(QStringLiteral("silence always"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(sim.handleFrame(SimRequest('u')).isEmpty());
    sim.applyFault(QStringLiteral("clear"));
    EXPECT_EQ(sim.handleFrame(SimRequest('u')).size(), 31);
    EXPECT_EQ(sim.requestCount(), 9);
}

TEST(SimFaults, AnswerShapesAreDamagedOnlyForTheirCount)
{
    KktSimulator sim;
    sim.applyFault(QStringLiteral("checksum 1"));
    QByteArray answer = sim.handleFrame(SimRequest('u'));
    EXPECT_EQ(answer.size(), 31);
    EXPECT_FALSE(ChecksumAgrees(answer));
    EXPECT_TRUE(ChecksumAgrees(sim.handleFrame(SimRequest('u'))));

    sim.applyFault(QStringLiteral("short 1"));
    answer = sim.handleFrame(GoodsWrite(7, 'C'));
    EXPECT_EQ(answer, SimBytes({0x17, 0x02, 0x01, 0x00, 0x19, 0x33, 0x00}));
    EXPECT_EQ(sim.goods(7).name, QStringLiteral("C"));  // the register did the work, it only said less
    EXPECT_EQ(sim.handleFrame(SimRequest('u')).size(), 31);

    for (int length = 1; length <= 3; ++length) {
        sim.applyFault(QStringLiteral("tiny %1 1").arg(length));
        EXPECT_EQ(sim.handleFrame(SimRequest('u')), SimBytes({0x17, 0x02, 0x01}).left(length));
    }

    sim.applyFault(QStringLiteral("garbage 4 1"));
    answer = sim.handleFrame(SimRequest('c'));
    ASSERT_EQ(answer.size(), 11);
    EXPECT_EQ(answer.left(4), QByteArray(4, static_cast<char>(0xA5)));
    EXPECT_EQ(answer.mid(4), SimBytes({0x17, 0x02, 0x01, 0x00, 0x19, 0x33, 0x00}));
    EXPECT_EQ(sim.handleFrame(SimRequest('c')).size(), 7);
}

TEST(SimFaults, ShortAnswerKeepsAnErrorStatus)
{
    KktSimulator sim;
    sim.applyFault(QStringLiteral("short 1"));
    const QByteArray answer = sim.handleFrame(AgentRead(11));
    ASSERT_EQ(answer.size(), 7);
    EXPECT_EQ(Status(answer), SIM_BAD_AGENT);
    EXPECT_TRUE(ChecksumAgrees(answer));
}

TEST(SimFaults, ErrorRulesHitTheirCommandAndNumberUntilCleared)
{
    KktSimulator sim;
    ASSERT_TRUE(sim.applyFault(QStringLiteral("error a 3 2")));
    ASSERT_TRUE(sim.applyFault(QStringLiteral("error T 5")));
    EXPECT_EQ(Status(sim.handleFrame(AgentRead(2))), 0);
    const QByteArray third = sim.handleFrame(AgentRead(3));
    EXPECT_EQ(third.size(), 251);
    EXPECT_EQ(Status(third), 2);
    EXPECT_EQ(Status(sim.handleFrame(AgentRead(3))), 2);
    EXPECT_EQ(Status(sim.handleFrame(AgentRead(4))), 0);
    EXPECT_EQ(Status(sim.handleFrame(GoodsWrite(1, 'A'))), 5);
    EXPECT_EQ(Status(sim.handleFrame(GoodsWrite(6000, 'A'))), 5);
    EXPECT_EQ(sim.goodsCount(), 0);
    EXPECT_EQ(Status(sim.handleFrame(SimRequest('u'))), 0);

    sim.applyFault(QStringLiteral("error p 4 9"));
    const QByteArray row4 = SimRequest('p', [](KktFrame& f) {
        f.buf[8] = KKT_READ;
        f.buf[9] = 6;
        f.buf[10] = 4;
    });
    EXPECT_EQ(Status(sim.handleFrame(row4)), 9);

    sim.applyFault(QStringLiteral("clear"));
    EXPECT_EQ(Status(sim.handleFrame(AgentRead(3))), 0);
    EXPECT_EQ(Status(sim.handleFrame(GoodsWrite(1, 'A'))), 0);
}

TEST(SimFaults, CloseFiresOnceAfterItsCount)
{
    KktSimulator sim;
    sim.applyFault(QStringLiteral("close 2"));
    sim.handleFrame(SimRequest('u'));
    EXPECT_FALSE(sim.takeLineClose());
    EXPECT_EQ(sim.handleFrame(SimRequest('u')).size(), 31);  // the last request is still answered
    EXPECT_TRUE(sim.takeLineClose());
    EXPECT_FALSE(sim.takeLineClose());
    sim.handleFrame(SimRequest('u'));
    EXPECT_FALSE(sim.takeLineClose());
}

TEST(SimFaults, RequestsForAnotherRegisterDoNotUseFaultsUp)
{
    KktSimulator sim;
    sim.setNumber(7);
    sim.applyFault(QStringLiteral("silence 1"));
    EXPECT_TRUE(sim.handleFrame(SimRequest('u', {}, 8)).isEmpty());
    EXPECT_EQ(sim.faults().silenceCount, 1);
    EXPECT_TRUE(sim.handleFrame(SimRequest('u', {}, 7)).isEmpty());
    EXPECT_EQ(sim.handleFrame(SimRequest('u', {}, 7)).size(), 31);
}

TEST(SimFaults, FaultTextsThatMakeNoSenseAreRefusedAndChangeNothing)
{
    SimFaults faults;
    faults.silenceCount = 4;
    const SimFaults before = faults;
    QString error;
    for (const char* bad : {"", "silence", "silence x", "silence -1", "repeat 21", "repeat 300 1", "tiny 0 1",
                            "tiny 4 1", "garbage 0 1", "error ab 2", "error a", "error a 1 2 3", "close 0",
                            "delay -5", "bogus 1", "clear now"}) {
        SCOPED_TRACE(bad);
        error.clear();
        EXPECT_FALSE(ApplyFaultSpec(QString::fromLatin1(bad), faults, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(faults.silenceCount, before.silenceCount);
        EXPECT_TRUE(faults.errors.empty());
    }
    EXPECT_TRUE(ApplyFaultSpec(QStringLiteral("  DELAY   250 "), faults, &error));
    EXPECT_EQ(faults.delayMs, 250);
}
