// The log view: wrapping, scrolling, painting and copying of text, on real widgets offscreen.
#include "link/framedump.h"
#include "link/ui/kktlogview.h"
#include "link/ui/udebugkkt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// Eleven dump items, ten characters each.
const QString kItems = QStringLiteral("000-17H;  001-02H;  002-01H;  003-00H;  004-00H;  005-00H;  006-75H;  "
                                      "007-0BH;  008-19H;  009-B3H;  010-00H;  ");

class LogLinesTest : public ::testing::Test {
protected:
    LogLinesTest() : lines(KktLogView().font()) {}
    qreal cw() const { return lines.advances().of(QLatin1Char('0')); }
    LogLines lines;
};

void Press(QWidget* w, QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, mods);
    QApplication::sendEvent(w, &e);
}

void DragTo(QWidget* w, QPoint p)
{
    QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Release(QWidget* w, QPoint p)
{
    QMouseEvent e(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The middle of a character cell's left or right half.
QPoint LeftHalf(const KktLogView& v, KktLogView::Pos pos)
{
    return v.pointOf(pos) + QPoint(1, v.rowHeight() / 2);
}

struct ShownLog {
    ShownLog() { log.show(); }
    KktLogView* view() const { return log.RichEdit; }
    QWidget* viewport() const { return log.RichEdit->viewport(); }
    TfrmDebugKKM log;
};

}  // namespace

TEST_F(LogLinesTest, BreaksOnlyAfterTheBlanksOfAnItem)
{
    lines.setWidth(cw() * 25);  // two items and a half
    lines.append(kItems, 0);
    EXPECT_EQ(lines.rowStarts(0), (std::vector<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(lines.rowCount(), 6);
}

TEST_F(LogLinesTest, BlanksHangAndLongWordsBreakBetweenCharacters)
{
    lines.setWidth(cw() * 5 + 0.5);
    lines.append(QStringLiteral("abcde     "), 0);
    lines.append(QString(12, QLatin1Char('x')), 0);
    lines.append(QStringLiteral("ab xxxxxxxxxxxx"), 0);
    EXPECT_EQ(lines.rowStarts(0), std::vector<int>{0});
    EXPECT_EQ(lines.rowStarts(1), (std::vector<int>{0, 5, 10}));
    EXPECT_EQ(lines.rowStarts(2), (std::vector<int>{0, 3, 8, 13}));
}

TEST_F(LogLinesTest, RunningRowTotalsFindTheLineOfARow)
{
    lines.setWidth(cw() * 25);
    lines.append(QStringLiteral("a\r\n") + kItems.left(50) + QStringLiteral("\r\n") + kItems.left(30), 0);
    ASSERT_EQ(lines.lineCount(), 3);
    EXPECT_EQ(lines.rowCount(), 1 + 3 + 2);
    EXPECT_EQ(lines.firstRow(2), 4);
    const int expected[] = {0, 1, 1, 1, 2, 2};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(lines.lineAtRow(row), expected[row]) << "row " << row;
    lines.setWidth(cw() * 100);  // one pass re-wraps them all
    EXPECT_EQ(lines.rowCount(), 3);
    EXPECT_EQ(lines.lineAtRow(2), 2);
    lines.clear();
    EXPECT_EQ(lines.rowCount(), 0);
    EXPECT_EQ(lines.lineCount(), 0);
}

TEST(LogView, NarrowerViewWrapsIntoMoreRowsThatFit)
{
    ShownLog s;
    std::array<uint8_t, 77> frame{};
    s.log.DumpKktFrame(frame.data(), static_cast<uint32_t>(frame.size()), false);
    const int wide = s.view()->lines().rowCount();
    s.view()->resize(240, s.view()->height());
    const int narrow = s.view()->lines().rowCount();
    EXPECT_GT(narrow, wide);
    // Every row of the dump begins with an item and its text (blanks aside) fits the viewport.
    const LogLines& lines = s.view()->lines();
    const QString& dump = lines.line(1).text;
    const std::vector<int> starts = lines.rowStarts(1);
    for (size_t r = 0; r < starts.size(); ++r) {
        EXPECT_EQ(starts[r] % 10, 0) << "row " << r;
        const int end = r + 1 < starts.size() ? starts[r + 1] - 2 : static_cast<int>(dump.size()) - 2;
        EXPECT_LE(lines.advances().width(dump, starts[r], end), s.viewport()->width()) << "row " << r;
    }
    s.view()->resize(482, s.view()->height());
    EXPECT_EQ(s.view()->lines().rowCount(), wide);
}

TEST(LogView, HiddenLogWrapsAtTheWidthItWillShowWith)
{
    TfrmDebugKKM log;
    std::array<uint8_t, 77> frame{};
    log.DumpKktFrame(frame.data(), static_cast<uint32_t>(frame.size()), false);
    const qreal hiddenWidth = log.RichEdit->lines().width();
    log.show();
    log.RichEdit->repaint();
    EXPECT_EQ(log.RichEdit->lines().width(), hiddenWidth);
}

TEST(LogView, AppendScrollsToTheEnd)
{
    ShownLog s;
    std::array<uint8_t, 72> frame{};
    for (int i = 0; i < 10; ++i)
        s.log.DumpKktFrame(frame.data(), static_cast<uint32_t>(frame.size()), i % 2 == 1);
    QScrollBar* bar = s.view()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    // The last row, the blank one after the last answer, is on screen.
    const LogLines& lines = s.view()->lines();
    const QPoint last = s.view()->pointOf({lines.lineCount() - 1, 0});
    EXPECT_GE(last.y(), 0);
    EXPECT_LE(last.y() + s.view()->rowHeight(), s.viewport()->height());
}

TEST(LogView, KeysAndWheelScroll)
{
    ShownLog s;
    std::array<uint8_t, 72> frame{};
    for (int i = 0; i < 10; ++i)
        s.log.DumpKktFrame(frame.data(), static_cast<uint32_t>(frame.size()), i % 2 == 1);
    QScrollBar* bar = s.view()->verticalScrollBar();
    const int end = bar->value();
    QTest::keyClick(s.view(), Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), end - s.view()->visibleRows());
    QTest::keyClick(s.view(), Qt::Key_Up);
    EXPECT_EQ(bar->value(), end - s.view()->visibleRows() - 1);
    QTest::keyClick(s.view(), Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);
    QWheelEvent wheel(QPointF(10, 10), s.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(s.viewport(), &wheel);
    EXPECT_GT(bar->value(), 0);
    QTest::keyClick(s.view(), Qt::Key_End);
    EXPECT_EQ(bar->value(), end);
}

TEST(LogView, DraggingSelectsToTheCharacterAcrossLinesAndCtrlCCopies)
{
    ShownLog s;
    s.log.AddRequestLine(QStringLiteral("Запрос: "));
    s.log.AddAnswerLine(QStringLiteral("Ответ: "));
    // From the "а" of "Запрос" to just before the ":" of "Ответ"; each line begins with a blank.
    Press(s.viewport(), LeftHalf(*s.view(), {0, 2}));
    DragTo(s.viewport(), LeftHalf(*s.view(), {1, 6}));
    Release(s.viewport(), LeftHalf(*s.view(), {1, 6}));
    EXPECT_EQ(s.view()->selectedText(), QStringLiteral("апрос: \n Ответ"));
    QApplication::clipboard()->clear();
    QTest::keyClick(s.view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("апрос: \n Ответ"));
}

TEST(LogView, ClickInTheRightHalfOfACharacterSelectsFromAfterIt)
{
    ShownLog s;
    s.log.AddRequestLine(QStringLiteral("0123456789"));
    const int cw = qRound(s.view()->lines().advances().of(QLatin1Char('0')));
    // The line is " 0123456789": the right half of "3" is before "4".
    Press(s.viewport(), s.view()->pointOf({0, 4}) + QPoint(cw - 1, 2));
    Press(s.viewport(), s.view()->pointOf({0, 8}) + QPoint(1, 2), Qt::ShiftModifier);  // Shift+click extends
    EXPECT_EQ(s.view()->selectedText(), QStringLiteral("456"));
    // A place past the end of a line is drawn at its end.
    EXPECT_EQ(s.view()->pointOf({0, 99}), s.view()->pointOf({0, 11}));
    EXPECT_EQ(s.view()->hitTest(s.view()->pointOf({0, 11}) + QPoint(200, 2)), (KktLogView::Pos{0, 11}));
}

TEST(LogView, SelectionAcrossAWrappedRowKeepsTheTextWhole)
{
    ShownLog s;
    std::array<uint8_t, 77> frame{};
    s.log.DumpKktFrame(frame.data(), static_cast<uint32_t>(frame.size()), false);
    const std::vector<int> starts = s.view()->lines().rowStarts(1);
    ASSERT_GT(starts.size(), 2u);
    const int from = starts[1] - 5;
    const int to = starts[1] + 7;
    Press(s.viewport(), LeftHalf(*s.view(), {1, from}));
    DragTo(s.viewport(), LeftHalf(*s.view(), {1, to}));
    EXPECT_EQ(s.view()->selectedText(), s.view()->lines().line(1).text.mid(from, to - from));
}

TEST(LogView, SelectAllAndTheContextMenuCopyTheWholeLog)
{
    ShownLog s;
    std::array<uint8_t, 11> frame{0x17, 0x02, 0x01};
    s.log.DumpKktFrame(frame.data(), static_cast<uint32_t>(frame.size()), false);
    s.log.DumpKktFrame(nullptr, 0, true);
    QApplication::clipboard()->clear();
    QTest::keyClick(s.view(), Qt::Key_A, Qt::ControlModifier);
    s.view()->findChild<QAction*>(QStringLiteral("actCopy"))->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), s.log.plainText());
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral(" Запрос: \n000-17H;  ")));
}

TEST(LogView, RowsArePaintedInTheirColours)
{
    ShownLog s;
    s.log.AddRequestLine(QStringLiteral("Запрос: ") + kItems);
    s.log.AddAnswerLine(QStringLiteral("Ответ: ") + kItems);
    const QImage image = s.viewport()->grab().toImage();
    const int h = s.view()->rowHeight();
    const int answerTop = s.view()->pointOf({1, 0}).y();
    auto count = [&](int top, int bottom, auto pred) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                n += pred(QColor(image.pixel(x, y))) ? 1 : 0;
        return n;
    };
    auto red = [](const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    auto green = [](const QColor& c) { return c.green() > 90 && c.red() < 60 && c.blue() < 60; };
    const double dpr = image.devicePixelRatio();
    const int split = qRound(answerTop * dpr);
    EXPECT_GT(count(0, split, red), 20);
    EXPECT_EQ(count(0, split, green), 0);
    EXPECT_GT(count(split, qRound((answerTop + 2 * h) * dpr), green), 20);
    EXPECT_EQ(count(split, image.height(), red), 0);
}
