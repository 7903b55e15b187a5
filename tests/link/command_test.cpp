#include "scriptedport.h"

#include "text/conversion.h"
#include "link/framedump.h"
#include "link/kktlink.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct RecordingLog : KktFrameLog {
    QStringList entries;
    void DumpKktFrame(const uint8_t* frame, uint32_t count, bool isAnswer) override
    {
        entries << FrameDumpEntry(frame, count, isAnswer);
    }
};

class CommandTest : public ::testing::Test {
protected:
    CommandTest() : link([this] { return std::make_unique<ScriptedPort>(script); })
    {
        link.setFrameLog(&log);
        args.port = QStringLiteral("ttyS0");
        args.numKkt = 1;
    }
    const QByteArray& request(size_t i = 0) const { return script->writes.at(i); }
    uint8_t at(size_t offset, size_t i = 0) const { return static_cast<uint8_t>(request(i).at(offset)); }

    std::shared_ptr<PortScript> script = std::make_shared<PortScript>();
    RecordingLog log;
    KktLink link;
    KktLinkArgs args;
};

QByteArray Bytes(std::initializer_list<uint8_t> b)
{
    return QByteArray(reinterpret_cast<const char*>(std::data(b)), static_cast<qsizetype>(b.size()));
}

}  // namespace

TEST_F(CommandTest, StatusRequestIsByteExactAndRegisterNumberIsLittleEndian)
{
    script->answers = {MakeAnswer(31, 0)};
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(args, info), 0);
    EXPECT_EQ(request(), Bytes({0x17, 0x02, 0x01, 0x00, 0x00, 0x00, 0x75, 0x0B, 0x19, 0xB3, 0x00}));

    args.numKkt = 258;
    script->answers = {MakeAnswer(31, 0, {{16, Bytes({0x78, 0x56, 0x34, 0x12})}})};
    EXPECT_EQ(link.KktStatus(args, info), 0);
    EXPECT_EQ(request(1).mid(2, 4), Bytes({0x02, 0x01, 0x00, 0x00}));
    EXPECT_EQ(info.values[11], 0x12345678u);
    EXPECT_EQ(script->closes, 2);
}

TEST_F(CommandTest, BusyStatusesRepeatTheRequestUpToTenAttempts)
{
    script->repeatedAnswer = MakeAnswer(31, 21);
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(args, info), 21);
    EXPECT_EQ(script->writes.size(), 10u);
    EXPECT_EQ(log.entries.size(), 20);

    script->writes.clear();
    script->answers = {MakeAnswer(31, 20), MakeAnswer(31, 0)};
    EXPECT_EQ(link.KktStatus(args, info), 0);
    EXPECT_EQ(script->writes.size(), 2u);

    // Any other status ends at once and is the result.
    script->writes.clear();
    script->answers = {MakeAnswer(31, 2)};
    EXPECT_EQ(link.KktStatus(args, info), 2);
    EXPECT_EQ(script->writes.size(), 1u);
}

TEST_F(CommandTest, SilenceWrongChecksumAndTinyAnswersEndAfterOneRequest)
{
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(args, info), KKT_NO_ANSWER);
    EXPECT_EQ(script->writes.size(), 1u);
    ASSERT_EQ(log.entries.size(), 2);
    EXPECT_EQ(log.entries[1], QStringLiteral("Ответ пуст\r\n"));

    QByteArray bad = MakeAnswer(31, 0);
    bad[29] = static_cast<char>(bad[29] + 1);
    script->writes.clear();
    script->answers = {bad};
    EXPECT_EQ(link.KktStatus(args, info), KKT_BAD_CHECKSUM);
    EXPECT_EQ(script->writes.size(), 1u);

    // One to three bytes carry no status: a checksum error, even when they happen to "sum" right.
    for (const QByteArray& tiny : {Bytes({0x00}), Bytes({0x00, 0x00}), Bytes({0x05, 0x05, 0x00})}) {
        script->writes.clear();
        script->answers = {tiny};
        EXPECT_EQ(link.KktStatus(args, info), KKT_BAD_CHECKSUM) << tiny.toHex().constData();
        EXPECT_EQ(script->writes.size(), 1u);
    }
    EXPECT_FALSE(script->open);
}

