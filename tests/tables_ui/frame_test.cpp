// The tables frame as the user meets it: real widgets offscreen, message boxes answered by the test.
#include "app/session.h"
#include "app/ui/messages.h"
#include "app/ui/uwait.h"
#include "simserver.h"
#include "tables/ui/celleditor.h"
#include "tables/ui/gridview.h"
#include "tables/ui/setvaroframe.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct FrameFixture : ::testing::Test {
    KktSession session;
    TKktRegister reg;
    TFrameSetVaro frame{reg};
    QStringList messages;
    bool answer = true;

    void SetUp() override
    {
        SetMessageHandler([this](MsgKind, const QString& text) {
            messages << text;
            return answer;
        });
        frame.Init(session);
        frame.resize(1100, 600);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override { SetMessageHandler({}); }

    TGridView* View(TableId id)
    {
        frame.ShowTable(id);
        return frame.GridView(id);
    }
    template <class T>
    T* EditorAt(TableId id, int col, int row)
    {
        TGridView* view = View(id);
        if (!view->SelectCell(col, row))
            return nullptr;
        return qobject_cast<T*>(view->CurrentEditor());
    }
    // Saves a picture of the frame when KKT_SHOT_DIR names a folder.
    void Shot(const QString& name, QWidget* widget = nullptr)
    {
        const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        QApplication::processEvents();
        (widget ? widget : &frame)->grab().save(dir + "/tables_" + name + ".png");
    }
};

}  // namespace

TEST_F(FrameFixture, HeadingsAndFullNumbersShowWhole)
{
    // The table widths were made for a narrower font: the screen's own must not cut a heading or an INN.
    for (int t = 0; t < kTableCount; ++t) {
        const TTableDef& def = TableDef(t);
        TGridView* view = frame.GridView(TableId(t));
        const QFontMetrics heading = view->horizontalHeader()->fontMetrics();
        EXPECT_GE(view->verticalHeader()->width(), heading.horizontalAdvance(def.columns[0].heading)) << t;
        for (int c = 1; c < def.ColCount(); ++c) {
            EXPECT_GE(view->columnWidth(c - 1), def.columns[c].width) << t << "," << c;
            EXPECT_GT(view->columnWidth(c - 1), heading.horizontalAdvance(def.columns[c].heading)) << t << "," << c;
        }
    }
    const TGridView* operators = frame.GridView(TableId::Operators);
    EXPECT_GT(operators->columnWidth(3), operators->fontMetrics().horizontalAdvance(QStringLiteral("772801234567")));
}

TEST_F(FrameFixture, StartsOnOperatorsWithDefaults)
{
    EXPECT_EQ(frame.ActiveTable(), TableId::Operators);
    EXPECT_EQ(frame.PageControl1->count(), 7);
    EXPECT_EQ(frame.FirstBox(TableId::Goods)->text(), "1");
    EXPECT_EQ(frame.LastBox(TableId::Goods)->text(), "6000");
    EXPECT_EQ(frame.LastBox(TableId::Goods)->maxLength(), 4);
    EXPECT_EQ(frame.GridView(TableId::Goods)->rowHeight(5999), 16);
    EXPECT_EQ(frame.GridView(TableId::Operators)->columnWidth(0), 160);
    EXPECT_EQ(frame.Grid(TableId::Agents).Cell(10, 10), "+7");
    for (int t = 0; t < kTableCount; ++t)
        EXPECT_EQ(frame.CurrentCell(TableId(t)), QPoint(1, 1));
    EXPECT_FALSE(frame.ProgressBar1->isVisible());
    frame.SetScannerIndicatorVisible(false);
    EXPECT_TRUE(frame.Label14->isHidden());
}

