// "Найти ККТ" in the link dialog and the main window's status bar: the search fills the fields, can
// be stopped, explains a failure; every register command's result is told in words.
#include "appuitest.h"

#include "app/mainwindow/mainform.h"
#include "app/session.h"
#include "app/ui/searchpanel.h"
#include "app/ui/settform.h"
#include "link/posix/posixserialport.h"
#include "simserver.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QMessageBox>
#include <cerrno>
#include <cstring>

namespace {

class SearchUiTest : public AppUiTest {
protected:
    void SetUp() override
    {
        AppUiTest::SetUp();
        session.StructSett.PortSett.Name = QStringLiteral("ttyS1");
        session.StructSett.PortSett.Speed = 9600;
        session.StructSett.PortSett.TimeOut = 3500;
        session.StructSett.NumKKT = 4;
    }

    std::unique_ptr<TFormSett> open(const QStringList& ports)
    {
        auto d = std::make_unique<TFormSett>(session, QStringList{QStringLiteral("ttyS1")} + ports);
        d->show();
        return d;
    }

    static bool waitIdle(TFormSett& d, int ms = 20000)
    {
        QDeadlineTimer deadline(ms);
        while (d.SearchPanel->Running() && !deadline.hasExpired())
            QTest::qWait(5);
        return !d.SearchPanel->Running();
    }

