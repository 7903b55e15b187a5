#include "app/session.h"
#include "app/ui/messages.h"
#include "app/ui/uwait.h"
#include "fiscal/memolines.h"
#include "fiscal/ui/scrollbox.h"
#include "fiscal/ui/ufiscalization.h"
#include "fiscal/ui/ufiscalizationreason.h"
#include "simserver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

QColor LabelColour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

// A session on a fresh simulator; boxes are collected (kind and text) instead of shown.
struct FiscalFixture : ::testing::Test {
    TestSim sim;
    KktSession session;
    TfrmRegistratiobReason reasons;
    QStringList boxes;
    std::vector<MsgKind> kinds;

    void SetUp() override
    {
        ASSERT_TRUE(sim.started()) << sim.error().toStdString();
        const KktLinkArgs a = sim.linkArgs(300);
        session.StructSett.PortSett.Name = a.port;
        session.StructSett.PortSett.Speed = a.speed;
        session.StructSett.PortSett.TimeOut = a.timeOut;
        session.StructSett.NumKKT = a.numKkt;
        SetMessageHandler([this](MsgKind kind, const QString& text) {
            kinds.push_back(kind);
            boxes << text;
            return true;
        });
    }
    void TearDown() override { SetMessageHandler({}); }

    // The data a register holds after a registration with these values.
    static RegistrationData Sample()
    {
        RegistrationData d;
        d.Registered = 1;
        d.SerialNumber = 4294967295u;
        d.RegNum = 1234567890123456;
        d.InnUser = 771234567890;
        d.InnOFD = 7704211201;
        d.ModeFlags = 0b100101;
        d.AgentFlags = 0b1000001;
        d.TaxFlags = 0b100000;
        d.SetPrinter = 1;
        d.AkcizGood = 0;
        d.NameCassir = QStringLiteral("Иванова Мария Петровна");
        d.PosCassir = QStringLiteral("Старший кассир ");
        d.NameUser = {QStringLiteral("ООО \"Ромашка\""), QString(), QStringLiteral("филиал 2"), QString(), QString()};
        d.Adress = {QStringLiteral("г. Тверь"), QStringLiteral("ул. Советская, 5"), QString(), QString(), QString()};
        d.Place = {QStringLiteral("Торговый зал"), QString(), QString(), QString()};
        d.WebsiteFNS = {QStringLiteral("www.nalog.gov.ru"), QString()};
        d.EmailSender = {QStringLiteral("kassa@romashka.ru"), QString()};
        d.NameOFD = {QString(), QStringLiteral("ООО \"Такском\"")};
        d.NumAuto = QStringLiteral("АВТ-0017");
        d.InnCassir = 500100732259;
        return d;
    }
};

void ExpectEmptyMemos(const TfrmFiscalization& w)
{
    EXPECT_EQ(w.memoNameUser->toPlainText(), ResetMemoLines(5));
    EXPECT_EQ(w.memoAdress->toPlainText(), ResetMemoLines(5));
    EXPECT_EQ(w.memoPlace->toPlainText(), ResetMemoLines(4));
    EXPECT_EQ(w.memoWebsiteFNS->toPlainText(), ResetMemoLines(2));
    EXPECT_EQ(w.memoEmailSender->toPlainText(), ResetMemoLines(2));
    EXPECT_EQ(w.memoNameOFD->toPlainText(), ResetMemoLines(2));
}

}  // namespace

TEST_F(FiscalFixture, SilentRegisterGivesNumberTwoRedStateEmptyMemosAndNoRegistration)
{
    sim.sim().setRegistration(Sample());
    TfrmFiscalization w(session, reasons);
    w.show();
    EXPECT_EQ(LabelColour(w.lblFlagReg), QColor(0, 230, 115));
    EXPECT_EQ(w.lblFlagReg->text(), QStringLiteral("Касса зарегистрирована"));
    EXPECT_TRUE(w.btnRegistration->isEnabled());

    ASSERT_TRUE(sim.sim().applyFault(QStringLiteral("silence always")));
    w.btnFiscalDataRequest->click();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Внимание!\r\nОшибка (2) при запросе регистрационных данных!")});
    EXPECT_EQ(w.lblFlagReg->text(), QStringLiteral("Не удалось получить состояние кассы"));
    EXPECT_EQ(LabelColour(w.lblFlagReg), QColor(255, 0, 0));
    ExpectEmptyMemos(w);
    EXPECT_EQ(w.lbledtRegNum->text(), QStringLiteral("1234567890123456"));  // edits keep what they showed
    EXPECT_FALSE(w.btnRegistration->isEnabled());
    EXPECT_FALSE(w.btnReRegistration->isEnabled());
    EXPECT_FALSE(WaitWindow()->isVisible());
}

