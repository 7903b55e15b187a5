#include "simrequest.h"

#include "text/codepage.h"

#include <gtest/gtest.h>

namespace {

QByteArray GoodsWriteA()
{
    return SimRequest('T', [](KktFrame& f) {
        f.buf[8] = KKT_WRITE;
        f.PutFrameInt(9, 2, 1);
        f.buf[11] = 'A';
        f.PutFrameInt(57, 6, 343434);
        f.buf[63] = 1;
        f.PutFrameInt(64, 5, 12345);
        f.buf[69] = 2;
        f.PutFrameInt(70, 4, 1000);
    });
}

QByteArray ParamRequest(uint8_t mode, uint8_t table, uint8_t row, uint8_t field, const QByteArray& slot = {})
{
    return SimRequest('p', [&](KktFrame& f) {
        f.buf[8] = mode;
        f.buf[9] = table;
        f.buf[10] = row;
        f.buf[11] = field;
        std::copy(slot.begin(), slot.end(), f.buf.begin() + 12);
    });
}

QByteArray Numbered(char command, uint8_t mode, int number)
{
    return SimRequest(command, [&](KktFrame& f) {
        f.buf[8] = mode;
        if (command == 'T')
            f.PutFrameInt(9, 2, static_cast<uint64_t>(number));
        else
            f.buf[9] = static_cast<uint8_t>(number);
    });
}

}  // namespace

TEST(SimHandler, EveryCommandIsAnsweredWithItsLengthStatusTerminatorAndChecksum)
{
    KktSimulator sim;
    const std::pair<QByteArray, int> cases[] = {
        {SimRequest('u'), 31},
        {ParamRequest(KKT_READ, 0, 1, 0), 74},
        {Numbered('T', KKT_READ, 1), 72},
        {Numbered('a', KKT_READ, 1), 251},
        {SimRequest('c'), 7},
        {SimRequest('g'), 603},
        {SimRequest('x'), 7},
    };
    for (const auto& [request, length] : cases) {
        SCOPED_TRACE(request.at(6));
        const QByteArray answer = sim.handleFrame(request);
        ASSERT_EQ(answer.size(), length);
        EXPECT_EQ(answer.left(4), SimBytes({0x17, 0x02, 0x01, 0x00}));
        EXPECT_EQ(ByteAt(answer, length - 3), 0x19);
        EXPECT_TRUE(ChecksumAgrees(answer));
    }
    EXPECT_EQ(sim.requestCount(), 7);
}

TEST(SimHandler, GoodsWriteAnswersTheStoredItemByteForByte)
{
    KktSimulator sim;
    const QByteArray answer = sim.handleFrame(GoodsWriteA());
    ASSERT_EQ(answer.size(), 72);
    EXPECT_EQ(answer.mid(4, 2), SimBytes({0x01, 0x00}));
    EXPECT_EQ(ByteAt(answer, 6), 0x41);
    EXPECT_EQ(answer.mid(7, 45), QByteArray(45, '\0'));
    EXPECT_EQ(answer.mid(52, 6), SimBytes({0x8A, 0x3D, 0x05, 0x00, 0x00, 0x00}));
    EXPECT_EQ(ByteAt(answer, 58), 0x01);
    EXPECT_EQ(answer.mid(59, 5), SimBytes({0x39, 0x30, 0x00, 0x00, 0x00}));
    EXPECT_EQ(ByteAt(answer, 64), 0x02);
    EXPECT_EQ(answer.mid(65, 4), SimBytes({0xE8, 0x03, 0x00, 0x00}));
    EXPECT_EQ(ByteAt(answer, 69), 0x19);

    // A later read gives the same item; the decoded view is what the link would hand back.
    const QByteArray read = sim.handleFrame(Numbered('T', KKT_READ, 1));
    EXPECT_EQ(read.mid(4, 65), answer.mid(4, 65));
    const KktGoodsItem item = sim.goods(1);
    EXPECT_EQ(item.name, QStringLiteral("A"));
    EXPECT_EQ(item.barcode, QStringLiteral("343434"));
    EXPECT_EQ(item.marking, QStringLiteral("м"));
    EXPECT_EQ(item.price, QStringLiteral("12345"));
    EXPECT_EQ(item.section, QStringLiteral("2"));
    EXPECT_EQ(item.quantity, QStringLiteral("1000"));
}

TEST(SimHandler, GoodsMarkingByteIsKeptAsSent)
{
    KktSimulator sim;
    sim.handleFrame(SimRequest('T', [](KktFrame& f) {
        f.PutFrameInt(9, 2, 6000);
        f.buf[63] = 2;
    }));
    const QByteArray read = sim.handleFrame(Numbered('T', KKT_READ, 6000));
    EXPECT_EQ(read.mid(4, 2), SimBytes({0x70, 0x17}));
    EXPECT_EQ(ByteAt(read, 58), 2);
    EXPECT_EQ(sim.goods(6000).marking, QString());
}

