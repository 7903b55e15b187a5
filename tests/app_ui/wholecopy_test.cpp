#include "appuitest.h"

#include "app/mainwindow/mainform.h"
#include "app/ui/filedialogs.h"
#include "app/ui/settform.h"
#include "app/ui/uwait.h"
#include "files/workbook.h"
#include "module/gsmgrid.h"
#include "module/ui/gsmsettingframe.h"
#include "sim/simstate.h"
#include "simserver.h"
#include "tables/maintenance.h"
#include "tables/ui/setvaroframe.h"
#include "whole/ui/wholerunactions.h"
#include "whole/wholerun.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

// The main window after start-up, talking to `sim`, its file dialogs answered by `fileName`.
class WholeCopyTest : public AppUiTest {
protected:
    void SetUp() override
    {
        AppUiTest::SetUp();
        SetFileNameHandler([this](FileDialogMode, const QString&, const QString&) { return fileName; });
        window.PortLister = [] { return QStringList(); };
        ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
        window.RunStartup();
        messages.clear();
        // As after the link dialog was accepted.
        LinkTo(sim.devicePath());
        window.EnableMainMenu(true);
        window.ShowFrame(window.SetVaroFrame);
    }
    void TearDown() override
    {
        SetFileNameHandler({});
        AppUiTest::TearDown();
    }
    void LinkTo(const QString& port)
    {
        TStructSetting& s = window.Session().StructSett;
        s.PortSett.Name = port;
        s.PortSett.Speed = 115200;
        s.PortSett.TimeOut = 500;
        s.NumKKT = 1;
    }
    // A few entries written to the register by "Записать всё в ККТ", then every grid emptied.
    void FillRegister()
    {
        grid(TableId::Operators).SetCell(2, 2, QStringLiteral("Петрова А."));
        grid(TableId::Goods).SetCell(1, 12, QStringLiteral("Хлеб"));
        grid(TableId::Goods).SetCell(4, 12, QStringLiteral("45,90"));
        grid(TableId::Goods).SetCell(5, 12, QStringLiteral("1"));
        grid(TableId::Goods).SetCell(6, 12, QStringLiteral("2,000"));
        ChooseAgentSign(grid(TableId::Agents), window.SetVaroFrame->AgentLocks(), 3, 1);
        window.GsmFrame->Grid().SetValue(gsm::IpRow, QStringLiteral("10.1.2.3"));
        window.GsmFrame->Grid().SetValue(gsm::DeviceRow, QStringLiteral("GSM"));
        window.WriteAllItem->trigger();
        ASSERT_TRUE(messages.empty()) << texts().join('|').toStdString();
        for (int i = 0; i < kTableCount; ++i)
            CleanTable(TableId(i), grid(TableId(i)), window.SetVaroFrame->AgentLocks());
        for (int r = 1; r <= gsm::kRows; ++r)
            window.GsmFrame->Grid().SetValue(r, QString());
    }
    TGridData& grid(TableId id) { return window.SetVaroFrame->Grid(id); }
    QByteArray state(TestSim& s, const QString& name)
    {
        const QString file = configDir.filePath(name);
        QString error;
        EXPECT_TRUE(SaveSimState(s.sim(), file, &error));
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TestSim sim;
    QString fileName;
    TFormMain window;
};

}  // namespace