TEST_F(FrameFixture, InCellListsOpenOnTheirColumnsAndWriteBack)
{
    auto* type = EditorAt<TCellList>(TableId::Sections, 2, 1);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->List(), CellList::SectionType);
    EXPECT_EQ(type->currentIndex(), 0);  // empty cell: item 0 preselected, nothing written yet
    EXPECT_EQ(frame.Grid(TableId::Sections).Cell(2, 1), "");
    Shot("list_open");
    type->setCurrentIndex(5);
    EXPECT_EQ(frame.Grid(TableId::Sections).Cell(2, 1), SectionTypes()[5]);
    EXPECT_EQ(frame.Grid(TableId::Sections).Cell(3, 1), "НДС не облагается");
    // The VAT list stays shut for this type; the cell is still selected.
    EXPECT_EQ(EditorAt<TCellList>(TableId::Sections, 3, 1), nullptr);
    EXPECT_EQ(frame.CurrentCell(TableId::Sections), QPoint(3, 1));
    auto* vat = EditorAt<TCellList>(TableId::Sections, 3, 2);
    ASSERT_NE(vat, nullptr);
    EXPECT_EQ(vat->List(), CellList::Vat);
    auto* tax = EditorAt<TCellList>(TableId::Sections, 4, 2);
    ASSERT_NE(tax, nullptr);
    tax->setCurrentIndex(1);
    EXPECT_EQ(frame.Grid(TableId::Sections).Cell(4, 2), "Общая");
    EXPECT_EQ(EditorAt<TCellList>(TableId::Sections, 5, 2), nullptr);

    auto* mark = EditorAt<TCellList>(TableId::Goods, 3, 4000);
    ASSERT_NE(mark, nullptr);
    mark->setCurrentIndex(1);
    EXPECT_EQ(frame.Grid(TableId::Goods).Cell(3, 4000), "м");
    EXPECT_NE(EditorAt<TCellEdit>(TableId::Goods, 1, 4000), nullptr);
}

TEST_F(FrameFixture, LockedAgentCellsCannotBeReached)
{
    TGridView* view = View(TableId::Agents);
    EXPECT_FALSE(view->currentIndex().isValid());  // shown with no agent cell selected
    auto* sign = EditorAt<TCellList>(TableId::Agents, 1, 3);
    ASSERT_NE(sign, nullptr);
    sign->setCurrentIndex(4);  // Поверенный
    EXPECT_EQ(frame.Grid(TableId::Agents).Cell(5, 3), kNotUsed);
    EXPECT_FALSE(view->SelectCell(5, 3));
    EXPECT_EQ(frame.CurrentCell(TableId::Agents), QPoint(1, 3));

    view->setFocus();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->GridModel()->CellIndex(6, 3)).center());
    EXPECT_EQ(frame.CurrentCell(TableId::Agents), QPoint(1, 3));
    ASSERT_TRUE(view->SelectCell(2, 3));
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Tab);
    const QPoint at = frame.CurrentCell(TableId::Agents);
    EXPECT_FALSE(frame.AgentLocks().IsLocked(at.x(), at.y())) << at.x() << "," << at.y();
    EXPECT_EQ(view->currentIndex(), view->GridModel()->CellIndex(at.x(), at.y()));
    Shot("agents_locked");

    frame.CleanActiveTable();
    ASSERT_FALSE(frame.AgentLocks().IsLocked(5, 3));
    EXPECT_TRUE(view->SelectCell(5, 3));
    EXPECT_EQ(frame.Grid(TableId::Agents).Cell(3, 3), "+7");
}