TEST_F(FiscalFixture, UnregisteredRegisterIsOrangeAndStillRegistrable)
{
    RegistrationData d;
    d.SetPrinter = 2;
    sim.sim().setRegistration(d);
    TfrmFiscalization w(session, reasons);
    EXPECT_FALSE(w.btnRegistration->isEnabled());  // before any request
    w.show();
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(w.lblFlagReg->text(), QStringLiteral("Касса не зарегистрирована"));
    EXPECT_EQ(LabelColour(w.lblFlagReg), QColor(248, 126, 5));
    EXPECT_FALSE(w.chkSetPrinter->isChecked());
    EXPECT_TRUE(w.btnRegistration->isEnabled());
    EXPECT_TRUE(w.btnReRegistration->isEnabled());
}

TEST_F(FiscalFixture, RegistrationRoundTripsEveryValue)
{
    const RegistrationData sample = Sample();
    TfrmFiscalization first(session, reasons);
    first.show();
    first.ShowForm(FormFromRegistration(sample));
    first.btnRegistration->click();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Регистрация выполнена успешно!")});
    EXPECT_EQ(kinds.back(), MsgKind::Information);
    EXPECT_FALSE(WaitWindow()->isVisible());

    RegistrationData held = sim.sim().registration();
    held.SerialNumber = sample.SerialNumber;
    EXPECT_TRUE(held == sample);

    TfrmFiscalization second(session, reasons);
    second.show();
    TFiscalForm shown = second.CollectForm();
    TFiscalForm sent = first.CollectForm();
    shown.SerialNumber = sent.SerialNumber;
    EXPECT_TRUE(shown == sent);
    EXPECT_EQ(second.memoNameOFD->toPlainText(), QStringLiteral("\nООО \"Такском\""));
    EXPECT_EQ(second.lbledtPosCassir->text(), QStringLiteral("Старший кассир "));
}

TEST_F(FiscalFixture, ReregistrationTakesTheReasonsAndCancelSendsNothing)
{
    sim.sim().setRegistration(Sample());
    TfrmFiscalization w(session, reasons);
    w.show();
    const int before = sim.sim().requestCount();

    QTimer::singleShot(0, &reasons, [this] { reasons.btnCancel->click(); });
    w.btnReRegistration->click();
    // Closing by the window manager counts as "Отмена" as well.
    QTimer::singleShot(0, &reasons, [this] { reasons.close(); });
    w.btnReRegistration->click();
    EXPECT_EQ(sim.sim().requestCount(), before);
    EXPECT_TRUE(boxes.isEmpty());

    QTimer::singleShot(0, &reasons, [this] {
        reasons.SetReasonTicked(1, true);  // "Смена ОФД"
        reasons.SetReasonTicked(3, true);  // "Смена настроек ККТ"
        reasons.btnCountinue->click();
    });
    w.btnReRegistration->click();
    ASSERT_EQ(sim.sim().requestCount(), before + 1);
    EXPECT_EQ(sim.sim().requests().back().mid(8, 5), QByteArray::fromHex("0100010001"));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Перерегистрация выполнена успешно!")});

    // The dialog keeps its ticks; a plain registration ignores them.
    EXPECT_EQ(reasons.Reasons(), (ReasonFlags{0, 1, 0, 1}));
    w.btnRegistration->click();
    EXPECT_EQ(sim.sim().requests().back().mid(8, 5), QByteArray(5, '\0'));
}