    KktSession session;
};

TEST_F(SearchUiTest, FindSelectsTheFirstRegisterAndApplyStillConfirms)
{
    TestSim silent, at19200(19200), at57600(57600);
    for (TestSim* s : {&silent, &at19200, &at57600})
        ASSERT_TRUE(s->started());
    ASSERT_TRUE(silent.sim().applyFault(QStringLiteral("silence always")));
    at19200.sim().setNumber(4);
    at57600.sim().setNumber(4);
    auto d = open({silent.devicePath(), at19200.devicePath(), at57600.devicePath()});
    d->Button4->click();
    EXPECT_EQ(d->Button4->text(), QStringLiteral("Остановить поиск"));
    EXPECT_FALSE(d->Button2->isEnabled());
    EXPECT_FALSE(d->ComboBox1->isEnabled());
    // Into the silent port's slower speeds.
    ASSERT_TRUE(QTest::qWaitFor([&] { return d->SearchPanel->StatusLabel->text().contains(QStringLiteral("57600")); }, 5000))
        << d->SearchPanel->StatusLabel->text().toStdString();
    EXPECT_TRUE(d->SearchPanel->Running());
    EXPECT_TRUE(d->SearchPanel->StatusLabel->text().startsWith(QStringLiteral("Поиск: ") + silent.devicePath()));
    SaveShot(*d, QStringLiteral("settform_searching"));
    ASSERT_TRUE(waitIdle(*d));
    // The dialog grows to the list of what answered.
    ASSERT_TRUE(QTest::qWaitFor([&] { return d->height() >= d->sizeHint().height(); }, 2000));
    SaveShot(*d, QStringLiteral("settform_found"));

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(d->ComboBox1->currentText(), at19200.devicePath());
    EXPECT_EQ(d->ComboBox2->currentText(), QStringLiteral("19200"));
    EXPECT_EQ(d->Button4->text(), QStringLiteral("Найти ККТ"));
    EXPECT_TRUE(d->ComboBox1->isEnabled());
    EXPECT_EQ(d->SearchPanel->Progress->value(), 100);
    const QString found = d->SearchPanel->FoundLabel->text();
    EXPECT_TRUE(found.contains(at19200.devicePath() + QStringLiteral(", 19200 бод"))) << found.toStdString();
    EXPECT_TRUE(found.contains(at57600.devicePath() + QStringLiteral(", 57600 бод"))) << found.toStdString();
    EXPECT_EQ(session.StructSett.PortSett.Name, QStringLiteral("ttyS1")) << "nothing applied before Применить";

    ASSERT_TRUE(d->Button2->isEnabled());
    d->Button2->click();
    EXPECT_EQ(session.StructSett.PortSett.Name, at19200.devicePath());
    EXPECT_EQ(session.StructSett.PortSett.Speed, 19200);
    EXPECT_EQ(session.StructSett.PortSett.TimeOut, 3500);

    // The port list tells what is behind a name; the name itself stays the port's.
    auto named = open({at57600.portName()});
    EXPECT_EQ(named->ComboBox1->itemText(1), at57600.portName());
    EXPECT_EQ(named->ComboBox1->itemData(1, Qt::ToolTipRole).toString(),
              QStringLiteral("симулятор ККТ, ") + at57600.devicePath());
}

TEST_F(SearchUiTest, StopPutsTheFieldsBackAndAFailedSearchSaysWhyForEveryPort)
{
    TestSim silent, busy;
    ASSERT_TRUE(silent.started());
    ASSERT_TRUE(busy.started());
    ASSERT_TRUE(silent.sim().applyFault(QStringLiteral("silence always")));
    auto d = open({silent.devicePath()});
    d->Button4->click();
    // Stopped while it waits on the silent port.
    ASSERT_TRUE(QTest::qWaitFor([&] { return d->SearchPanel->StatusLabel->text().contains(silent.devicePath()); }, 5000));
    d->Button4->click();
    ASSERT_TRUE(waitIdle(*d, 2000));
    EXPECT_EQ(d->ComboBox1->currentText(), QStringLiteral("ttyS1"));
    EXPECT_EQ(d->ComboBox2->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(d->SearchPanel->StatusLabel->text(), QStringLiteral("Поиск остановлен."));
    EXPECT_TRUE(messages.empty());
    PosixSerialPort free;
    EXPECT_TRUE(free.open(silent.devicePath(), 9600)) << "a stopped search leaves the port closed";
    free.close();

    PosixSerialPort holder;
    ASSERT_TRUE(holder.open(busy.devicePath(), 9600));
    const QString missing = runtimeDir.filePath(QStringLiteral("ttyUSB5"));
    auto e = open({busy.devicePath(), missing});
    e->Button4->click();
    ASSERT_TRUE(waitIdle(*e));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 2000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MsgKind::Information);
    // Each port's reason, with the system's own words where it gave any (here: no such file).
    const QString noFile = QString::fromLocal8Bit(std::strerror(ENOENT));
    EXPECT_EQ(messages[0].second, QStringLiteral("ВНИМАНИЕ!\r\nККТ не найдена!\r\n"
                                                 "ttyS1: не открывается: такого порта нет (устройство отключено?): ") +
                                      noFile + QStringLiteral("\r\n") + busy.devicePath() +
                                      QStringLiteral(": не открывается: порт занят другой программой\r\n") + missing +
                                      QStringLiteral(": не открывается: такого порта нет (устройство отключено?): ") + noFile)
        << messages[0].second.toStdString();
    EXPECT_EQ(e->ComboBox1->currentText(), QStringLiteral("ttyS1"));
    SaveShot(*e, QStringLiteral("settform_not_found"));
}

TEST_F(SearchUiTest, ConfirmingTheNotFoundBoxWithEnterLeavesTheDialogReady)
{
    SetMessageHandler({});  // the real box, confirmed by keys
    const QString missing = runtimeDir.filePath(QStringLiteral("ttyUSB5"));
    auto d = open({missing});
    int boxes = 0;
    QString boxText;
    bool searchingLookWithoutSearch = false;
    QTimer keys;
    QObject::connect(&keys, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        ++boxes;
        boxText = box->text();
        // The dialog behind the box is already out of its search.
        searchingLookWithoutSearch |= !d->ComboBox1->isEnabled() && !d->SearchPanel->Running();
        SaveShot(*box, QStringLiteral("settform_not_found_box"));
        // Enter confirms the box; the key repeats onto the dialog's "Найти ККТ" before the box's loop ends.
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(d->Button4, Qt::Key_Return);
    });
    keys.start(5);
    d->Button4->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes > 0 && !QApplication::activeModalWidget(); }, 20000));
    QTest::qWait(100);  // a second search, had one started, would have reported by now
    keys.stop();

    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(boxText.startsWith(QStringLiteral("ВНИМАНИЕ!\nККТ не найдена!"))) << boxText.toStdString();
    EXPECT_FALSE(searchingLookWithoutSearch);
    EXPECT_FALSE(d->SearchPanel->Running());
    EXPECT_EQ(d->Button4->text(), QStringLiteral("Найти ККТ"));
    EXPECT_TRUE(d->ComboBox1->isEnabled());
    EXPECT_TRUE(d->Button1->isEnabled());
    EXPECT_EQ(d->SearchPanel->StatusLabel->text(), QStringLiteral("ККТ не найдена."));
    SaveShot(*d, QStringLiteral("settform_after_not_found"));

    // The dialog still searches and stops on demand.
    TestSim silent;
    ASSERT_TRUE(silent.started());
    ASSERT_TRUE(silent.sim().applyFault(QStringLiteral("silence always")));
    auto e = open({silent.devicePath()});
    e->Button4->click();
    EXPECT_TRUE(e->SearchPanel->Running());
    e->Button4->click();
    ASSERT_TRUE(waitIdle(*e, 3000));
    EXPECT_EQ(e->Button4->text(), QStringLiteral("Найти ККТ"));
    EXPECT_TRUE(e->ComboBox1->isEnabled());
}