TEST_F(CommandTest, PortThatDoesNotOpenSendsAndLogsNothing)
{
    script->openSucceeds = false;
    QString value;
    EXPECT_EQ(link.KktParam(args, KKT_READ, 0, 1, 1, value), KKT_PORT_FAILED);
    EXPECT_TRUE(script->writes.empty());
    EXPECT_TRUE(log.entries.isEmpty());

    // The same through the real port layer and a name that does not exist.
    KktLink real;
    real.setFrameLog(&log);
    args.port = QStringLiteral("/dev/no-such-port");
    EXPECT_EQ(real.KktParam(args, KKT_READ, 0, 1, 1, value), KKT_PORT_FAILED);
    EXPECT_TRUE(log.entries.isEmpty());
}

TEST_F(CommandTest, ParamAddressesTableRowFieldAndReadsTheSlot)
{
    script->answers = {MakeAnswer(74, 0)};
    QString value = QStringLiteral("10.0.0.1");
    EXPECT_EQ(link.KktParam(args, KKT_WRITE, 5, 3, 0, value), 0);
    EXPECT_EQ(request().size(), 79);
    EXPECT_EQ(at(6), 'p');
    EXPECT_EQ(at(7), 79);
    EXPECT_EQ(at(8), 0);
    EXPECT_EQ(at(9), 5);
    EXPECT_EQ(at(10), 3);
    EXPECT_EQ(at(11), 0);
    EXPECT_EQ(request().mid(12, 8), QByteArray("10.0.0.1"));
    EXPECT_EQ(at(76), 0x19);
    EXPECT_EQ(value, QStringLiteral("10.0.0.1"));  // write mode hands nothing back

    script->answers = {MakeAnswer(74, 0, {{7, QByteArray("ABC")}})};
    EXPECT_EQ(link.KktParam(args, KKT_READ, 0, 1, 1, value), 0);
    EXPECT_EQ(value, QStringLiteral("ABC"));
    EXPECT_EQ(request(1).mid(12, 64), QByteArray(64, '\0'));
}

TEST_F(CommandTest, ShortAnswerFieldsNeverComeFromTheRequestLeftInTheBuffer)
{
    // A status-only answer of 7 bytes with status 0: the value slot was not received, so it is empty
    // rather than the request's own text echoed back.
    script->answers = {MakeAnswer(7, 0)};
    QString value = QStringLiteral("секрет");
    EXPECT_EQ(link.KktParam(args, KKT_READ, 0, 1, 1, value), 0);
    EXPECT_EQ(value, QString());

    script->answers = {MakeAnswer(7, 0)};
    uint16_t code = 77;
    KktGoodsItem item{QStringLiteral("Хлеб"), QStringLiteral("4600000000000"), QStringLiteral("м"),
                      QStringLiteral("4500"), QStringLiteral("1"), QStringLiteral("1000")};
    EXPECT_EQ(link.KktGoods(args, KKT_WRITE, code, item), 0);
    EXPECT_NE(code, 77);
    EXPECT_FALSE(item.name.contains(QStringLiteral("Хлеб")));
    EXPECT_EQ(item.barcode, QStringLiteral("0"));
    EXPECT_EQ(item.price, QStringLiteral("0"));
    EXPECT_EQ(item.quantity, QStringLiteral("0"));
}