TEST_F(FiscalFixture, BadNumberIsReportedAndNothingSent)
{
    sim.sim().setRegistration(Sample());
    TfrmFiscalization w(session, reasons);
    w.show();
    const int before = sim.sim().requestCount();
    w.lbledtINNUser->setText(QStringLiteral("77a"));
    w.lbledtNameCassir->setText(QStringLiteral("другой"));
    w.btnRegistration->click();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("'77a' is not a valid integer value")});
    EXPECT_EQ(kinds.back(), MsgKind::Error);
    EXPECT_EQ(sim.sim().requestCount(), before);
    EXPECT_EQ(w.Data().NameCassir, Sample().NameCassir);
    EXPECT_FALSE(WaitWindow()->isVisible());
}

TEST_F(FiscalFixture, EditsAndMemosFilterTypedAndPastedText)
{
    TfrmFiscalization w(session, reasons);
    w.show();
    QApplication::setActiveWindow(&w);
    w.lbledtINNUser->clear();
    QTest::keyClicks(w.lbledtINNUser, QStringLiteral("77a12-345678901234"));
    EXPECT_EQ(w.lbledtINNUser->text(), QStringLiteral("771234567890"));
    w.lbledtSerialNumber->clear();
    QTest::keyClicks(w.lbledtSerialNumber, QStringLiteral("1234567890"));
    EXPECT_EQ(w.lbledtSerialNumber->text(), QStringLiteral("123456789"));

    // Two lines shown in a two-line memo: Enter does nothing.
    w.memoWebsiteFNS->setPlainText(QStringLiteral("a\nb"));
    QTest::keyClick(w.memoWebsiteFNS, Qt::Key_Return);
    EXPECT_EQ(w.memoWebsiteFNS->toPlainText(), QStringLiteral("a\nb"));
    w.memoPlace->setPlainText(QString());
    QTest::keyClicks(w.memoPlace, QString(30, QLatin1Char('x')));
    EXPECT_EQ(w.memoPlace->toPlainText().size(), kMemoLineWidth);

    // Enter in a text edit presses no button of the window.
    const int requests = sim.sim().requestCount();
    QTest::keyClick(w.lbledtNameCassir, Qt::Key_Return);
    EXPECT_EQ(sim.sim().requestCount(), requests);
    EXPECT_TRUE(w.isVisible());

    w.memoNameUser->clear();
    w.memoNameUser->insertPlainText(QStringLiteral("1\n2\n3\n4\n5\n6\n7"));
    EXPECT_EQ(w.memoNameUser->toPlainText(), QStringLiteral("1\n2\n3\n4\n5"));
}

TEST_F(FiscalFixture, WheelMovesTheAreaByTwentyPixels)
{
    TfrmFiscalization w(session, reasons);
    w.show();
    QScrollBar* bar = w.ScrollBox->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);  // the area is taller than the window
    const auto wheel = [&](int dy) {
        const QPointF at(20, 20);
        QWheelEvent e(at, w.ScrollBox->viewport()->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.ScrollBox->viewport(), &e);
    };
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(bar->value(), 40);
    wheel(120);
    EXPECT_EQ(bar->value(), 20);
}

// Renders the window (top and bottom) and the reason dialog: only when KKT_SHOT_DIR names a folder.
TEST_F(FiscalFixture, Screenshots)
{
    const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "KKT_SHOT_DIR not set";
    sim.sim().setRegistration(Sample());
    TfrmFiscalization w(session, reasons);
    w.show();
    ASSERT_TRUE(w.grab().save(QDir(dir).filePath(QStringLiteral("fiscal-top.png"))));
    w.ScrollBox->verticalScrollBar()->setValue(w.ScrollBox->verticalScrollBar()->maximum());
    ASSERT_TRUE(w.grab().save(QDir(dir).filePath(QStringLiteral("fiscal-bottom.png"))));
    reasons.SetReasonTicked(1, true);
    reasons.show();
    ASSERT_TRUE(reasons.grab().save(QDir(dir).filePath(QStringLiteral("reason-dialog.png"))));
    reasons.hide();
}
