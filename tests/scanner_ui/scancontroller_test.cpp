#include "../scanner/testpty.h"
#include "app/ui/messages.h"
#include "scanner/ui/scancontroller.h"
#include "scanner/ui/udebugscan.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A goods grid as the tables frame has it: header row 0 off the model, so model row r is goods code r+1.
struct GoodsTab {
    QStandardItemModel model{30, 7};
    QTableView view;
    QLabel result;
    TScanIndicator indicator = TScanIndicator::Hidden;
    QColor resultColour;

    GoodsTab()
    {
        view.setModel(&model);
        for (int r = 0; r < 30; ++r)
            model.setData(model.index(r, 2), QStringLiteral("old%1").arg(r + 1));
    }
    TScanGoodsGrid grid()
    {
        TScanGoodsGrid g;
        g.currentCell = [this](int& col, int& row) {
            const QModelIndex i = view.currentIndex();
            col = i.column();
            row = i.row() + 1;
            return i.isValid();
        };
        g.setCell = [this](int col, int row, const QString& text) { model.setData(model.index(row - 1, col), text); };
        g.setResultLabel = [this](const QString& text, const QColor& colour) {
            result.setText(text);
            resultColour = colour;
        };
        g.setIndicator = [this](TScanIndicator s) { indicator = s; };
        return g;
    }
    QString cell(int code, int col = 2) const { return model.data(model.index(code - 1, col)).toString(); }
    void select(int code, int col) { view.setCurrentIndex(model.index(code - 1, col)); }
};

struct Fixture {
    QTemporaryDir dir;
    GoodsTab tab;
    TfrmDebugScan log;
    TScanController scan{nullptr, &log};
    Fixture()
    {
        scan.setScanCfgPath(dir.filePath("Scan.cfg"));
        scan.setGoodsGrid(tab.grid());
    }
};

}  // namespace

TEST(ScanIntoGoods, AScanInTheBarcodeColumnWritesTheCellAndTheResult)
{
    Fixture f;
    f.tab.select(25, 2);
    f.scan.OnScanShtrihCode("4006381333931");
    EXPECT_EQ(f.tab.cell(25), "4006381333931");
    EXPECT_EQ(f.tab.result.text(), QString::fromUtf8("Штрих-код корректный, код товара 25"));
    EXPECT_EQ(f.tab.resultColour, QColor(0, 128, 0));

    f.scan.OnScanShtrihCode("4006381333932");
    EXPECT_EQ(f.tab.cell(25), "4006381333932");  // written all the same
    EXPECT_EQ(f.tab.result.text(), QString::fromUtf8("Штрих-код некорректный, код товара 25"));
    EXPECT_EQ(f.tab.resultColour, QColor(255, 0, 0));

    f.scan.OnScanShtrihCode("");
    EXPECT_EQ(f.tab.cell(25), "");
    EXPECT_TRUE(f.tab.result.text().contains(QString::fromUtf8("некорректный")));
}

TEST(ScanIntoGoods, AScanWithAnotherColumnSelectedChangesNothing)
{
    Fixture f;
    f.tab.select(7, 1);
    f.scan.OnScanShtrihCode("4006381333931");
    for (int code = 1; code <= 30; ++code)
        EXPECT_EQ(f.tab.cell(code), QStringLiteral("old%1").arg(code));
    EXPECT_EQ(f.tab.result.text(), "");
}

TEST(ScanIndicatorStates, AMissingPortIsRedAndLeavingTheTabWhite)
{
    Fixture f;
    f.scan.ApplyScanCfg({kScanModelPavo, "/dev/kkt-no-such-port", "9600"});
    EXPECT_EQ(f.tab.indicator, TScanIndicator::PortFailed);
    EXPECT_EQ(ScanIndicatorColour(f.tab.indicator), QColor(255, 0, 0));
    f.scan.OtherTabShown();
    EXPECT_EQ(f.tab.indicator, TScanIndicator::Stopped);
    EXPECT_EQ(ScanIndicatorColour(f.tab.indicator), QColor(255, 255, 255));
    EXPECT_FALSE(f.scan.GoodsTabShown("ttyS0"));
    EXPECT_EQ(f.tab.indicator, TScanIndicator::PortFailed);

    // "Не использовать сканер": hidden, and the goods tab starts nothing
    f.scan.ApplyScanCfg({});
    EXPECT_EQ(f.tab.indicator, TScanIndicator::Hidden);
    f.scan.GoodsTabShown("ttyS0");
    f.scan.OtherTabShown();
    EXPECT_EQ(f.tab.indicator, TScanIndicator::Hidden);
    EXPECT_FALSE(f.scan.reader().isRunning());
}

TEST(ScanIndicatorStates, StartUpWithoutAScannerHidesTheIndicator)
{
    Fixture f;
    f.tab.indicator = TScanIndicator::Stopped;
    f.scan.LoadScanSettings();
    EXPECT_EQ(f.tab.indicator, TScanIndicator::Hidden);
    EXPECT_TRUE(f.scan.model_scan.isEmpty());
}

TEST(ScanSharedPort, TheUserChoosesBetweenRegisterAndScanner)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    Fixture f;
    f.scan.ApplyScanCfg({kScanModelPavo, pty.path(), "9600"});
    f.scan.StopScan();
    QStringList asked;
    bool answer = false;
    SetMessageHandler([&](MsgKind kind, const QString& text) {
        EXPECT_EQ(kind, MsgKind::Question);
        asked << text;
        return answer;
    });
    EXPECT_FALSE(f.scan.GoodsTabShown(pty.path()));
    EXPECT_FALSE(f.scan.reader().isRunning());
    EXPECT_EQ(f.tab.indicator, TScanIndicator::Stopped);
    answer = true;
    EXPECT_TRUE(f.scan.GoodsTabShown(pty.path()));
    EXPECT_TRUE(f.scan.reader().isRunning());
    EXPECT_EQ(f.tab.indicator, TScanIndicator::Running);
    f.scan.StopScan();
    // another port: no question
    EXPECT_FALSE(f.scan.GoodsTabShown("ttyS7"));
    SetMessageHandler({});
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].contains(QString::fromUtf8("Вы хотите работать только со сканером?")));
    EXPECT_TRUE(f.scan.reader().isRunning());
}

TEST(ScanEndToEnd, ACodeOnTheLineLandsInTheSelectedCell)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    Fixture f;
    f.tab.select(12, 2);
    f.scan.ApplyScanCfg({kScanModelPavo, pty.path(), "9600"});
    ASSERT_EQ(f.tab.indicator, TScanIndicator::Running);
    ASSERT_TRUE(pty.write("96385074\r"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.tab.cell(12) == "96385074"; }, 5000));
    EXPECT_EQ(f.tab.result.text(), QString::fromUtf8("Штрих-код корректный, код товара 12"));
    EXPECT_TRUE(f.log.Memo->toPlainText().contains("EAN13 or EAN8 bufEan = 96385074< 13 >"));
    if (const QString dir = qEnvironmentVariable("KKT_SHOT_DIR"); !dir.isEmpty()) {
        f.log.show();
        f.log.grab().save(dir + "/scanner_log.png");
    }
    f.scan.OtherTabShown();
    ASSERT_TRUE(pty.write("73513537\r"));
    QTest::qWait(150);
    EXPECT_EQ(f.tab.cell(12), "96385074");
}
