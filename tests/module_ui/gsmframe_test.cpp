#include "app/session.h"
#include "app/ui/messages.h"
#include "module/gsmgrid.h"
#include "module/ui/gsmsettingframe.h"
#include "simserver.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A frame on a session; boxes are collected instead of shown.
struct FrameFixture : ::testing::Test {
    KktSession session;
    TKktRegister reg;
    TFrameGsmSetting frame{reg};
    QStringList boxes;

    void SetUp() override
    {
        SetMessageHandler([this](MsgKind, const QString& text) {
            boxes << text;
            return true;
        });
        frame.Init(session);
        frame.resize(900, 560);
        frame.show();
        QApplication::setActiveWindow(&frame);
    }
    void TearDown() override { SetMessageHandler({}); }

    void UseSim(TestSim& sim)
    {
        const KktLinkArgs a = sim.linkArgs();
        session.StructSett.PortSett.Name = a.port;
        session.StructSett.PortSett.Speed = a.speed;
        session.StructSett.PortSett.TimeOut = a.timeOut;
        session.StructSett.NumKKT = a.numKkt;
    }
    void Select(int row) { frame.sgGsm->setCurrentIndex(frame.Grid().index(row - 1, 1)); }
    // Types into the selected cell as a user does: the first key opens the editor, Enter commits.
    void Type(int row, const QString& keys)
    {
        Select(row);
        for (QChar c : keys) {
            auto* editor = frame.sgGsm->viewport()->findChild<QLineEdit*>();
            QTest::keyClick(editor ? static_cast<QWidget*>(editor) : frame.sgGsm, c.toLatin1());
        }
        if (auto* editor = frame.sgGsm->viewport()->findChild<QLineEdit*>())
            QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor commits on a queued call...
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // ...and goes later
    }
};

}  // namespace

TEST_F(FrameFixture, GridStartsEmptyWithItsCaptions)
{
    EXPECT_EQ(frame.CurrentGsmRow, 1);
    EXPECT_EQ(frame.sgGsm->columnWidth(0), 250);
    EXPECT_EQ(frame.sgGsm->columnWidth(1), 595);
    EXPECT_EQ(frame.Grid().data(frame.Grid().index(6, 0)).toString(), QStringLiteral("Тип устройства"));
    for (int row = 1; row <= gsm::kRows; ++row)
        EXPECT_TRUE(frame.Grid().Value(row).isEmpty());
    EXPECT_FALSE(frame.cbbDevice->isVisible());
    EXPECT_FALSE(frame.ProgressBar1->isVisible());
}

TEST_F(FrameFixture, TypedKeysMeetTheRowRules)
{
    Type(gsm::IpRow, QStringLiteral("19x2.168.100.2001"));
    EXPECT_EQ(frame.Grid().Value(gsm::IpRow), QStringLiteral("192.168.100.200"));
    Type(gsm::PortRow, QStringLiteral("80a801234"));
    EXPECT_EQ(frame.Grid().Value(gsm::PortRow), QStringLiteral("80801"));
    Type(gsm::ApnGsmRow, QString(40, QLatin1Char('g')));
    EXPECT_EQ(frame.Grid().Value(gsm::ApnGsmRow).size(), 32);
    EXPECT_EQ(frame.CurrentGsmRow, gsm::ApnGsmRow);
}

TEST_F(FrameFixture, TypeCellIsChosenWithTheSelectorOnly)
{
    Select(gsm::DeviceRow);
    ASSERT_TRUE(frame.cbbDevice->isVisible());
    const QRect cell = frame.sgGsm->visualRect(frame.Grid().index(gsm::DeviceRow - 1, 1));
    const QPoint at = frame.sgGsm->viewport()->mapTo(&frame, cell.topLeft());
    EXPECT_EQ(frame.cbbDevice->geometry(), QRect(at + QPoint(1, 1), cell.size() + QSize(1, 1)));
    EXPECT_EQ(frame.cbbDevice->currentIndex(), -1);  // the empty cell holds neither item

    QTest::keyClick(frame.sgGsm, Qt::Key_G);
    EXPECT_TRUE(frame.Grid().Value(gsm::DeviceRow).isEmpty());

    frame.cbbDevice->setCurrentIndex(1);
    Q_EMIT frame.cbbDevice->activated(1);
    EXPECT_EQ(frame.Grid().Value(gsm::DeviceRow), QStringLiteral("WI-FI"));

    frame.sgGsm->setFocus();
    EXPECT_FALSE(frame.cbbDevice->isVisible());
    EXPECT_EQ(frame.sgGsm->currentIndex(), frame.Grid().index(gsm::DeviceRow - 1, 1));

    // Entering again shows the cell's own type.
    frame.Grid().SetValue(gsm::DeviceRow, QStringLiteral("GSM"));
    frame.cbbDevice->show();
    frame.cbbDevice->setFocus();
    EXPECT_EQ(frame.cbbDevice->currentIndex(), 0);
}