TEST_F(CommandTest, GoodsWriteLayoutAndConversions)
{
    script->answers = {MakeAnswer(72, 0)};
    uint16_t code = 1;
    KktGoodsItem item{QStringLiteral("A"), QStringLiteral("343434"), QStringLiteral("м"),
                      QStringLiteral("12345"), QStringLiteral("2"), QStringLiteral("1000")};
    EXPECT_EQ(link.KktGoods(args, KKT_WRITE, code, item), 0);
    const QByteArray& r = request();
    EXPECT_EQ(r.size(), 77);
    EXPECT_EQ(r.mid(9, 2), Bytes({0x01, 0x00}));
    EXPECT_EQ(at(11), 0x41);
    EXPECT_EQ(r.mid(57, 6), Bytes({0x8A, 0x3D, 0x05, 0x00, 0x00, 0x00}));
    EXPECT_EQ(at(63), 0x01);
    EXPECT_EQ(r.mid(64, 5), Bytes({0x39, 0x30, 0x00, 0x00, 0x00}));
    EXPECT_EQ(at(69), 0x02);
    EXPECT_EQ(r.mid(70, 4), Bytes({0xE8, 0x03, 0x00, 0x00}));
    EXPECT_EQ(at(74), 0x19);

    script->answers = {MakeAnswer(72, 0)};
    KktGoodsItem plain{QStringLiteral("B"), QString(), QStringLiteral("x"), QString(), QString(), QString()};
    EXPECT_EQ(link.KktGoods(args, KKT_WRITE, code, plain), 0);
    EXPECT_EQ(request(1).mid(57, 17), QByteArray(17, '\0'));

    // A price that is not a number fails before anything is sent; the port is closed.
    KktGoodsItem bad = item;
    bad.price = QStringLiteral("12,5");
    EXPECT_THROW(link.KktGoods(args, KKT_WRITE, code, bad), ConversionError);
    EXPECT_EQ(script->writes.size(), 2u);
    EXPECT_FALSE(script->open);
}

TEST_F(CommandTest, GoodsReadHandsBackTheRegistersItem)
{
    script->answers = {MakeAnswer(72, 0,
                                  {{4, Bytes({0x70, 0x17})},
                                   {6, QByteArray("\xD5\xEB\xE5\xE1")},
                                   {52, Bytes({0x8A, 0x3D, 0x05})},
                                   {58, Bytes({0x01})},
                                   {59, Bytes({0x39, 0x30})},
                                   {64, Bytes({0x03})},
                                   {65, Bytes({0xE8, 0x03})}})};
    uint16_t code = 6000;
    KktGoodsItem item;
    EXPECT_EQ(link.KktGoods(args, KKT_READ, code, item), 0);
    EXPECT_EQ(request().mid(11, 63), QByteArray(63, '\0'));
    EXPECT_EQ(code, 6000);
    EXPECT_EQ(item.name, QStringLiteral("Хлеб"));
    EXPECT_EQ(item.barcode, QStringLiteral("343434"));
    EXPECT_EQ(item.marking, QStringLiteral("м"));
    EXPECT_EQ(item.price, QStringLiteral("12345"));
    EXPECT_EQ(item.section, QStringLiteral("3"));
    EXPECT_EQ(item.quantity, QStringLiteral("1000"));

    script->answers = {MakeAnswer(72, 0, {{58, Bytes({0x02})}})};
    EXPECT_EQ(link.KktGoods(args, KKT_READ, code, item), 0);
    EXPECT_EQ(item.marking, QString());
}

TEST_F(CommandTest, AgentReadSendsOnlyTheNumberAndDecodesFiveBytesEarlier)
{
    QByteArray answer = MakeAnswer(251, 0,
                                   {{4, Bytes({0x03, 0x04})},
                                    {6, QByteArray("+79001234567")},
                                    {150, Bytes({0x15, 0xCD, 0x5B, 0x07})},
                                    {203, QByteArray("OP")},
                                    {243, Bytes({0x01})}});
    script->answers = {answer};
    KktAgentRecord agent;
    agent.number = 3;
    EXPECT_EQ(link.KktAgent(args, KKT_READ, agent), 0);
    EXPECT_EQ(request().size(), 256);
    EXPECT_EQ(at(7), 0);
    EXPECT_EQ(at(9), 3);
    EXPECT_EQ(request().mid(10, 243), QByteArray(243, '\0'));
    EXPECT_EQ(agent.sign, 4);
    EXPECT_EQ(agent.phoneSupplier, QStringLiteral("+79001234567"));
    EXPECT_EQ(agent.innOperator, 123456789u);
    EXPECT_EQ(agent.operation, QStringLiteral("OP"));
    EXPECT_EQ(agent.innSupplier, 1u);

    // Write mode fills every slot; the numbers are always written.
    script->answers = {MakeAnswer(251, 0)};
    agent.phoneOperator = QStringLiteral("+7123");
    agent.innSupplier = 0;
    EXPECT_EQ(link.KktAgent(args, KKT_WRITE, agent), 0);
    EXPECT_EQ(at(10, 1), 4);
    EXPECT_EQ(request(1).mid(232, 5), QByteArray("+7123"));
    EXPECT_EQ(request(1).mid(155, 5), Bytes({0x15, 0xCD, 0x5B, 0x07, 0x00}));
}

