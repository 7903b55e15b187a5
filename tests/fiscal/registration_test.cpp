#include "fiscal/fiscalform.h"
#include "fiscal/registration.h"
#include "text/codepage.h"
#include "regport.h"

#include <gtest/gtest.h>

namespace {

// A window filled as a user would fill it, every number valid.
TFiscalForm FilledForm()
{
    TFiscalForm f;
    f.RegNum = QStringLiteral("1234567890123456");
    f.InnUser = QStringLiteral("771234567890");
    f.InnOFD = QStringLiteral("7704211201");
    f.InnCassir = QStringLiteral("500100732259");
    f.NameCassir = QStringLiteral("Иванов И.И.");
    f.PosCassir = QStringLiteral("Кассир");
    f.NameUser = QStringLiteral("ООО \"Ромашка\"");
    f.NumAuto = QStringLiteral("A-17");
    return f;
}

int IndexOf(const QStringList& list, const char* caption)
{
    const int i = static_cast<int>(list.indexOf(QString::fromUtf8(caption)));
    EXPECT_GE(i, 0) << caption;
    return i;
}

QByteArray Bytes(const QByteArray& frame, int from, int to)
{
    return frame.mid(from, to - from + 1);
}

}  // namespace

TEST(FiscalFlags, BitsFollowTheCheckBoxes)
{
    TFiscalForm f = FilledForm();
    f.Tax[static_cast<size_t>(IndexOf(TaxGroup().captions, "Патентная система налогообложения"))] = true;
    f.Agent.fill(true);
    f.Mode[static_cast<size_t>(IndexOf(ModeGroup().captions, "Автоматический режим"))] = true;
    RegistrationData d;
    QString error;
    ASSERT_TRUE(FormToRegistration(f, d, error)) << error.toStdString();
    EXPECT_EQ(d.TaxFlags, 32);
    EXPECT_EQ(d.AgentFlags, 127);
    EXPECT_EQ(d.ModeFlags, 4);
    EXPECT_EQ(AgentGroup().captions.size(), 7);
}

TEST(FiscalFlags, AnswerTicksOnlyTheSetBitsAndOnlyOneAsYes)
{
    RegistrationData d;
    d.TaxFlags = 0b100001;
    d.ModeFlags = 0xFF;  // bits beyond the six boxes are ignored
    d.SetPrinter = 2;
    d.AkcizGood = 1;
    const TFiscalForm f = FormFromRegistration(d);
    EXPECT_EQ(f.Tax, (std::array<bool, 6>{true, false, false, false, false, true}));
    EXPECT_EQ(f.Mode, (std::array<bool, 6>{true, true, true, true, true, true}));
    EXPECT_FALSE(f.SetPrinter);
    EXPECT_TRUE(f.AkcizGood);
}

TEST(RegistrationRequest, RegistrationSendsZeroFlagsAndTheLayout)
{
    FakeRegister reg;
    RegistrationData data;
    TFiscalForm f = FilledForm();
    f.NameCassir = QString(45, QChar(u'Ж'));
    f.Place = QStringLiteral("Склад\n\nЗал");
    const RegistrationReport r = RegistrationFun(reg.link, reg.args, 0, {0, 0, 0, 0}, f, data);
    EXPECT_EQ(r.outcome, RegistrationReport::Done);
    EXPECT_EQ(r.message, QStringLiteral("Регистрация выполнена успешно!"));
    const QByteArray& q = reg.lastRequest();
    ASSERT_EQ(q.size(), 607);
    EXPECT_EQ(q[6], 'x');
    EXPECT_EQ(q[7], 0);
    EXPECT_EQ(Bytes(q, 8, 12), QByteArray(5, '\0'));
    EXPECT_EQ(static_cast<uint8_t>(q[604]), KktFrame::kTerminator);
    // 1234567890123456 = 0x000462D53C8ABAC0, seven bytes little-endian.
    EXPECT_EQ(Bytes(q, 13, 19), QByteArray::fromHex("c0ba8a3cd56204"));
    // A 45-character cashier name travels as its first 40 characters.
    EXPECT_EQ(Bytes(q, 35, 74), codepage::toCp1251(QString(40, QChar(u'Ж'))));
    EXPECT_EQ(Bytes(q, 75, 80), codepage::toCp1251(QStringLiteral("Кассир")));
    // Place lines 1..4 at 339, 363, 387, 411: the empty second line is a slot of zeros.
    EXPECT_EQ(Bytes(q, 363, 386), QByteArray(24, '\0'));
    EXPECT_EQ(Bytes(q, 387, 389), codepage::toCp1251(QStringLiteral("Зал")));
    EXPECT_EQ(Bytes(q, 411, 434), QByteArray(24, '\0'));
    EXPECT_EQ(Bytes(q, 599, 603), QByteArray::fromHex("6395537074"));  // 500100732259
    EXPECT_EQ(data.NameCassir, f.NameCassir);                          // the record holds what was sent
}

TEST(RegistrationRequest, ReregistrationCarriesTheTickedReasons)
{
    FakeRegister reg;
    RegistrationData data;
    ReasonFlags reasons{};
    reasons[static_cast<size_t>(IndexOf(ReasonCaptions(), "Смена ОФД"))] = 1;
    reasons[static_cast<size_t>(IndexOf(ReasonCaptions(), "Смена настроек ККТ"))] = 1;
    const RegistrationReport r = RegistrationFun(reg.link, reg.args, 1, reasons, FilledForm(), data);
    EXPECT_EQ(r.message, QStringLiteral("Перерегистрация выполнена успешно!"));
    EXPECT_EQ(Bytes(reg.lastRequest(), 8, 12), QByteArray::fromHex("0100010001"));
}