TEST_F(FrameFixture, KeysGoThroughTheCellRules)
{
    auto* password = EditorAt<TCellEdit>(TableId::Operators, 3, 1);
    ASSERT_NE(password, nullptr);
    QTest::keyClicks(password, "12a345");
    EXPECT_EQ(frame.Grid(TableId::Operators).Cell(3, 1), "1234");

    auto* price = EditorAt<TCellEdit>(TableId::Goods, 4, 2);
    ASSERT_NE(price, nullptr);
    QTest::keyClicks(price, "12,5");
    EXPECT_EQ(frame.Grid(TableId::Goods).Cell(4, 2), "12,50");
    QTest::keyClick(price, Qt::Key_Delete);
    QTest::keyClick(price, Qt::Key_Home);
    QTest::keyClick(price, Qt::Key_Delete);
    EXPECT_EQ(frame.Grid(TableId::Goods).Cell(4, 2), "12,50");

    // A price typed with a point, from the main keys or the keypad: the point is the separator.
    auto* dotted = EditorAt<TCellEdit>(TableId::Goods, 4, 3);
    ASSERT_NE(dotted, nullptr);
    QTest::keyClicks(dotted, "350");
    QTest::keyClick(dotted, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClicks(dotted, "50");
    EXPECT_EQ(frame.Grid(TableId::Goods).Cell(4, 3), "350,50");
    auto* quantity = EditorAt<TCellEdit>(TableId::Goods, 6, 3);
    ASSERT_NE(quantity, nullptr);
    QTest::keyClicks(quantity, "2.5");
    EXPECT_EQ(frame.Grid(TableId::Goods).Cell(6, 3), "2,500");
    Shot("price_with_point");

    auto* phone = EditorAt<TCellEdit>(TableId::Agents, 2, 1);
    ASSERT_NE(phone, nullptr);
    QTest::keyClick(phone, Qt::Key_Home);
    QTest::keyClicks(phone, "9x01");
    EXPECT_EQ(frame.Grid(TableId::Agents).Cell(2, 1), "+7901");

    QLineEdit* box = frame.FirstBox(TableId::Stations);
    box->clear();
    QTest::keyClicks(box, "1-2x3");
    EXPECT_EQ(box->text(), "12");
}

TEST_F(FrameFixture, TestDataAsksBeforeReplacingWhatTheGridsHold)
{
    // Fresh grids: nothing to lose, nothing asked.
    frame.FillTestData();
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_EQ(frame.Grid(TableId::Operators).Cell(2, 3), "Иванов3");
    frame.ShowTable(TableId::Operators);
    frame.CleanActiveTable();
    frame.ShowTable(TableId::Agents);
    frame.CleanActiveTable();
    frame.ShowTable(TableId::Cliche);
    frame.CleanActiveTable();

    // A cliché line typed by the user: "Нет" keeps it and every other grid as it was.
    auto* line = EditorAt<TCellEdit>(TableId::Cliche, 1, 2);
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "Shop 12");
    answer = false;
    frame.btnTestData->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "Внимание!\r\nТестовые данные заменят то, что сейчас в таблицах \"Клише\".\r\nЗаменить?");
    EXPECT_EQ(frame.Grid(TableId::Cliche).Cell(1, 2), "Shop 12");
    EXPECT_EQ(frame.Grid(TableId::Cliche).Cell(1, 1), "");
    EXPECT_EQ(frame.Grid(TableId::Operators).Cell(1, 1), "");
    Shot("test_data_kept");

    answer = true;
    frame.btnTestData->click();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(frame.Grid(TableId::Cliche).Cell(1, 1), "Имя пользователя 1");
    EXPECT_EQ(frame.Grid(TableId::Cliche).Cell(1, 2), "Shop 12");  // a row the samples leave alone
    EXPECT_EQ(frame.Grid(TableId::Operators).Cell(1, 1), "Оператор 1");
    EXPECT_EQ(frame.GridView(TableId::Operators)->model()->index(0, 0).data().toString(), "Оператор 1");

    // Now all three hold data, and the question names them.
    frame.btnTestData->click();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[2], "Внимание!\r\nТестовые данные заменят то, что сейчас в таблицах \"Операторы\", "
                           "\"Клише\", \"Параметры агентов\".\r\nЗаменить?");
}

