// Marked rows, "Записать изменённые" and the goods search as the user meets them in the tables frame.
#include "app/session.h"
#include "app/ui/messages.h"
#include "simserver.h"
#include "tables/ui/gridview.h"
#include "tables/ui/setvaroframe.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct MarksFixture : ::testing::Test {
    KktSession session;
    TKktRegister reg;
    TFrameSetVaro frame{reg};
    TestSim sim;
    QStringList messages;

    void SetUp() override
    {
        ASSERT_TRUE(sim.started()) << sim.error().toStdString();
        SetMessageHandler([this](MsgKind, const QString& text) {
            messages << text;
            return true;
        });
        const KktLinkArgs args = sim.linkArgs();
        session.StructSett.PortSett.Name = args.port;
        session.StructSett.PortSett.Speed = args.speed;
        session.StructSett.PortSett.TimeOut = args.timeOut;
        session.StructSett.NumKKT = args.numKkt;
        frame.Init(session);
        frame.resize(1100, 600);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.ShowTable(TableId::Goods);
        TGridData& goods = frame.Grid(TableId::Goods);
        for (int r = 1; r <= 30; ++r) {
            goods.SetCell(1, r, QStringLiteral("Товар %1").arg(r));
            goods.SetCell(4, r, QStringLiteral("%1.00").arg(r));
            goods.SetCell(5, r, QStringLiteral("1"));
        }
        frame.RefreshGrid(TableId::Goods);
        frame.LastBox(TableId::Goods)->setText("30");
    }
    void TearDown() override { SetMessageHandler({}); }

    QList<int> Marked() const { return frame.Known(TableId::Goods).MarkedRows(1, 6000); }
    QString Caption() const { return frame.PageControl1->tabText(int(TableId::Goods)); }
    QAbstractItemModel* Model() const { return frame.GridView(TableId::Goods)->model(); }
    void Shot(const QString& name)
    {
        const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        QApplication::processEvents();
        frame.grab().save(dir + "/tables_" + name + ".png");
    }
};

}  // namespace