TEST_F(WholeCopyTest, ClosingWithEditsTheRegisterLacksAsksToWriteDropOrStay)
{
    window.show();
    window.SetVaroFrame->ShowTable(TableId::Operators);
    window.SetVaroFrame->ReadActiveTable();
    ASSERT_TRUE(messages.empty()) << texts().join('|').toStdString();
    // Nothing differs from the register: the window closes without a question.
    QStringList asked;
    MsgAnswer answer = MsgAnswer::Cancel;
    SetAnswerHandler([&](const QString& text) {
        asked << text;
        return answer;
    });
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(asked.isEmpty());
    window.show();

    window.SetVaroFrame->SetCell(TableId::Operators, 2, 2, QStringLiteral("Сидоров"));
    window.GsmFrame->Grid().SetValue(gsm::IpRow, QStringLiteral("10.7.7.7"));  // never read: unsent too
    const QString question = QStringLiteral("Внимание!\r\nНе записано в ККТ:\r\n  \"Операторы\" - записей: 1\r\n"
                                            "  \"Параметры GSM\" - записей: 1\r\nЗаписать в ККТ перед выходом?");
    EXPECT_FALSE(window.close());  // "Отмена": stays, nothing sent
    EXPECT_EQ(asked, QStringList{question});
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(sim.sim().param(0, 2, 1), QString());

    answer = MsgAnswer::Yes;  // written first, then closed
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(sim.sim().param(0, 2, 1), QStringLiteral("Сидоров"));
    EXPECT_EQ(sim.sim().param(5, gsm::IpRow, 0), QStringLiteral("10.7.7.7"));
    EXPECT_EQ(window.SetVaroFrame->Known(TableId::Operators).MarkedCount(), 0);
    EXPECT_TRUE(messages.empty()) << texts().join('|').toStdString();

    // Sample values nobody sent, "Нет": closes and sends nothing.
    window.show();
    window.SetVaroFrame->FillTestData();
    answer = MsgAnswer::No;
    EXPECT_TRUE(window.close());
    EXPECT_EQ(asked.size(), 3);
    EXPECT_TRUE(asked.last().contains(QStringLiteral("\"Клише\" - записей: 16"))) << asked.last().toStdString();
    EXPECT_TRUE(asked.last().contains(QStringLiteral("\"Параметры агентов\" - записей: 1"))) << asked.last().toStdString();
    EXPECT_EQ(sim.sim().param(0, 2, 1), QStringLiteral("Сидоров"));

    // A write that fails keeps the window open with its message.
    messages.clear();
    window.show();
    window.SetVaroFrame->SetCell(TableId::Operators, 2, 2, QStringLiteral("Кузнецов"));
    LinkTo(runtimeDir.filePath(QStringLiteral("ttyUSB9")));
    answer = MsgAnswer::Yes;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].second.endsWith(QStringLiteral("Таблица \"Операторы\"."))) << messages[0].second.toStdString();
    SetAnswerHandler({});
}