TEST_F(FrameFixture, RangeCheckAndGoToItemSpeakFirst)
{
    frame.FirstBox(TableId::Operators)->setText("0");
    frame.WriteActiveTable();
    EXPECT_EQ(messages, QStringList{"ВНИМАНИЕ!\r\nЗначение начала диапазона не может начинаться с 0!"});
    EXPECT_FALSE(frame.ProgressBar1->isVisible());
    EXPECT_FALSE(WaitWindow()->isVisible());

    frame.ShowTable(TableId::Goods);
    frame.Edit11->setText("6000");
    frame.GoToItem();
    EXPECT_EQ(frame.CurrentCell(TableId::Goods), QPoint(1, 6000));
    frame.Edit11->setText("00");
    frame.GoToItem();
    EXPECT_EQ(messages.last(), "ВНИМАНИЕ!\r\nНомер товара не может быть 0!");
}

TEST_F(FrameFixture, ScannerChosenOnTheGoodsTabKeepsTheRegisterButtonsOffUntilAnotherTab)
{
    int goodsShown = 0, otherShown = 0;
    bool scannerChosen = false;
    frame.onGoodsTabShown = [&] { ++goodsShown; return scannerChosen; };
    frame.onOtherTabShown = [&] { ++otherShown; };
    frame.ShowTable(TableId::Goods);
    EXPECT_EQ(goodsShown, 1);
    EXPECT_TRUE(frame.Button3->isEnabled());
    frame.ShowTable(TableId::Cliche);
    EXPECT_EQ(otherShown, 1);
    scannerChosen = true;
    frame.ShowTable(TableId::Goods);
    EXPECT_FALSE(frame.Button3->isEnabled() || frame.Button4->isEnabled() || frame.Button5->isEnabled());
    frame.ShowTable(TableId::Stations);
    EXPECT_TRUE(frame.Button3->isEnabled());
    EXPECT_EQ(otherShown, 2);
}