TEST(SimHandler, ParamSlotsReadBackByteExactIncludingZerosAndUnmappedBytes)
{
    KktSimulator sim;
    QByteArray abc("ABC");
    abc.append(QByteArray(61, '\0'));
    sim.handleFrame(ParamRequest(KKT_WRITE, 0, 6, 3, abc));
    QByteArray answer = sim.handleFrame(ParamRequest(KKT_READ, 0, 6, 3));
    ASSERT_EQ(answer.size(), 74);
    EXPECT_EQ(answer.mid(4, 3), SimBytes({0, 6, 3}));
    EXPECT_EQ(answer.mid(7, 64), abc);
    EXPECT_EQ(sim.param(0, 6, 3), QStringLiteral("ABC"));

    // A zero inside a text and the byte with no character survive the round trip.
    QByteArray odd = SimBytes({0x41, 0x00, 0x98, 0xC0, 0x20});
    odd.append(QByteArray(59, '\0'));
    sim.handleFrame(ParamRequest(KKT_WRITE, 5, 3, 0, odd));
    EXPECT_EQ(sim.paramBytes(5, 3, 0), odd);
    answer = sim.handleFrame(ParamRequest(KKT_READ, 5, 3, 0));
    EXPECT_EQ(answer.mid(7, 64), odd);
    EXPECT_EQ(answer.mid(4, 3), SimBytes({5, 3, 0}));
    // A read with text in its value slot changes nothing.
    sim.handleFrame(ParamRequest(KKT_READ, 5, 3, 0, QByteArray(64, 'x')));
    EXPECT_EQ(sim.paramBytes(5, 3, 0), odd);
}

TEST(SimHandler, CyrillicParamSetInProcessTravelsAsWindows1251)
{
    KktSimulator sim;
    ASSERT_TRUE(sim.setParam(7, 40, 0, QStringLiteral("Касса №1")));
    const QByteArray answer = sim.handleFrame(ParamRequest(KKT_READ, 7, 40, 0));
    EXPECT_EQ(answer.mid(7, 8), codepage::toCp1251(QStringLiteral("Касса №1")));
    EXPECT_FALSE(sim.setParam(7, 41, 0, QStringLiteral("x")));
}