TEST(RegistrationRequest, LinkFailureIsReportedWithItsNumber)
{
    FakeRegister reg;
    reg.state->silent = true;
    RegistrationData data;
    RegistrationReport r = RegistrationFun(reg.link, reg.args, 1, {}, FilledForm(), data);
    EXPECT_EQ(r.outcome, RegistrationReport::LinkFailed);
    EXPECT_EQ(r.message, QStringLiteral("Внимание!\r\nОшибка (2) при регистрации кассы!"));

    reg.state->silent = false;
    reg.state->status = 77;
    r = RegistrationFun(reg.link, reg.args, 0, {}, FilledForm(), data);
    EXPECT_EQ(r.message, QStringLiteral("Внимание!\r\nОшибка (77) при регистрации кассы!"));
}

TEST(RegistrationInput, BadNumberChangesNothingAndSendsNothing)
{
    FakeRegister reg;
    RegistrationData data;
    data.RegNum = 11;
    data.NameCassir = QStringLiteral("прежний");
    const RegistrationData before = data;

    TFiscalForm f = FilledForm();
    f.InnUser = QStringLiteral("77a1");  // RegNum before it converts fine
    RegistrationReport r = RegistrationFun(reg.link, reg.args, 0, {}, f, data);
    EXPECT_EQ(r.outcome, RegistrationReport::InputRejected);
    EXPECT_EQ(r.message, QStringLiteral("'77a1' is not a valid integer value"));
    EXPECT_EQ(data, before);
    EXPECT_TRUE(reg.state->writes.empty());

    f = FilledForm();
    f.InnCassir = QString();  // the last number converted
    r = RegistrationFun(reg.link, reg.args, 0, {}, f, data);
    EXPECT_EQ(r.message, QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(data, before);
    EXPECT_TRUE(reg.state->writes.empty());
}

TEST(RegistrationInput, NumbersThatDoNotFitTheirBytesAreRefused)
{
    FakeRegister reg;
    RegistrationData data;
    const RegistrationData before = data;
    for (const char* inn : {"-1", "1099511627776"}) {  // negative; 2^40 needs six bytes
        TFiscalForm f = FilledForm();
        f.InnOFD = QString::fromLatin1(inn);
        const RegistrationReport r = RegistrationFun(reg.link, reg.args, 0, {}, f, data);
        EXPECT_EQ(r.outcome, RegistrationReport::InputRejected) << inn;
        EXPECT_TRUE(r.message.contains(QStringLiteral("ИНН ОФД"))) << r.message.toStdString();
    }
    EXPECT_EQ(data, before);
    EXPECT_TRUE(reg.state->writes.empty());
    TFiscalForm f = FilledForm();
    f.InnOFD = QStringLiteral("1099511627775");
    EXPECT_EQ(RegistrationFun(reg.link, reg.args, 0, {}, f, data).outcome, RegistrationReport::Done);
}

TEST(DataRequest, AnswerFillsTheRecordAndTheWindowValues)
{
    FakeRegister reg;
    reg.state->held.Registered = 1;
    reg.state->held.SerialNumber = 0xFFFFFFFFu;
    reg.state->held.InnCassir = 0;
    reg.state->held.NameOFD = {QString(), QStringLiteral("ОФД Такском")};
    RegistrationData data;
    const DataRequestReport r = FiscalDataRequestFun(reg.link, reg.args, data);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(reg.lastRequest().size(), 11);
    EXPECT_EQ(reg.lastRequest()[7], 0);
    const TFiscalForm f = FormFromRegistration(data);
    EXPECT_EQ(f.SerialNumber, QStringLiteral("4294967295"));
    EXPECT_EQ(f.InnCassir, QStringLiteral("0"));
    EXPECT_EQ(f.NameOFD, QStringLiteral("\nОФД Такском"));
    EXPECT_EQ(RegStateOf(r, data), RegState::Registered);
}

TEST(DataRequest, FailedAnswerLeavesTheRecordAlone)
{
    FakeRegister reg;
    reg.state->status = 9;
    reg.state->held.RegNum = 5;
    RegistrationData data;
    data.RegNum = 1;
    const DataRequestReport r = FiscalDataRequestFun(reg.link, reg.args, data);
    EXPECT_EQ(r.message, QStringLiteral("Внимание!\r\nОшибка (9) при запросе регистрационных данных!"));
    EXPECT_EQ(data.RegNum, 1u);
    EXPECT_EQ(RegStateOf(r, data), RegState::Unknown);
    EXPECT_EQ(RegStateText(RegState::Unknown), QStringLiteral("Не удалось получить состояние кассы"));
}

TEST(FormRoundTrip, WhatIsSentComesBackAsTheSameWindow)
{
    TFiscalForm f = FilledForm();
    f.SerialNumber = QStringLiteral("0");
    f.WebsiteFNS = QStringLiteral("www.nalog.ru\n");
    f.EmailSender = QStringLiteral("\n");
    f.Adress = QStringLiteral("г. Москва\nул. Ленина, 1 \n\n\n");
    f.Place = QStringLiteral("\n\n\n");
    f.NameUser += QStringLiteral("\n\n\n\n");
    f.NameOFD = QStringLiteral("\n");
    f.Tax[1] = f.Mode[5] = f.Agent[0] = true;
    f.AkcizGood = true;
    RegistrationData d;
    QString error;
    ASSERT_TRUE(FormToRegistration(f, d, error));
    EXPECT_EQ(FormFromRegistration(d), f);
}
