// "Записать на несколько ККТ…": the search fills the list, the window's changed rows go to every
// ticked register at once, and a register that does not answer is named with its reason.
#include "appuitest.h"

#include "app/session.h"
#include "app/ui/searchpanel.h"
#include "simserver.h"
#include "whole/kktregister.h"
#include "whole/ui/fleetdialog.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

void SetSerial(TestSim& sim, uint32_t serial)
{
    SimMemory memory = sim.sim().memory();
    memory.serialNumber = serial;
    sim.sim().setMemory(memory);
}

using FleetUiTest = AppUiTest;

}  // namespace

TEST_F(FleetUiTest, TheWindowsChangedPricesGoToEveryRegisterFoundAndASilentOneIsNamed)
{
    TestSim first, second, silent;
    for (TestSim* s : {&first, &second, &silent})
        ASSERT_TRUE(s->started()) << s->error().toStdString();
    SetSerial(second, 20240002);

    // The window's goods as read from one register, then two prices changed: two marked rows.
    TKktRegister reg;
    TGridData& goods = reg.Grid(TableId::Goods);
    for (int row = 1; row <= 3; ++row) {
        goods.SetCell(1, row, QStringLiteral("Товар %1").arg(row));
        goods.SetCell(4, row, QStringLiteral("1.00"));
        goods.SetCell(5, row, QStringLiteral("1"));
        reg.Known(TableId::Goods).Remember(goods, row);
    }
    goods.SetCell(4, 1, QStringLiteral("2.50"));
    goods.SetCell(4, 3, QStringLiteral("7.00"));
    reg.Known(TableId::Goods).UpdateAll(goods);
    const TGridData before = goods;

    KktSession session;
    session.StructSett.PortSett.TimeOut = 300;
    session.StructSett.NumKKT = 1;
    std::vector<QString> log;
    TFleetDialog dialog(session, reg, {first.devicePath(), second.devicePath()});
    dialog.logFrame = [&log](const QString& text, bool) { log.push_back(text); };
    dialog.show();

    dialog.btnFind->click();
    QDeadlineTimer deadline(20000);
    while (dialog.SearchPanel->Running() && !deadline.hasExpired())
        QTest::qWait(5);
    ASSERT_EQ(dialog.lstRegisters->rowCount(), 2);
    EXPECT_EQ(dialog.lstRegisters->item(0, 1)->text(), first.devicePath());
    EXPECT_EQ(dialog.lstRegisters->item(0, 2)->text(), "115200");
    EXPECT_EQ(dialog.lstRegisters->item(1, 3)->text(), "20240002");

    silent.sim().applyFault(QStringLiteral("silence always"));
    KktLinkArgs quiet = session.LinkArgs();
    quiet.port = silent.devicePath();
    dialog.AddRegister(quiet, QString());

    dialog.rbChanged->setChecked(true);
    ASSERT_TRUE(dialog.Start());
    for (TestSim* s : {&first, &second}) {
        EXPECT_EQ(s->sim().goods(1).price, "250");
        EXPECT_EQ(s->sim().goods(3).price, "700");
        EXPECT_EQ(s->sim().goodsCount(), 2);
    }
    EXPECT_EQ(silent.sim().goodsCount(), 0);
    const auto result = [&](int row) { return dialog.lstRegisters->item(row, 5)->text(); };
    EXPECT_TRUE(result(0).startsWith("записано; записей: 2;")) << result(0).toStdString();
    EXPECT_TRUE(result(2).startsWith("ошибка: нет ответа")) << result(2).toStdString();
    EXPECT_EQ(static_cast<QProgressBar*>(dialog.lstRegisters->cellWidget(1, 4))->value(), 100);
    EXPECT_EQ(dialog.lblSummary->text(), "Не удалось записать в ККТ: 1 из 3 (причина - в списке).");
    // The log shows each register's frames under its port; the window's grid is as it was.
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const QString& t) { return t.startsWith("[" + second.devicePath() + "] Запрос"); }));
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(goods.Cell(4, row), before.Cell(4, row));
    SaveShot(dialog, QStringLiteral("fleet-dialog"));
}
