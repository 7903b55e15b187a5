// What the service engineer reads in "Отладка ККМ": the dump texts, their colours, and the log
// filled by real commands of the link.
#include "link/framedump.h"
#include "link/kktlink.h"
#include "link/ui/kktlogview.h"
#include "link/ui/udebugkkt.h"
#include "silentport.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 128, 0);

QStringList Lines(const TfrmDebugKKM& log)
{
    return log.plainText().split(QLatin1Char('\n'));
}

KktLinkArgs RegisterOne()
{
    KktLinkArgs args;
    args.port = QStringLiteral("ttyS0");
    args.numKkt = 1;
    args.timeOut = 10;
    return args;
}

}  // namespace

TEST(FrameDump, ByteToHexIsTwoUpperCaseDigitsHighFirst)
{
    EXPECT_EQ(ByteToHex(0x00), QStringLiteral("00"));
    EXPECT_EQ(ByteToHex(0x0A), QStringLiteral("0A"));
    EXPECT_EQ(ByteToHex(0xB3), QStringLiteral("B3"));
    EXPECT_EQ(ByteToHex(0xFF), QStringLiteral("FF"));
}

TEST(FrameDump, PositionsHaveThreeDigitsAndItemsTwoBlanks)
{
    std::array<uint8_t, 124> frame{};
    frame[5] = 0x0A;
    frame[123] = 0xFF;
    const QString items = FrameDumpItems(frame.data(), static_cast<uint32_t>(frame.size()));
    EXPECT_TRUE(items.startsWith(QStringLiteral("000-00H;  001-00H;  ")));
    EXPECT_TRUE(items.contains(QStringLiteral("004-00H;  005-0AH;  006-00H;  ")));
    EXPECT_TRUE(items.endsWith(QStringLiteral("122-00H;  123-FFH;  ")));
    EXPECT_EQ(items.size(), 124 * 10);
}

TEST(ExchangeLog, StatusRequestOfRegisterOneShowsItsElevenBytes)
{
    TfrmDebugKKM log;
    const uint8_t request[] = {0x17, 0x02, 0x01, 0x00, 0x00, 0x00, 0x75, 0x0B, 0x19, 0xB3, 0x00};
    log.DumpKktFrame(request, sizeof request, false);
    EXPECT_EQ(Lines(log), QStringList({QStringLiteral(" Запрос: "),
                                       QStringLiteral("000-17H;  001-02H;  002-01H;  003-00H;  004-00H;  005-00H;  "
                                                      "006-75H;  007-0BH;  008-19H;  009-B3H;  010-00H;  ")}));
}

TEST(ExchangeLog, AnswerEndsWithABlankLineThatSeparatesExchanges)
{
    TfrmDebugKKM log;
    const uint8_t request[] = {0x17, 0x02};
    const uint8_t answer[] = {0x00, 0x00, 0x00, 0x14};
    log.DumpKktFrame(request, sizeof request, false);
    log.DumpKktFrame(answer, sizeof answer, true);
    log.DumpKktFrame(request, sizeof request, false);
    EXPECT_EQ(Lines(log), QStringList({QStringLiteral(" Запрос: "), QStringLiteral("000-17H;  001-02H;  "),
                                       QStringLiteral(" Ответ: "),
                                       QStringLiteral("000-00H;  001-00H;  002-00H;  003-14H;  "), QString(),
                                       QStringLiteral(" Запрос: "), QStringLiteral("000-17H;  001-02H;  ")}));
}

TEST(ExchangeLog, RequestsAreRedAnswersGreen)
{
    TfrmDebugKKM log;
    const uint8_t frame[] = {0x17};
    log.DumpKktFrame(frame, 1, false);
    log.DumpKktFrame(frame, 1, true);
    log.AddRequestLine(QStringLiteral("a"));
    const LogLines& lines = log.RichEdit->lines();
    ASSERT_EQ(lines.lineCount(), 6);
    const QRgb expected[] = {kRed, kRed, kGreen, kGreen, kGreen, kRed};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(lines.line(i).colour, expected[i]) << "line " << i;
}

TEST(ExchangeLog, EmptyFramesAreNamed)
{
    TfrmDebugKKM log;
    log.DumpKktFrame(nullptr, 0, false);
    log.DumpKktFrame(nullptr, 0, true);
    EXPECT_EQ(Lines(log), QStringList({QStringLiteral(" Запрос пуст"), QString(), QStringLiteral(" Ответ пуст"),
                                       QString()}));
    EXPECT_EQ(log.RichEdit->lines().line(2).colour, kGreen);
}