TEST_F(CommandTest, RegistrationRequestAndDataAnswerShareTheFieldLayout)
{
    RegistrationData d;
    d.RegNum = 0x01020304050607ULL;
    d.InnUser = 7707083893ULL;
    d.TaxFlags = 32;
    d.NameCassir = QString(45, QChar(0x041A));
    d.NameUser[0] = QStringLiteral("ООО Ромашка");
    d.InnCassir = 123456789012ULL;
    script->answers = {MakeAnswer(7, 0)};
    EXPECT_EQ(link.KktRegister(args, 0, {0, 0, 0, 0}, d), 0);
    const QByteArray& r = request();
    EXPECT_EQ(r.size(), 607);
    EXPECT_EQ(at(6), 'x');
    EXPECT_EQ(at(7), 0);
    EXPECT_EQ(r.mid(8, 5), QByteArray(5, '\0'));
    EXPECT_EQ(r.mid(13, 7), Bytes({0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(at(32), 32);
    EXPECT_EQ(r.mid(35, 40), QByteArray(40, '\xCA'));  // 45 letters cut to the 40-byte slot
    EXPECT_EQ(at(75), 0);
    EXPECT_EQ(r.mid(123, 24), QByteArray(24, '\0'));  // an empty memo line is 24 zero bytes
    EXPECT_EQ(at(604), 0x19);

    script->answers = {MakeAnswer(7, 0)};
    EXPECT_EQ(link.KktRegister(args, 1, {0, 1, 0, 1}, d), 0);
    EXPECT_EQ(request(1).mid(8, 5), Bytes({0x01, 0x00, 0x01, 0x00, 0x01}));

    // The data request answers with the same fields four bytes earlier.
    KktFrame answer;
    answer.buf[4] = 1;
    answer.PutFrameInt(5, 4, 0xFFFFFFFFULL);
    PutRegistrationFields(answer, 9, d);
    answer.buf[600] = 0x19;
    answer.count = 603;
    answer.SetFrameChecksum();
    script->answers = {QByteArray(reinterpret_cast<const char*>(answer.buf.data()), 603)};
    RegistrationData got;
    EXPECT_EQ(link.KktRegData(args, got), 0);
    EXPECT_EQ(request(2).size(), 11);
    EXPECT_EQ(at(7, 2), 0);
    EXPECT_EQ(got.Registered, 1);
    EXPECT_EQ(got.SerialNumber, 4294967295u);
    RegistrationData expected = d;
    expected.Registered = 1;
    expected.SerialNumber = 4294967295u;
    expected.NameCassir = QString(40, QChar(0x041A));
    EXPECT_EQ(got, expected);
}

TEST_F(CommandTest, ClearBaseHandsBackTheStatus)
{
    script->answers = {MakeAnswer(7, 5)};
    uint8_t status = 0;
    EXPECT_EQ(link.KktClearBase(args, status), 5);
    EXPECT_EQ(status, 5);
    EXPECT_EQ(request(), Bytes({0x17, 0x02, 0x01, 0x00, 0x00, 0x00, 0x63, 0x0B, 0x19, 0xA1, 0x00}));
}