TEST(SimHandler, RegistrationIsStoredAndReturnedByTheDataRequest)
{
    KktSimulator sim;
    RegistrationData before;
    before.SerialNumber = 0xFFFFFFFF;
    sim.setRegistration(before);
    QByteArray data = sim.handleFrame(SimRequest('g'));
    ASSERT_EQ(data.size(), 603);
    EXPECT_EQ(ByteAt(data, 4), 0);
    EXPECT_EQ(data.mid(5, 4), SimBytes({0xFF, 0xFF, 0xFF, 0xFF}));

    RegistrationData reg;
    reg.RegNum = 0x01020304050607;
    reg.InnUser = 7707083893;
    reg.NameCassir = QStringLiteral("Иванов И.И.");
    reg.NameOFD[1] = QStringLiteral("ОФД");
    reg.InnCassir = 123456789012;
    const QByteArray request = SimRequest('x', [&](KktFrame& f) { PutRegistrationFields(f, 13, reg); });
    ASSERT_EQ(request.size(), 607);
    const QByteArray answer = sim.handleFrame(request);
    EXPECT_EQ(answer, SimBytes({0x17, 0x02, 0x01, 0x00, 0x19, 0x33, 0x00}));

    data = sim.handleFrame(SimRequest('g'));
    EXPECT_EQ(ByteAt(data, 4), 1);
    EXPECT_EQ(data.mid(5, 4), SimBytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(data.mid(9, 591), request.mid(13, 591));
    RegistrationData after = sim.registration();
    reg.Registered = 1;
    reg.SerialNumber = 0xFFFFFFFF;
    EXPECT_EQ(after, reg);
}

TEST(SimHandler, AgentWriteStoresEveryFieldAndReadReturnsThemFiveBytesEarlier)
{
    KktSimulator sim;
    const QByteArray write = SimRequest('a', [](KktFrame& f) {
        f.buf[8] = KKT_WRITE;
        f.buf[9] = 10;
        f.buf[10] = 16;
        for (int i = 11; i <= 252; ++i)
            f.buf[i] = static_cast<uint8_t>(i);
    });
    sim.handleFrame(write);
    const QByteArray answer = sim.handleFrame(Numbered('a', KKT_READ, 10));
    ASSERT_EQ(answer.size(), 251);
    EXPECT_EQ(ByteAt(answer, 4), 10);
    EXPECT_EQ(answer.mid(5, 243), write.mid(10, 243));
    EXPECT_EQ(sim.agent(10).sign, 16);
    EXPECT_EQ(sim.agent(10).innSupplier, 0xFCFBFAF9F8u);
    // Other agents stay empty.
    EXPECT_EQ(sim.handleFrame(Numbered('a', KKT_READ, 9)).mid(5, 243), QByteArray(243, '\0'));
}

TEST(SimHandler, ClearBaseEmptiesTheGoodsOnly)
{
    KktSimulator sim;
    sim.handleFrame(GoodsWriteA());
    sim.handleFrame(ParamRequest(KKT_WRITE, 2, 1, 0, "X"));
    ASSERT_EQ(sim.goodsCount(), 1);
    EXPECT_EQ(sim.handleFrame(SimRequest('c')), SimBytes({0x17, 0x02, 0x01, 0x00, 0x19, 0x33, 0x00}));
    EXPECT_EQ(sim.goodsCount(), 0);
    EXPECT_EQ(sim.handleFrame(Numbered('T', KKT_READ, 1)).mid(6, 63), QByteArray(63, '\0'));
    EXPECT_EQ(sim.param(2, 1, 0), QStringLiteral("X"));
}

TEST(SimHandler, RefusesWhatTheRegisterCannotDoWithoutChangingItsMemory)
{
    KktSimulator sim;
    auto status = [&](const QByteArray& request) {
        const QByteArray answer = sim.handleFrame(request);
        EXPECT_TRUE(ChecksumAgrees(answer));
        return answer.size() > 3 ? ByteAt(answer, 3) : -1;
    };
    const uint64_t changes = sim.changeCount();

    QByteArray badSum = GoodsWriteA();
    badSum[75] = static_cast<char>(badSum[75] + 1);
    EXPECT_EQ(status(badSum), SIM_BAD_CHECKSUM);
    EXPECT_EQ(sim.handleFrame(badSum).size(), 72);

    QByteArray unknown = SimRequest('u');
    unknown[6] = 'z';
    const QByteArray refused = sim.handleFrame(unknown);
    EXPECT_EQ(refused.size(), 7);
    EXPECT_EQ(ByteAt(refused, 3), SIM_UNKNOWN_COMMAND);

    EXPECT_EQ(status(Numbered('T', KKT_WRITE, 0)), SIM_BAD_GOODS_CODE);
    EXPECT_EQ(status(Numbered('T', KKT_READ, 6001)), SIM_BAD_GOODS_CODE);
    EXPECT_EQ(status(Numbered('a', KKT_WRITE, 0)), SIM_BAD_AGENT);
    EXPECT_EQ(status(Numbered('a', KKT_READ, 11)), SIM_BAD_AGENT);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 1, 1, 0)), SIM_BAD_PARAM);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 0, 0, 0)), SIM_BAD_PARAM);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 0, 7, 0)), SIM_BAD_PARAM);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 4, 3, 3)), SIM_BAD_PARAM);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 5, 1, 1)), SIM_BAD_PARAM);
    EXPECT_EQ(status(ParamRequest(KKT_READ, 7, 41, 0)), SIM_BAD_PARAM);
    EXPECT_EQ(status(ParamRequest(2, 0, 1, 0)), SIM_BAD_REQUEST);
    EXPECT_EQ(status(SimRequest('x', [](KktFrame& f) { f.buf[8] = 2; })), SIM_BAD_REQUEST);
    EXPECT_EQ(status(GoodsWriteA().left(76)), SIM_BAD_REQUEST);
    QByteArray noTerminator = SimRequest('c');
    noTerminator[8] = 0;
    noTerminator[9] = static_cast<char>(ByteAt(noTerminator, 9) - 0x19);
    EXPECT_EQ(status(noTerminator), SIM_BAD_REQUEST);
    EXPECT_EQ(sim.changeCount(), changes);
    EXPECT_EQ(sim.goodsCount(), 0);
    EXPECT_FALSE(sim.registration().Registered);

    // The edges of every table are accepted.
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 4, 1, 4)), 0);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 4, 7, 1)), 0);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 6, 90, 1)), 0);
    EXPECT_EQ(status(ParamRequest(KKT_WRITE, 2, 8, 1)), 0);
}

TEST(SimHandler, AnswersOnlyItsOwnRegisterNumberAndEchoesItsLowByte)
{
    KktSimulator sim;
    EXPECT_EQ(ByteAt(sim.handleFrame(SimRequest('u', {}, 258)), 2), 0x02);
    sim.setNumber(258);
    EXPECT_TRUE(sim.handleFrame(SimRequest('u', {}, 2)).isEmpty());
    EXPECT_EQ(sim.handleFrame(SimRequest('u', {}, 258)).size(), 31);
    EXPECT_EQ(sim.requestCount(), 2);
    // Bytes that are no frame at all are not heard.
    EXPECT_TRUE(sim.handleFrame(SimBytes({0x17, 0x03, 0, 0, 0, 0, 'u'})).isEmpty());
    EXPECT_EQ(sim.requestCount(), 2);
}

TEST(SimHandler, StatusAnswerCarriesRegistrationFlagAndSerialNumber)
{
    KktSimulator sim;
    RegistrationData reg;
    reg.Registered = 1;
    reg.SerialNumber = 0x12345678;
    sim.setRegistration(reg);
    const QByteArray answer = sim.handleFrame(SimRequest('u'));
    EXPECT_EQ(ByteAt(answer, 4), 1);
    EXPECT_EQ(answer.mid(16, 4), SimBytes({0x78, 0x56, 0x34, 0x12}));
}
