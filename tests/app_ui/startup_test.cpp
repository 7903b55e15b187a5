// The main window's start-up, menu and frame switching, driven with the link dialog answered.
#include "appuitest.h"

#include "app/mainwindow/mainform.h"
#include "fiscal/ui/ufiscalization.h"
#include "scanner/scancfg.h"
#include "sim/scannerfeed.h"
#include "scanner/ui/scancontroller.h"
#include "tables/ui/gridview.h"
#include "tables/ui/shapecircle.h"
#include "app/myinifile.h"
#include "app/settings.h"
#include "app/ui/settform.h"
#include "app/ui/versionform.h"
#include "link/ui/udebugkkt.h"
#include "module/ui/gsmsettingframe.h"
#include "simserver.h"
#include "tables/ui/setvaroframe.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

const QString kNoPort = QStringLiteral(
    "ВНИМАНИЕ!\r\nНа ПК не обнаружено ни одного COM порта!\r\nСвязь с ККТ не будет установлена!");
const QString kUnreadable = QStringLiteral(
    "ВНИМАНИЕ!\r\nНе удалось прочитать файл настроек - ProgSett.ini!\r\n"
    "Попробуйте запустить программу от имени Администратора!");

class StartupTest : public AppUiTest {
protected:
    // Stored settings naming a port that the machine lists, so that "Применить" is available.
    void storeSettings(const QString& port)
    {
        TStructSetting s;
        s.PortSett.Name = port;
        s.PortSett.Speed = 9600;
        s.PortSett.TimeOut = 1200;
        s.NumKKT = 5;
        ASSERT_TRUE(SaveIniSettings(ProgSettPath(), s));
    }
    static bool programmingEnabled(TFormMain& w) { return w.MenuProgramming->menuAction()->isEnabled(); }
};

TEST_F(StartupTest, NoPortAtAllWarnsThenOffersAnEmptyPortList)
{
    TFormMain w;
    w.PortLister = [] { return QStringList(); };
    int portsInDialog = -1;
    QStringList shownBeforeDialog;
    ModalAnswer<TFormSett> answer([&](TFormSett& d) {
        portsInDialog = d.ComboBox1->count();
        shownBeforeDialog = texts();
        d.Button1->click();
    });
    w.RunStartup();

    EXPECT_EQ(answer.count(), 1);
    EXPECT_EQ(shownBeforeDialog, QStringList{kNoPort});
    EXPECT_EQ(messages.front().first, MsgKind::Information);
    EXPECT_EQ(portsInDialog, 0);
    EXPECT_FALSE(programmingEnabled(w));
}

TEST_F(StartupTest, PublishedSimulatorsAreOfferedAsPorts)
{
    TestSim sim;
    ASSERT_TRUE(sim.started()) << sim.error().toStdString();
    TFormMain w;  // the machine's own port list
    QStringList offered;
    ModalAnswer<TFormSett> answer([&](TFormSett& d) {
        for (int i = 0; i < d.ComboBox1->count(); ++i)
            offered << d.ComboBox1->itemText(i);
        d.Button1->click();
    });
    w.RunStartup();
    ASSERT_EQ(answer.count(), 1);
    EXPECT_EQ(offered, w.ArrCom);
    EXPECT_TRUE(offered.contains(sim.portName()));
}

TEST_F(StartupTest, LinkDialogFromTheMenuListsPortsThatAppearedAfterStartup)
{
    QStringList machine{QStringLiteral("ttyS0")};
    TFormMain w;
    w.PortLister = [&] { return machine; };
    ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
    w.RunStartup();
    machine << QStringLiteral("ttyUSB0");
    QStringList offered;
    ModalAnswer<TFormSett> later([&](TFormSett& d) {
        for (int i = 0; i < d.ComboBox1->count(); ++i)
            offered << d.ComboBox1->itemText(i);
        d.Button1->click();
    });
    w.N4Click();
    ASSERT_EQ(later.count(), 1);
    EXPECT_EQ(offered, machine);
}