TEST_F(FrameFixture, WriteThenReadThroughTheSimulator)
{
    TestSim sim;
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    UseSim(sim);
    const QStringList values{QStringLiteral("10.1.2.3"), QStringLiteral("7777"), QStringLiteral("ofd.example.ru"),
                             QStringLiteral("internet.mts.ru"), QStringLiteral("Магазин"),
                             QStringLiteral("пароль 1"), QStringLiteral("WI-FI")};
    for (int row = 1; row <= gsm::kRows; ++row)
        frame.Grid().SetValue(row, values[row - 1]);
    std::vector<int> progress;
    QObject::connect(frame.ProgressBar1, &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });

    frame.Button3->click();
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(progress, (std::vector<int>{0, 14, 29, 43, 57, 71, 86, 100}));
    EXPECT_FALSE(frame.ProgressBar1->isVisible());
    EXPECT_EQ(sim.sim().param(5, 5, 0), QStringLiteral("Магазин"));
    EXPECT_EQ(sim.sim().param(5, 7, 0), QStringLiteral("1"));

    TKktRegister otherReg;
    TFrameGsmSetting other(otherReg);
    other.Init(session);
    other.Button4->click();
    for (int row = 1; row <= gsm::kRows; ++row)
        EXPECT_EQ(other.Grid().Value(row), values[row - 1]) << row;
}

TEST_F(FrameFixture, FailingRowStopsWithItsCaption)
{
    TestSim sim;
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    UseSim(sim);
    ASSERT_TRUE(sim.sim().applyFault(QStringLiteral("error p 3 9")));
    frame.Button3->click();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("ВНИМАНИЕ!\r\nНе удалось записать параметр DNS сервера!")});
    EXPECT_EQ(sim.sim().requestCount(), 3);
    EXPECT_FALSE(frame.ProgressBar1->isVisible());
    EXPECT_TRUE(frame.Button3->isEnabled());

    boxes.clear();
    sim.sim().setParam(5, 7, 0, QStringLiteral("2"));
    ASSERT_TRUE(sim.sim().applyFault(QStringLiteral("clear")));
    frame.Button4->click();
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(frame.Grid().Value(gsm::DeviceRow), QStringLiteral("неизвестное устройство"));
}

TEST_F(FrameFixture, ChangedParametersAreMarkedAndWrittenAlone)
{
    TestSim sim;
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    UseSim(sim);
    sim.sim().setParam(5, 1, 0, QStringLiteral("10.0.0.1"));
    sim.sim().setParam(5, 2, 0, QStringLiteral("8080"));
    frame.Grid().SetValue(gsm::PortRow, QStringLiteral("9"));
    EXPECT_EQ(frame.Grid().MarkedCount(), 0);  // nothing read or written yet
    frame.Button4->click();
    EXPECT_EQ(frame.Grid().MarkedCount(), 0);

    Type(gsm::PortRow, QStringLiteral("9090"));
    Type(gsm::DnsRow, QStringLiteral("8.8.8.8"));
    EXPECT_EQ(frame.Grid().MarkedRows(), (QList<int>{gsm::PortRow, gsm::DnsRow}));
    EXPECT_EQ(frame.Grid().data(frame.Grid().index(1, 0)).toString(), QStringLiteral("* Порт сервера"));
    EXPECT_TRUE(frame.lblChanged->isVisible());
    const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
    if (!dir.isEmpty())
        frame.grab().save(QDir(dir).filePath(QStringLiteral("gsm-frame-marked.png")));
    frame.Grid().SetValue(gsm::DnsRow, QString());  // back to what the register holds
    EXPECT_EQ(frame.Grid().MarkedRows(), QList<int>{gsm::PortRow});

    const int before = sim.sim().requestCount();
    std::vector<int> progress;
    QObject::connect(frame.ProgressBar1, &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });
    frame.btnWriteChanged->click();
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(sim.sim().requestCount() - before, 1);
    EXPECT_EQ(progress, (std::vector<int>{0, 100}));
    EXPECT_EQ(sim.sim().param(5, 2, 0), QStringLiteral("9090"));
    EXPECT_EQ(frame.Grid().MarkedCount(), 0);
    EXPECT_FALSE(frame.lblChanged->isVisible());

    frame.btnWriteChanged->click();
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Внимание!\r\nНет изменённых параметров. Ничего не записано.")});
    EXPECT_EQ(sim.sim().requestCount() - before, 1);
}

// Renders the frame for a look: runs only when KKT_SHOT_DIR names a folder.
TEST_F(FrameFixture, Screenshot)
{
    const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "KKT_SHOT_DIR not set";
    Type(gsm::IpRow, QStringLiteral("192.168.100.200"));
    Type(gsm::PortRow, QStringLiteral("8080"));
    Select(gsm::DeviceRow);
    frame.ProgressBar1->setValue(43);
    frame.ProgressBar1->show();
    ASSERT_TRUE(frame.grab().save(QDir(dir).filePath(QStringLiteral("gsm-frame.png"))));
}