TEST_F(WholeCopyTest, ReadAllSaveLoadAndWriteAllCloneTheRegister)
{
    FillRegister();
    window.show();
    // The run's one progress display, caught once while the goods are read.
    QString shown;
    QTimer peek;
    QObject::connect(&peek, &QTimer::timeout, [&] {
        if (WaitWindow()->isVisible() && WaitWindow()->lbl1->text().contains(QStringLiteral("Предмет расчета"))) {
            shown = WaitWindow()->lbl1->text();
            SaveShot(*WaitWindow(), QStringLiteral("whole-read-progress"));
            peek.stop();
        }
    });
    peek.start(20);
    window.ReadAllItem->trigger();
    EXPECT_TRUE(messages.empty()) << texts().join('|').toStdString();
    window.MenuProgramming->adjustSize();
    SaveShot(*window.MenuProgramming, QStringLiteral("whole-menu-programming"));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Выполняется чтение всех таблиц... Подождите...\nВыполнено ")))
        << shown.toStdString();
    EXPECT_EQ(grid(TableId::Operators).Cell(2, 2), QStringLiteral("Петрова А."));
    EXPECT_EQ(grid(TableId::Goods).Cell(1, 12), QStringLiteral("Хлеб"));
    EXPECT_EQ(window.GsmFrame->Grid().Value(gsm::IpRow), QStringLiteral("10.1.2.3"));
    EXPECT_TRUE(window.SetVaroFrame->AgentLocks().IsLocked(AgentUnusedColumns(1).first(), 3));
    ASSERT_NE(window.WholeRun->Registration(), nullptr);
    EXPECT_TRUE(window.menuBar()->isEnabled());
    // What was read is what the register holds: nothing is marked, the module neither.
    for (int i = 0; i < kTableCount; ++i)
        EXPECT_EQ(window.SetVaroFrame->Known(TableId(i)).MarkedCount(), 0) << i;
    EXPECT_EQ(window.GsmFrame->Grid().MarkedCount(), 0);
    GsmGridModel& gsmGrid = window.GsmFrame->Grid();
    gsmGrid.SetValue(gsm::IpRow, QStringLiteral("10.9.9.9"));
    EXPECT_TRUE(gsmGrid.IsMarked(gsm::IpRow));
    gsmGrid.SetValue(gsm::IpRow, QStringLiteral("10.1.2.3"));
    EXPECT_FALSE(gsmGrid.IsMarked(gsm::IpRow));

    fileName = configDir.filePath(QStringLiteral("copy.xlsx"));
    window.SaveBook->trigger();
    ASSERT_TRUE(QFile::exists(fileName));
    EXPECT_TRUE(messages.empty()) << texts().join('|').toStdString();

    // Changed grids come back from the book; a book that is none changes nothing and says so.
    const TGridData agents = grid(TableId::Agents);
    grid(TableId::Operators).SetCell(2, 2, QStringLiteral("Другой"));
    CleanTable(TableId::Agents, grid(TableId::Agents), window.SetVaroFrame->AgentLocks());
    window.SetVaroFrame->RefreshGrid(TableId::Operators);
    window.SetVaroFrame->RefreshGrid(TableId::Agents);
    EXPECT_TRUE(window.SetVaroFrame->Known(TableId::Operators).IsMarked(2));
    EXPECT_TRUE(window.SetVaroFrame->Known(TableId::Agents).IsMarked(3));
    window.LoadBook->trigger();
    EXPECT_TRUE(messages.empty()) << texts().join('|').toStdString();
    EXPECT_EQ(grid(TableId::Operators).Cell(2, 2), QStringLiteral("Петрова А."));
    // The book holds what the register holds: loading it takes the marks away again.
    EXPECT_EQ(window.SetVaroFrame->Known(TableId::Operators).MarkedCount(), 0);
    EXPECT_EQ(window.SetVaroFrame->Known(TableId::Agents).MarkedCount(), 0);
    for (int c = 1; c < agents.ColCount(); ++c)
        EXPECT_EQ(grid(TableId::Agents).Cell(c, 3), agents.Cell(c, 3));
    const QString good = fileName;
    fileName = configDir.filePath(QStringLiteral("notes.xlsx"));
    QFile notes(fileName);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a book");
    notes.close();
    grid(TableId::Operators).SetCell(2, 2, QStringLiteral("Другой"));
    window.LoadBook->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MsgKind::Error);
    EXPECT_TRUE(messages[0].second.contains(QStringLiteral("notes.xlsx"))) << messages[0].second.toStdString();
    EXPECT_EQ(grid(TableId::Operators).Cell(2, 2), QStringLiteral("Другой"));
    messages.clear();

    // Loaded into a fresh window and written to an empty register: the same bytes as the first.
    fileName = good;
    window.LoadBook->trigger();
    TestSim second;
    LinkTo(second.devicePath());
    window.WriteAllItem->trigger();
    EXPECT_TRUE(messages.empty()) << texts().join('|').toStdString();
    EXPECT_EQ(state(second, "second.json"), state(sim, "first.json"));
}

TEST_F(WholeCopyTest, AFailureStopsTheRunNamingTableAndEntryAndKeepsWhatWasRead)
{
    FillRegister();
    ASSERT_TRUE(sim.sim().applyFault(QStringLiteral("error T 20 2")));
    window.ReadAllItem->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MsgKind::Error);
    EXPECT_TRUE(messages[0].second.contains(QStringLiteral("Товар номер 20")) &&
                messages[0].second.contains(QStringLiteral("Таблица \"Предмет расчета\"")))
        << messages[0].second.toStdString();
    EXPECT_EQ(grid(TableId::Operators).Cell(2, 2), QStringLiteral("Петрова А."));
    EXPECT_EQ(grid(TableId::Goods).Cell(1, 12), QStringLiteral("Хлеб"));
    EXPECT_TRUE(window.menuBar()->isEnabled());
    EXPECT_TRUE(window.Panel1->isEnabled());
}