TEST_F(StartupTest, CancelLeavesProgrammingDisabledAndThePanelEmpty)
{
    storeSettings(QStringLiteral("ttyS3"));
    TFormMain w;
    w.PortLister = [] { return QStringList{QStringLiteral("ttyS3")}; };
    ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
    w.RunStartup();

    ASSERT_EQ(answer.count(), 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(programmingEnabled(w));
    EXPECT_EQ(w.CurrentVisibleFrame, nullptr);
    EXPECT_FALSE(w.SetVaroFrame->isVisibleTo(w.Panel1));
    EXPECT_FALSE(w.GsmFrame->isVisibleTo(w.Panel1));
    EXPECT_FALSE(w.N7->isEnabled());
    // Everything else stays usable.
    EXPECT_TRUE(w.N8->isEnabled());
    EXPECT_TRUE(w.N4->isEnabled());
    EXPECT_TRUE(w.MainMenuFiscalization->isEnabled());
    EXPECT_TRUE(w.N6->isEnabled());

    // "Связь с ККТ" confirmed later enables the menu but shows no frame.
    ModalAnswer<TFormSett> again([](TFormSett& d) { d.Button2->click(); });
    w.N4Click();
    EXPECT_TRUE(programmingEnabled(w));
    EXPECT_EQ(w.CurrentVisibleFrame, nullptr);
}

TEST_F(StartupTest, ApplyEnablesProgrammingAndShowsTheTables)
{
    storeSettings(QStringLiteral("ttyS3"));
    TFormMain w;
    w.PortLister = [] { return QStringList{QStringLiteral("ttyS1"), QStringLiteral("ttyS3")}; };
    ModalAnswer<TFormSett> answer([](TFormSett& d) {
        d.Edit2->setText(QStringLiteral("42"));
        d.Button2->click();
    });
    w.RunStartup();

    ASSERT_EQ(answer.count(), 1);
    EXPECT_TRUE(programmingEnabled(w));
    EXPECT_EQ(w.CurrentVisibleFrame, w.SetVaroFrame);
    EXPECT_TRUE(w.SetVaroFrame->isVisibleTo(w.Panel1));
    EXPECT_FALSE(w.GsmFrame->isVisibleTo(w.Panel1));
    EXPECT_TRUE(w.N7->isEnabled());
    EXPECT_EQ(w.Session().StructSett.NumKKT, 42);
    EXPECT_EQ(w.Session().StructSett.PortSett.Name, QStringLiteral("ttyS3"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Программирование параметров GSM модуля. (ver." KKT_VERSION ")"));
    // "Применить" keeps the settings in the file at once, not only when the window closes.
    TStructSetting applied;
    ASSERT_TRUE(LoadIniSettings(ProgSettPath(), applied));
    EXPECT_EQ(applied.NumKKT, 42);
    ModalAnswer<TFormSett> later([](TFormSett& d) {
        d.ComboBox1->setCurrentIndex(0);
        d.Button2->click();
    });
    w.N4Click();
    ASSERT_TRUE(LoadIniSettings(ProgSettPath(), applied));
    EXPECT_EQ(applied.PortSett.Name, QStringLiteral("ttyS1"));
    ModalAnswer<TFormSett> cancelled([](TFormSett& d) {
        d.ComboBox1->setCurrentIndex(1);
        d.Button1->click();
    });
    w.N4Click();
    ASSERT_TRUE(LoadIniSettings(ProgSettPath(), applied));
    EXPECT_EQ(applied.PortSett.Name, QStringLiteral("ttyS1"));
    EXPECT_TRUE(messages.empty());

    w.resize(966, 657);
    SaveShot(w, QStringLiteral("main_after_apply"));

    // Choosing the frame already shown changes nothing; the other one replaces it.
    w.NVaro1->trigger();
    EXPECT_EQ(w.CurrentVisibleFrame, w.SetVaroFrame);
    EXPECT_TRUE(w.SetVaroFrame->isVisibleTo(w.Panel1));
    w.GSM1->trigger();
    EXPECT_EQ(w.CurrentVisibleFrame, w.GsmFrame);
    EXPECT_TRUE(w.GsmFrame->isVisibleTo(w.Panel1));
    EXPECT_FALSE(w.SetVaroFrame->isVisibleTo(w.Panel1));

    // Closing writes the applied settings back.
    w.close();
    TStructSetting saved;
    ASSERT_TRUE(LoadIniSettings(ProgSettPath(), saved));
    EXPECT_EQ(saved.NumKKT, 42);
    EXPECT_EQ(saved.PortSett.Name, QStringLiteral("ttyS1"));
    EXPECT_EQ(saved.PortSett.Speed, 9600);
    EXPECT_EQ(saved.PortSett.TimeOut, 1200);
}

TEST_F(StartupTest, UnreadableSettingsEndTheProgramWithoutTheDialog)
{
    ASSERT_TRUE(QDir().mkpath(ProgSettPath()));  // a folder where the file should be
    TFormMain w;
    w.PortLister = [] { return QStringList{QStringLiteral("ttyS0")}; };
    ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
    w.show();
    w.RunStartup();
    QCoreApplication::processEvents();

    EXPECT_EQ(texts(), QStringList{kUnreadable});
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(answer.count(), 0);
    EXPECT_TRUE(QFileInfo(ProgSettPath()).isDir());
}

TEST_F(StartupTest, ClosingBeforeTheSettingsWereReadKeepsTheFile)
{
    storeSettings(QStringLiteral("ttyUSB2"));
    QFile file(ProgSettPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    {
        TFormMain w;
        w.close();  // start-up never ran: the window holds only defaults
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(StartupTest, ShowingTheWindowRunsTheStartupOnce)
{
    TFormMain w;
    int calls = 0;
    w.PortLister = [&] {
        ++calls;
        return QStringList{QStringLiteral("ttyS0")};
    };
    ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.count() == 1; }, 5000));
    w.hide();
    w.show();
    QTest::qWait(50);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(answer.count(), 1);
}

TEST_F(StartupTest, ScannerSettingsAreReadAndTheFileIsMadeWhenMissing)
{
    auto startAndLook = [](auto check) {
        TFormMain w;
        w.PortLister = [] { return QStringList(); };
        ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
        w.RunStartup();
        check(w);
    };
    startAndLook([](TFormMain& w) {
        EXPECT_TRUE(QFileInfo(ScanCfgPath()).isFile());
        EXPECT_TRUE(w.Scan->model_scan.isEmpty());
        EXPECT_TRUE(w.SetVaroFrame->Shape1->isHidden());
        EXPECT_TRUE(w.flagScan);
    });
    auto writeModel = [](const QString& model) {
        TmyIniFile ini(ScanCfgPath());
        ini.WriteString(QStringLiteral("CURRENT"), QStringLiteral("ModelName"), model);
        ini.WriteString(QStringLiteral("current"), QStringLiteral("ComPort"), QStringLiteral("ttyUSB0"));
        ini.WriteString(QStringLiteral("CURRENT"), QStringLiteral("SpeedPort"), QStringLiteral("9600"));
        ASSERT_TRUE(ini.UpdateFile());
    };
    writeModel(kScanModelPavo);
    startAndLook([](TFormMain& w) {
        EXPECT_EQ(w.Scan->model_scan, kScanModelPavo);
        EXPECT_EQ(w.Scan->com_scan, QStringLiteral("ttyUSB0"));
        EXPECT_EQ(w.Scan->speed_scan, QStringLiteral("9600"));
        EXPECT_FALSE(w.SetVaroFrame->Shape1->isHidden());
    });
    writeModel(QStringLiteral("Model 1"));  // a model the program does not know is no scanner
    startAndLook([](TFormMain& w) {
        EXPECT_TRUE(w.Scan->model_scan.isEmpty());
        EXPECT_TRUE(w.SetVaroFrame->Shape1->isHidden());
    });
}

TEST_F(StartupTest, CtrlAShowsTheExchangeLogWithoutBlocking)
{
    TFormMain w;
    auto* log = new TfrmDebugKKM(&w);
    w.AttachDebugWindow(log);
    EXPECT_EQ(w.Session().Link.frameLog(), static_cast<KktFrameLog*>(log));
    EXPECT_TRUE(log->isWindow());
    EXPECT_FALSE(log->isVisible());

    w.PortLister = [] { return QStringList(); };
    ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.count() == 1; }, 5000));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(log->isVisible());
    // Above the main window, as its own tool window, but never above a modal question of the program.
    EXPECT_FALSE(log->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(log->windowType(), Qt::Tool);
    EXPECT_EQ(log->parentWidget(), &w);
    EXPECT_FALSE(log->isModal());
    SaveShot(w, QStringLiteral("main_after_startup"));
}

TEST_F(StartupTest, CtrlAOpensTheLogFromACellBeingEdited)
{
    storeSettings(QStringLiteral("ttyS3"));
    TFormMain w;
    auto* log = new TfrmDebugKKM(&w);
    w.AttachDebugWindow(log);
    w.PortLister = [] { return QStringList{QStringLiteral("ttyS3")}; };
    ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button2->click(); });
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.count() == 1; }, 5000));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    TGridView* view = w.SetVaroFrame->GridView(TableId::Operators);
    ASSERT_TRUE(view->SelectCell(2, 1));
    auto* editor = qobject_cast<QLineEdit*>(view->CurrentEditor());
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("Petrov"));
    editor->setCursorPosition(2);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(log->isVisible());
    EXPECT_EQ(editor->text(), QStringLiteral("Petrov"));
    EXPECT_FALSE(editor->hasSelectedText());

    // The range boxes too; other windows keep their own Ctrl+A.
    log->hide();
    QLineEdit* box = w.SetVaroFrame->FirstBox(TableId::Operators);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(log->isVisible());
    QLineEdit outside;
    outside.setText(QStringLiteral("текст"));
    outside.show();
    log->hide();
    QTest::keyClick(&outside, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(log->isVisible());
    EXPECT_EQ(outside.selectedText(), QStringLiteral("текст"));
}