TEST_F(SearchUiTest, StatusBarExplainsEveryCommandOfTheSessionLink)
{
    TestSim sim;
    ASSERT_TRUE(sim.started());
    TFormMain w;
    KktSession& s = w.Session();
    KktLinkArgs args = sim.linkArgs(300);
    KktStatusInfo info;
    ASSERT_EQ(s.Link.KktStatus(args, info), KKT_OK);
    EXPECT_EQ(w.statusBar()->currentMessage(),
              QStringLiteral("Запрос состояния ККТ: выполнено (%1, 115200 бод).").arg(args.port));

    ASSERT_TRUE(sim.sim().applyFault(QStringLiteral("silence 1")));
    QString value;
    EXPECT_EQ(s.Link.KktParam(args, KKT_READ, 5, 1, 0, value), KKT_NO_ANSWER);
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith(
        QStringLiteral("Параметр ККТ: код 2 - нет ответа (%1, 115200 бод)").arg(args.port)));
    EXPECT_TRUE(w.statusBar()->currentMessage().endsWith(QStringLiteral("Поможет \"Найти ККТ\" в настройках связи.")));

    // The register's own status 2 is not the line's silence.
    ASSERT_TRUE(sim.sim().applyFault(QStringLiteral("error p 2")));
    EXPECT_EQ(s.Link.KktParam(args, KKT_READ, 5, 1, 0, value), 2);
    EXPECT_EQ(w.statusBar()->currentMessage(),
              QStringLiteral("Параметр ККТ: код 2 - ошибка, которую вернула сама ККТ (%1, 115200 бод).").arg(args.port));

    ASSERT_TRUE(sim.sim().applyFault(QStringLiteral("repeat 21 10")));
    uint8_t status = 0;
    EXPECT_EQ(s.Link.KktClearBase(args, status), 21);
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith(
        QStringLiteral("Очистка базы товаров: код 21 - ККТ осталась занята после 10 попыток")));

    args.port = QStringLiteral("ttyUSB7");
    EXPECT_EQ(s.Link.KktStatus(args, info), KKT_PORT_FAILED);
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith(
        QStringLiteral("Запрос состояния ККТ: код 1 - порт не открылся (%1, 115200 бод)").arg(args.port)));
    w.resize(966, 657);
    SaveShot(w, QStringLiteral("main_status_bar"));
}

}  // namespace
