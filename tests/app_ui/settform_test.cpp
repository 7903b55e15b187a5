// The link settings dialog: what it shows, its key filter and enabling rules, applying and the check.
#include "appuitest.h"

#include "app/session.h"
#include "app/ui/settform.h"
#include "simserver.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class SettFormTest : public AppUiTest {
protected:
    void SetUp() override
    {
        AppUiTest::SetUp();
        session.StructSett.PortSett.Name = QStringLiteral("ttyS1");
        session.StructSett.PortSett.Speed = 115200;
        session.StructSett.PortSett.TimeOut = 3500;
        session.StructSett.NumKKT = 7;
    }

    // Shown (not modal) so that the test can work its controls.
    std::unique_ptr<TFormSett> open(const QStringList& ports = {QStringLiteral("ttyS0"), QStringLiteral("ttyS1")})
    {
        auto d = std::make_unique<TFormSett>(session, ports);
        d->show();
        return d;
    }

    static void clear(QLineEdit* edit)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
    }

    void expectUnchanged() const
    {
        EXPECT_EQ(session.StructSett.PortSett.Name, QStringLiteral("ttyS1"));
        EXPECT_EQ(session.StructSett.PortSett.Speed, 115200);
        EXPECT_EQ(session.StructSett.PortSett.TimeOut, 3500);
        EXPECT_EQ(session.StructSett.NumKKT, 7);
    }

    KktSession session;
};

TEST_F(SettFormTest, OpensWithTheStoredSettingsAndApplyFocused)
{
    auto d = open();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Настройки связи с ККТ"));
    EXPECT_EQ(d->ComboBox1->currentText(), QStringLiteral("ttyS1"));
    EXPECT_EQ(d->ComboBox2->currentText(), QStringLiteral("115200"));
    EXPECT_EQ(d->ComboBox2->count(), 8);
    EXPECT_EQ(d->Edit1->text(), QStringLiteral("3500"));
    EXPECT_EQ(d->Edit2->text(), QStringLiteral("7"));
    EXPECT_TRUE(d->Button2->isEnabled());
    EXPECT_TRUE(d->Button3->isEnabled());
    EXPECT_EQ(d->focusWidget(), d->Button2);
    EXPECT_FALSE(d->ComboBox1->isEditable());
    EXPECT_FALSE(d->ComboBox2->isEditable());
    SaveShot(*d, QStringLiteral("link_dialog"));
}

TEST_F(SettFormTest, PortNamesMatchExactlyAndApplyWaitsForAChoice)
{
    session.StructSett.PortSett.Name = QStringLiteral("TTYS1");  // same letters, other case
    auto d = open();
    EXPECT_EQ(d->ComboBox1->currentIndex(), -1);
    EXPECT_FALSE(d->Button2->isEnabled());

    d->ComboBox1->setFocus();
    QTest::keyClick(d->ComboBox1, Qt::Key_Down);
    EXPECT_EQ(d->ComboBox1->currentIndex(), 0);
    EXPECT_TRUE(d->Button2->isEnabled());
}

TEST_F(SettFormTest, TimeOutAndNumberEditsEnableTheButtons)
{
    auto d = open();
    clear(d->Edit1);
    EXPECT_EQ(d->Edit1->text(), QString());
    EXPECT_FALSE(d->Button2->isEnabled());
    QTest::keyClicks(d->Edit1, QStringLiteral("0"));
    EXPECT_FALSE(d->Button2->isEnabled());
    clear(d->Edit1);
    QTest::keyClicks(d->Edit1, QStringLiteral("1000"));
    EXPECT_TRUE(d->Button2->isEnabled());
    // Too large for 32 bits is not a number.
    QTest::keyClicks(d->Edit1, QStringLiteral("0000000"));
    EXPECT_FALSE(d->Button2->isEnabled());

    clear(d->Edit2);
    EXPECT_FALSE(d->Button2->isEnabled());
    EXPECT_FALSE(d->Button3->isEnabled());
    QTest::keyClicks(d->Edit2, QStringLiteral("3"));
    EXPECT_TRUE(d->Button2->isEnabled());
    EXPECT_TRUE(d->Button3->isEnabled());
}

TEST_F(SettFormTest, OnlyDigitsAndBackspaceReachTheEdits)
{
    auto d = open();
    for (QLineEdit* edit : {d->Edit1, d->Edit2}) {
        clear(edit);
        QTest::keyClicks(edit, QStringLiteral("1a2 -3.+"));
        // A Cyrillic letter, as a Russian keyboard layout delivers it.
        QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("Й"));
        QApplication::sendEvent(edit, &cyrillic);
        EXPECT_EQ(edit->text(), QStringLiteral("123"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), QStringLiteral("12"));
    }
}