TEST_F(StartupTest, VersionWindowShowsTheVersionAndClosesOnOk)
{
    TFormMain w;
    w.PortLister = [] { return QStringList(); };
    {
        ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
        w.RunStartup();
    }
    QString shown;
    QPoint centreOffset;
    ModalAnswer<TFormVersion> answer([&](TFormVersion& v) {
        shown = v.Label2->text();
        centreOffset = v.geometry().center() - w.geometry().center();
        QTest::mouseClick(v.Panel3, Qt::LeftButton);
    });
    w.show();
    w.N6->trigger();  // returns only once the modal window is closed
    EXPECT_EQ(answer.count(), 1);
    EXPECT_EQ(shown, QStringLiteral(KKT_VERSION));
    EXPECT_LE(centreOffset.manhattanLength(), 2);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace

TEST_F(StartupTest, FiscalisationMenuOpensANewWindowThatAsksTheRegisterAtOnce)
{
    TestSim sim;
    ASSERT_TRUE(sim.started());
    RegistrationData registered;
    registered.Registered = 1;
    registered.SerialNumber = 4242;
    sim.sim().setRegistration(registered);

    TFormMain w;
    w.Session().StructSett.PortSett.Name = sim.portName();
    w.Session().StructSett.PortSett.Speed = 115200;
    w.Session().StructSett.PortSett.TimeOut = 1000;
    for (int use = 0; use < 2; ++use) {
        QString state;
        QString serial;
        ModalAnswer<TfrmFiscalization> answer([&](TfrmFiscalization& f) {
            state = f.lblFlagReg->text();
            serial = f.lbledtSerialNumber->text();
            f.reject();
        });
        w.MainMenuFiscalizationClick();
        ASSERT_EQ(answer.count(), 1);
        EXPECT_EQ(state, QStringLiteral("Касса зарегистрирована"));
        EXPECT_EQ(serial, QStringLiteral("4242"));
    }
    EXPECT_NE(w.RegistrationReason, nullptr);
}

TEST_F(StartupTest, ScannedCodeLandsInTheSelectedBarcodeCellOfTheGoodsTab)
{
    ScannerFeedLine scanner;
    QString error;
    ASSERT_TRUE(scanner.open(QStringLiteral("kkt-sim-scanner-main"), &error)) << qPrintable(error);
    {
        TmyIniFile ini(ScanCfgPath());
        ini.WriteString(QStringLiteral("CURRENT"), QStringLiteral("ModelName"), kScanModelPavo);
        ini.WriteString(QStringLiteral("CURRENT"), QStringLiteral("ComPort"), scanner.publishedName());
        ini.WriteString(QStringLiteral("CURRENT"), QStringLiteral("SpeedPort"), QStringLiteral("9600"));
        ASSERT_TRUE(ini.UpdateFile());
    }
    storeSettings(QStringLiteral("ttyS3"));
    TFormMain w;
    w.PortLister = [] { return QStringList{QStringLiteral("ttyS3")}; };
    ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button2->click(); });
    w.RunStartup();
    w.show();
    TFrameSetVaro& tables = *w.SetVaroFrame;
    tables.ShowTable(TableId::Goods);
    ASSERT_EQ(w.Scan->indicator(), TScanIndicator::Running);
    ASSERT_TRUE(tables.GridView(TableId::Goods)->SelectCell(2, 5));

    auto scanAndWait = [&](const QByteArray& code) {
        std::atomic<bool> stop{false};
        ASSERT_TRUE(scanner.send(code + '\r', 0, stop));
        ASSERT_TRUE(QTest::qWaitFor([&] { return tables.Grid(TableId::Goods).Cell(2, 5) == QString::fromLatin1(code); }, 5000));
    };
    scanAndWait("4600000000008");  // a valid check digit: green
    const QString greenText = tables.lblCorrectShtrihCode->text();
    EXPECT_FALSE(greenText.isEmpty());
    SaveShot(w, QStringLiteral("goods_scan_correct"));
    scanAndWait("4600000000001");  // wrong check digit: another (red) text
    EXPECT_NE(tables.lblCorrectShtrihCode->text(), greenText);
    SaveShot(w, QStringLiteral("goods_scan_incorrect"));

    tables.ShowTable(TableId::Cliche);  // leaving the goods tab stops the reader
    EXPECT_EQ(w.Scan->indicator(), TScanIndicator::Stopped);
}