TEST_F(WholeCopyTest, TheStopButtonEndsTheWholeRunInTheTableBeingRead)
{
    FillRegister();
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (WaitWindow()->isVisible() && WaitWindow()->lbl1->text().contains(QStringLiteral("Предмет расчета"))) {
            WaitWindow()->btnAbort->click();
            stop.stop();
        }
    });
    stop.start(20);
    window.ReadAllItem->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MsgKind::Information);
    EXPECT_TRUE(messages[0].second.contains(QStringLiteral("Чтение прервано")) &&
                messages[0].second.contains(QStringLiteral("Таблица \"Предмет расчета\"")))
        << messages[0].second.toStdString();
    EXPECT_EQ(grid(TableId::Operators).Cell(2, 2), QStringLiteral("Петрова А."));
    EXPECT_EQ(window.GsmFrame->Grid().Value(gsm::IpRow), QString());  // never reached
}

TEST_F(WholeCopyTest, TheStatusBarSaysWhatARunOrABookCameToAndShowsItWholeOnAClick)
{
    window.show();
    // A goods read stopped with "Прервать": the wait window counts the items, and the status bar does
    // not call the last command's success the run's.
    window.SetVaroFrame->ShowTable(TableId::Goods);
    window.SetVaroFrame->LastBox(TableId::Goods)->setText(QStringLiteral("6000"));
    QString counted;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        const QString text = WaitWindow()->lbl1->text();
        if (WaitWindow()->isVisible() && text.contains(QStringLiteral("Прочитано записей: 5"))) {
            counted = text;
            WaitWindow()->btnAbort->click();
            stopper.stop();
        }
    });
    stopper.start(5);
    window.SetVaroFrame->ReadActiveTable();
    EXPECT_TRUE(counted.startsWith(QStringLiteral("Выполняется чтение параметров... Подождите...\nПрочитано записей: ")))
        << counted.toStdString();
    EXPECT_TRUE(counted.endsWith(QStringLiteral(" из 6000"))) << counted.toStdString();
    ASSERT_EQ(messages.size(), 1u) << texts().join('|').toStdString();
    EXPECT_TRUE(messages[0].second.startsWith(QStringLiteral("Внимание!\r\nЧтение прервано.\r\nПрочитано записей: ")));
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(QStringLiteral("Чтение прервано. Прочитано записей: ")))
        << window.statusBar()->currentMessage().toStdString();
    EXPECT_EQ(window.statusBar()->toolTip(), window.statusBar()->currentMessage());

    // A click shows the whole text at once.
    QTest::mouseClick(window.statusBar(), Qt::LeftButton, {}, QPoint(20, window.statusBar()->height() / 2));
    EXPECT_EQ(QToolTip::text(), window.statusBar()->currentMessage());

    // Saving and loading the whole register say what went where.
    messages.clear();
    fileName = configDir.filePath(QStringLiteral("shop.xlsx"));
    window.SaveBook->trigger();
    ASSERT_TRUE(messages.empty()) << texts().join('|').toStdString();
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Всё сохранено в книгу \"%1\".").arg(QDir::toNativeSeparators(fileName)));
    window.LoadBook->trigger();
    ASSERT_TRUE(messages.empty()) << texts().join('|').toStdString();
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(
        QStringLiteral("Из книги \"%1\" загружено: Операторы, Предмет расчета, ").arg(QDir::toNativeSeparators(fileName))))
        << window.statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(window.statusBar()->currentMessage().endsWith(QStringLiteral(", Станция, Параметры GSM.")));
}