TEST(ExchangeLog, LineBreaksInsideATextStartFurtherLines)
{
    TfrmDebugKKM log;
    log.AddAnswerLine(QStringLiteral("one\r\ntwo\nthree\rfour"));
    EXPECT_EQ(Lines(log), QStringList({QStringLiteral(" one"), QStringLiteral("two"), QStringLiteral("three"),
                                       QStringLiteral("four")}));
}

TEST(ExchangeLog, ClearEmptiesItAndTheNextExchangeStartsAtTheTop)
{
    TfrmDebugKKM log;
    log.show();
    std::array<uint8_t, 77> frame{};
    for (int i = 0; i < 40; ++i)
        log.DumpKktFrame(frame.data(), static_cast<uint32_t>(frame.size()), i % 2 == 1);
    ASSERT_GT(log.RichEdit->topRow(), 0);
    log.btnClear->click();
    EXPECT_EQ(log.plainText(), QString());
    EXPECT_EQ(log.RichEdit->lines().rowCount(), 0);
    log.DumpKktFrame(nullptr, 0, true);
    EXPECT_EQ(log.plainText(), QStringLiteral(" Ответ пуст\n"));
    EXPECT_EQ(log.RichEdit->topRow(), 0);
}

TEST(ExchangeLog, ClosingHidesAndKeepsTheContent)
{
    TfrmDebugKKM log;
    log.show();
    log.AddRequestLine(QStringLiteral("x"));
    EXPECT_TRUE(log.close());
    EXPECT_FALSE(log.isVisible());
    EXPECT_EQ(log.plainText(), QStringLiteral(" x"));
    log.AddAnswerLine(QStringLiteral("y"));  // hidden, it still receives the exchanges
    EXPECT_EQ(log.plainText(), QStringLiteral(" x\n y"));
}

TEST(ExchangeLog, WindowWithOnlyAClosingButtonWhoseLogFollowsItsSize)
{
    TfrmDebugKKM log;
    log.show();
    EXPECT_EQ(log.windowTitle(), QStringLiteral("Отладка ККМ"));
    EXPECT_EQ(log.size(), QSize(482, 405));
    // Never above the program's modal questions.
    EXPECT_FALSE(log.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(log.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(log.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(log.btnClear->text(), QStringLiteral("Очистить"));
    for (int i = 0; i < 40; ++i)
        log.AddRequestLine(QStringLiteral("строка %1").arg(i));
    // Bottom centre, below the log: it hides none of its lines.
    for (const QSize size : {QSize(482, 405), QSize(900, 700), QSize(300, 200)}) {
        log.resize(size);
        QApplication::processEvents();
        const QRect button = log.btnClear->geometry();
        EXPECT_LE(std::abs(button.left() - (log.width() - button.right() - 1)), 1) << size.width();
        EXPECT_FALSE(log.RichEdit->geometry().intersects(button)) << size.width();
        EXPECT_GT(button.top(), log.height() * 3 / 4) << size.width();
        EXPECT_EQ(log.RichEdit->width(), log.width()) << size.width();
        EXPECT_GT(log.RichEdit->height(), log.height() - 2 * button.height() - 20) << size.width();
        const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
        if (!dir.isEmpty())
            log.grab().save(QStringLiteral("%1/exchange_log_%2.png").arg(dir).arg(size.width()));
    }
}

TEST(ExchangeLog, CommandWithoutAnAnswerLogsTheRequestAndAnEmptyAnswerOnce)
{
    TfrmDebugKKM log;
    KktLink link([] { return std::make_unique<SilentPort>(true); });
    link.setFrameLog(&log);
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(RegisterOne(), info), KKT_NO_ANSWER);
    EXPECT_EQ(Lines(log), QStringList({QStringLiteral(" Запрос: "),
                                       QStringLiteral("000-17H;  001-02H;  002-01H;  003-00H;  004-00H;  005-00H;  "
                                                      "006-75H;  007-0BH;  008-19H;  009-B3H;  010-00H;  "),
                                       QStringLiteral(" Ответ пуст"), QString()}));
    EXPECT_EQ(log.RichEdit->lines().line(2).colour, kGreen);
}

TEST(ExchangeLog, PortThatDoesNotOpenLogsNothing)
{
    TfrmDebugKKM log;
    log.AddRequestLine(QStringLiteral("before"));
    KktLink link([] { return std::make_unique<SilentPort>(false); });
    link.setFrameLog(&log);
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus(RegisterOne(), info), KKT_PORT_FAILED);
    EXPECT_EQ(log.plainText(), QStringLiteral(" before"));
}