TEST_F(FrameFixture, RunsDriveTheProgressBarAndRoundTrip)
{
    TestSim sim;
    ASSERT_TRUE(sim.started());
    const KktLinkArgs args = sim.linkArgs();
    session.StructSett.PortSett.Name = args.port;
    session.StructSett.PortSett.Speed = args.speed;
    session.StructSett.PortSett.TimeOut = args.timeOut;
    session.StructSett.NumKKT = args.numKkt;

    frame.ShowTable(TableId::Stations);
    frame.LastBox(TableId::Stations)->setText("5");
    for (int r = 1; r <= 5; ++r)
        frame.Grid(TableId::Stations).SetCell(1, r, "Станция " + QString::number(r));
    QList<int> values;
    bool shot = false;
    QObject::connect(frame.ProgressBar1, &QProgressBar::valueChanged, [&](int v) {
        values << v;
        if (v == 60 && !shot) {
            shot = true;
            Shot("run_in_progress", frame.window());
            Shot("wait_window", WaitWindow());
        }
    });
    frame.WriteActiveTable();
    EXPECT_EQ(values, (QList<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_EQ(sim.sim().param(7, 5, 0), "Станция 5");
    EXPECT_FALSE(frame.ProgressBar1->isVisible());

    frame.CleanActiveTable();
    frame.ReadActiveTable();
    EXPECT_EQ(frame.Grid(TableId::Stations).Cell(1, 3), "Станция 3");
    EXPECT_EQ(frame.GridView(TableId::Stations)->model()->index(2, 0).data().toString(), "Станция 3");

    // "Прервать" stops the run after the exchange under way.
    QObject::disconnect(frame.ProgressBar1, nullptr, nullptr, nullptr);
    QObject::connect(frame.ProgressBar1, &QProgressBar::valueChanged, [&](int v) {
        if (v == 40)
            WaitWindow()->btnAbort->click();
    });
    frame.WriteActiveTable();
    EXPECT_EQ(messages, QStringList{"Внимание!\r\nЗапись прервана.\r\nЗаписано записей: 2 из 5."});
}

TEST_F(FrameFixture, TabMovesBetweenCellsExceptInSections)
{
    frame.FillTestData();
    for (TableId id : {TableId::Operators, TableId::Goods, TableId::Sections, TableId::Cliche, TableId::Agents,
                       TableId::Enterprises, TableId::Stations}) {
        TGridView* view = View(id);
        EXPECT_TRUE(view->isVisible());
        ASSERT_TRUE(view->SelectCell(1, 1));
        if (QWidget* editor = view->CurrentEditor()) {
            editor->setFocus();
            QTest::keyClick(editor, Qt::Key_Tab);
        }
        const QPoint expected = id == TableId::Sections ? QPoint(1, 1) : id == TableId::Cliche || id == TableId::Stations
                                                                             ? QPoint(1, 2)
                                                                             : QPoint(2, 1);
        EXPECT_EQ(frame.CurrentCell(id), expected) << int(id);
        Shot(QStringLiteral("tab%1").arg(int(id)));
    }
}

TEST_F(FrameFixture, InCellListClosesOnFocusLossAndWritesOnlyAChoice)
{
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    TGridView* view = View(TableId::Sections);
    view->setFocus();
    // An empty tax-system cell travels as its own code: merely passing through the list must keep it empty.
    ASSERT_TRUE(view->SelectCell(4, 2));
    QPointer<TCellList> tax = qobject_cast<TCellList*>(view->CurrentEditor());
    ASSERT_NE(tax, nullptr);
    ASSERT_TRUE(tax->hasFocus());
    EXPECT_EQ(tax->currentIndex(), 0);

    QLineEdit* box = frame.FirstBox(TableId::Sections);
    box->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tax || !tax->isVisible(); }, 2000));
    EXPECT_EQ(view->CurrentEditor(), nullptr);
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(frame.Grid(TableId::Sections).Cell(4, 2), "");
    EXPECT_EQ(frame.CurrentCell(TableId::Sections), QPoint(4, 2));
    // The row's data columns are left selected.
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    EXPECT_EQ(selected.size(), 5);
    for (const QModelIndex& i : selected)
        EXPECT_EQ(TGridModel::GridRow(i), 2);
    Shot("list_closed");

    // A click on the cell opens the list again; a choice is written at once.
    const QPoint cell = view->visualRect(view->GridModel()->CellIndex(4, 2)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
    tax = qobject_cast<TCellList*>(view->CurrentEditor());
    ASSERT_NE(tax, nullptr);
    EXPECT_TRUE(tax->isVisible());
    EXPECT_TRUE(tax->hasFocus());
    QTest::keyClick(tax, Qt::Key_Down);
    EXPECT_EQ(frame.Grid(TableId::Sections).Cell(4, 2), "Общая");

    // Moving to another cell closes it too and keeps the choice.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->GridModel()->CellIndex(1, 3)).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tax || !tax->isVisible(); }, 2000));
    EXPECT_EQ(frame.CurrentCell(TableId::Sections), QPoint(1, 3));
    EXPECT_NE(qobject_cast<TCellEdit*>(view->CurrentEditor()), nullptr);
    EXPECT_EQ(frame.Grid(TableId::Sections).Cell(4, 2), "Общая");
    EXPECT_EQ(view->model()->index(1, 3).data().toString(), "Общая");
}

TEST_F(FrameFixture, ScanResultLabelShowsItsWholeText)
{
    frame.ShowTable(TableId::Goods);
    QLabel* label = frame.lblCorrectShtrihCode;
    const QString text = QStringLiteral("Штрих-код некорректный, код товара 6000");
    label->setText(text);
    QApplication::processEvents();
    const QRect room = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(room, Qt::TextWordWrap, text);
    EXPECT_LE(needed.height(), room.height());
    EXPECT_LE(needed.width(), room.width());
    Shot("scan_result_label");
}