TEST_F(SettFormTest, ApplyTakesEveryField)
{
    auto d = open();
    d->ComboBox1->setCurrentIndex(0);
    d->ComboBox2->setCurrentIndex(0);
    clear(d->Edit1);
    QTest::keyClicks(d->Edit1, QStringLiteral("900"));
    clear(d->Edit2);
    QTest::keyClicks(d->Edit2, QStringLiteral("2147483647"));
    d->Button2->click();

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(session.StructSett.PortSett.Name, QStringLiteral("ttyS0"));
    EXPECT_EQ(session.StructSett.PortSett.Speed, 1200);
    EXPECT_EQ(session.StructSett.PortSett.TimeOut, 900);
    EXPECT_EQ(session.StructSett.NumKKT, 2147483647);
}

TEST_F(SettFormTest, ApplyWithABadNumberAppliesNothingAndStaysOpen)
{
    auto d = open();
    d->ComboBox1->setCurrentIndex(0);
    d->ComboBox2->setCurrentIndex(3);
    clear(d->Edit2);
    QTest::keyClicks(d->Edit2, QStringLiteral("99999999999"));
    ASSERT_TRUE(d->Button2->isEnabled());
    d->Button2->click();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, QStringLiteral("'99999999999' is not a valid integer value"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->result(), 0);
    expectUnchanged();
}

TEST_F(SettFormTest, ApplyWithoutASpeedKeepsThePortToo)
{
    session.StructSett.PortSett.Speed = 14400;  // not in the list
    auto d = open();
    EXPECT_EQ(d->ComboBox2->currentIndex(), -1);
    EXPECT_FALSE(d->Button2->isEnabled());
    d->ComboBox1->setFocus();
    QTest::keyClick(d->ComboBox1, Qt::Key_Up);  // the user picks ttyS0
    ASSERT_TRUE(d->Button2->isEnabled());
    d->Button2->click();

    EXPECT_EQ(texts(), QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(session.StructSett.PortSett.Name, QStringLiteral("ttyS1"));
    EXPECT_EQ(session.StructSett.PortSett.Speed, 14400);
}

TEST_F(SettFormTest, CancelAndCloseLeaveTheSettings)
{
    for (int way = 0; way < 2; ++way) {
        auto d = open();
        d->ComboBox1->setCurrentIndex(0);
        d->ComboBox2->setCurrentIndex(0);
        clear(d->Edit1);
        QTest::keyClicks(d->Edit1, QStringLiteral("50"));
        clear(d->Edit2);
        QTest::keyClicks(d->Edit2, QStringLiteral("9"));
        if (way == 0)
            d->Button1->click();
        else
            d->close();  // a platform close request
        EXPECT_EQ(d->result(), QDialog::Rejected);
        EXPECT_FALSE(d->isVisible());
        expectUnchanged();
    }
}

TEST_F(SettFormTest, CheckAgainstAMissingPortFailsAndChangesNothing)
{
    auto d = open({QStringLiteral("ttyS1"), runtimeDir.path() + QStringLiteral("/no-such-port")});
    d->ComboBox1->setCurrentIndex(1);
    clear(d->Edit1);
    QTest::keyClicks(d->Edit1, QStringLiteral("300"));
    d->Button3->click();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MsgKind::Confirmation);
    EXPECT_EQ(messages[0].second, QStringLiteral("ВНИМАНИЕ!\r\nНе удалось подключиться к ККТ!"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    expectUnchanged();
}

TEST_F(SettFormTest, CheckUsesTheDialogsValuesNotTheStoredOnes)
{
    TestSim sim;
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    auto d = open({QStringLiteral("ttyS1"), sim.portName()});
    d->ComboBox1->setCurrentIndex(1);
    clear(d->Edit1);
    QTest::keyClicks(d->Edit1, QStringLiteral("1000"));
    clear(d->Edit2);
    QTest::keyClicks(d->Edit2, QStringLiteral("1"));
    d->Button3->click();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MsgKind::Information);
    EXPECT_EQ(messages[0].second, QStringLiteral("Связь с ККТ установленна!"));
    EXPECT_TRUE(d->isVisible());
    expectUnchanged();
}

TEST_F(SettFormTest, CheckWithAnEmptyOrOversizedFieldSendsNothing)
{
    struct CountingLog : KktFrameLog {
        int frames = 0;
        void DumpKktFrame(const uint8_t*, uint32_t, bool) override { ++frames; }
    } log;
    session.Link.setFrameLog(&log);
    auto d = open({runtimeDir.path() + QStringLiteral("/no-such-port")});
    d->ComboBox1->setCurrentIndex(0);
    clear(d->Edit1);
    d->Button3->click();
    clear(d->Edit1);
    QTest::keyClicks(d->Edit1, QStringLiteral("100"));
    QTest::keyClicks(d->Edit2, QStringLiteral("99999999999"));
    d->Button3->click();

    const QString bad = QStringLiteral("ВНИМАНИЕ!\r\nНеккоректный параметр!");
    EXPECT_EQ(texts(), (QStringList{bad, bad}));
    EXPECT_EQ(messages[0].first, MsgKind::Information);
    EXPECT_EQ(log.frames, 0);
    session.Link.setFrameLog(nullptr);
    expectUnchanged();
}

}  // namespace