TEST_F(MarksFixture, ChangedRowsAreMarkedAndOnlyTheyAreWrittenUntilAllWentThrough)
{
    // Nothing is known before a read or a write: the loaded grid marks nothing.
    EXPECT_EQ(Marked(), QList<int>{});
    EXPECT_EQ(Caption(), "Предмет расчета");
    frame.WriteActiveTable();
    ASSERT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();

    // A new price list: the rows whose content changed are marked, the others are not.
    TGridData list = frame.Grid(TableId::Goods);
    for (int r : {4, 9, 17})
        list.SetCell(4, r, "99.90");
    list.SetCell(4, 12, "12.00");  // the same as before
    frame.Grid(TableId::Goods) = list;
    frame.RefreshGrid(TableId::Goods);
    EXPECT_EQ(Marked(), (QList<int>{4, 9, 17}));
    EXPECT_EQ(Caption(), "Предмет расчета (изм. 3)");
    EXPECT_EQ(Model()->headerData(3, Qt::Vertical).toString(), "* 4");
    EXPECT_EQ(Model()->headerData(4, Qt::Vertical).toString(), "5");
    EXPECT_TRUE(Model()->index(3, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(Model()->index(4, 0).data(Qt::BackgroundRole).isValid());

    // Typed back to what the register holds: no longer marked. A scanned code marks its row.
    Model()->setData(Model()->index(8, 3), "9.00", Qt::EditRole);
    frame.SetCell(TableId::Goods, 2, 20, "4600000000020");
    EXPECT_EQ(Marked(), (QList<int>{4, 17, 20}));
    EXPECT_EQ(Caption(), "Предмет расчета (изм. 3)");
    Shot("goods_marked");

    // A failure midway: the rows sent before it are unmarked, the rest stay for the next press.
    ASSERT_TRUE(sim.sim().applyFault("error T 17 77"));
    const int before = sim.sim().requestCount();
    frame.WriteChangedRows();
    EXPECT_EQ(messages, QStringList{"Внимание!\r\nОшибка (77) при записи базы. Товар номер 17 !"});
    EXPECT_EQ(sim.sim().requestCount() - before, 2);
    EXPECT_EQ(Marked(), (QList<int>{17, 20}));
    EXPECT_EQ(sim.sim().goods(4).price, "9990");

    ASSERT_TRUE(sim.sim().applyFault("clear"));
    messages.clear();
    frame.WriteChangedRows();
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_EQ(Marked(), QList<int>{});
    EXPECT_EQ(Caption(), "Предмет расчета");
    EXPECT_EQ(sim.sim().goods(20).barcode, "4600000000020");

    // Nothing marked: it says so and sends nothing.
    const int idle = sim.sim().requestCount();
    frame.WriteChangedRows();
    EXPECT_EQ(messages, QStringList{"Внимание!\r\nВ диапазоне с 1 по 30 нет изменённых записей. Ничего не записано."});
    EXPECT_EQ(sim.sim().requestCount(), idle);

    // "Очистить таблицу" changes every known row; a read makes them known again as the register holds them.
    frame.CleanActiveTable();
    EXPECT_EQ(Marked().size(), 30);
    frame.FirstBox(TableId::Goods)->setText("11");
    frame.ReadActiveTable();
    EXPECT_EQ(Marked().size(), 10);
    EXPECT_EQ(frame.Grid(TableId::Goods).Cell(1, 11), "Товар 11");

    // Once the register's base is cleared, every item the grid holds is a change to send.
    frame.ClearBaseInKkt();
    EXPECT_EQ(messages.last(), "База успешно очищена!");
    EXPECT_EQ(Marked().size(), 20);
    EXPECT_EQ(Marked().first(), 11);
    EXPECT_EQ(Caption(), "Предмет расчета (изм. 20)");
}

TEST_F(MarksFixture, SearchGoesToMatchesRoundTheTableAndSaysWhenThereIsNone)
{
    frame.Grid(TableId::Goods).SetCell(1, 7, "Молоко пастеризованное");
    frame.Grid(TableId::Goods).SetCell(1, 25, "Сырок МОЛОЧНЫЙ");
    frame.Grid(TableId::Goods).SetCell(2, 5000, "4607001234567");
    frame.RefreshGrid(TableId::Goods);
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    TGridView* view = frame.GridView(TableId::Goods);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(frame.edtFind->hasFocus());

    frame.edtFind->insert("молоч");  // typed; QTest types only ASCII
    QTest::keyClick(frame.edtFind, Qt::Key_Return);
    EXPECT_EQ(frame.CurrentCell(TableId::Goods), QPoint(1, 25));
    frame.edtFind->setText("моло");
    QTest::keyClick(frame.edtFind, Qt::Key_F3);
    EXPECT_EQ(frame.CurrentCell(TableId::Goods), QPoint(1, 7));  // round the end
    QTest::keyClick(frame.edtFind, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(frame.CurrentCell(TableId::Goods), QPoint(1, 25));  // round the start
    frame.edtFind->setText("1234567");
    QTest::keyClick(frame.edtFind, Qt::Key_Return);
    EXPECT_EQ(frame.CurrentCell(TableId::Goods), QPoint(1, 5000));
    EXPECT_TRUE(view->visualRect(view->currentIndex()).intersects(view->viewport()->rect()));

    frame.edtFind->setText("кефир");
    QTest::keyClick(frame.edtFind, Qt::Key_Return);
    EXPECT_TRUE(frame.lblNotFound->isVisible());
    EXPECT_EQ(frame.CurrentCell(TableId::Goods), QPoint(1, 5000));
    EXPECT_TRUE(messages.isEmpty());
    Shot("goods_find_none");
    QTest::keyClick(frame.edtFind, Qt::Key_Backspace);
    EXPECT_FALSE(frame.lblNotFound->isVisible());
    frame.edtFind->setText("пастер");
    QTest::keyClick(frame.edtFind, Qt::Key_Return);
    EXPECT_EQ(frame.CurrentCell(TableId::Goods), QPoint(1, 7));
    EXPECT_FALSE(frame.lblNotFound->isVisible());
    Shot("goods_find");
}
