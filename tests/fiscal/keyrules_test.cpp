#include "fiscal/keypresskomponents.h"
#include "fiscal/memolines.h"
#include "tables/keydigits.h"

#include <gtest/gtest.h>

namespace {
const QChar kEnter(keycode::Enter);
const QChar kBackspace(keycode::Backspace);
}  // namespace

TEST(DigitEdit, LimitSelectionAndClipboardKeys)
{
    const QString inn = QStringLiteral("771234567890");
    EXPECT_TRUE(KeyPressDigitEdit(inn, false, QChar(u'1'), 12).isNull());
    EXPECT_EQ(KeyPressDigitEdit(inn, false, kBackspace, 12), kBackspace);
    EXPECT_EQ(KeyPressDigitEdit(inn, true, QChar(u'5'), 12), QChar(u'5'));
    EXPECT_TRUE(KeyPressDigitEdit(QString(), false, QChar(u'a'), 12).isNull());
    EXPECT_TRUE(KeyPressDigitEdit(QString(), false, QChar(u'-'), 12).isNull());
    for (char16_t k : {keycode::Copy, keycode::Paste, keycode::Cut})
        EXPECT_EQ(KeyPressDigitEdit(QStringLiteral("12"), false, QChar(k), 12), QChar(k));
}

TEST(DigitEdit, KeyEventsBecomeTheFilterCharacters)
{
    EXPECT_EQ(KeyEventChar(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")), QChar(keycode::Paste));
    EXPECT_EQ(KeyEventChar(Qt::Key_Insert, Qt::ShiftModifier, QString()), QChar(keycode::Paste));
    EXPECT_EQ(KeyEventChar(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")), kBackspace);
    EXPECT_EQ(KeyEventChar(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")), kEnter);
    EXPECT_EQ(KeyEventChar(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("Ж")), QChar(u'Ж'));
    EXPECT_TRUE(KeyEventChar(Qt::Key_Left, Qt::NoModifier, QString()).isNull());
}

TEST(MemoRules, EnterIsRefusedAtTheLineLimit)
{
    EXPECT_TRUE(MemoLineKeyFilter(QStringLiteral("a\nb"), 1, kEnter, 2).isNull());
    EXPECT_TRUE(MemoLineKeyFilter(ResetMemoLines(2), 0, kEnter, 2).isNull());
    EXPECT_EQ(MemoLineKeyFilter(QStringLiteral("a"), 1, kEnter, 2), kEnter);
    EXPECT_EQ(MemoLineKeyFilter(QStringLiteral("a\nb"), 3, QChar(u'c'), 2), QChar(u'c'));
}

TEST(MemoRules, FullLineTakesOnlyBackspace)
{
    const QString full(24, QLatin1Char('x'));
    const QString text = QStringLiteral("short\n") + full;
    EXPECT_TRUE(MemoLineKeyFilter(text, 10, QChar(u'y'), 5).isNull());
    EXPECT_TRUE(MemoLineKeyFilter(text, 10, kEnter, 5).isNull());
    EXPECT_EQ(MemoLineKeyFilter(text, 10, kBackspace, 5), kBackspace);
    // The caret's own line decides: the short first line still takes keys.
    EXPECT_EQ(MemoLineKeyFilter(text, 2, QChar(u'y'), 5), QChar(u'y'));
}

TEST(MemoRules, PastedTextIsCutToTheLimits)
{
    MemoTrim t = TrimMemoLines(QStringLiteral("1\n2\n3\n4\n5\n6"), 11, 5);
    EXPECT_TRUE(t.changed);
    EXPECT_EQ(t.text, QStringLiteral("1\n2\n3\n4\n5"));
    EXPECT_EQ(t.caret, 9);
    t = TrimMemoLines(QStringLiteral("ab\n") + QString(30, QLatin1Char('z')), 1, 2);
    EXPECT_EQ(t.text, QStringLiteral("ab\n") + QString(24, QLatin1Char('z')));
    EXPECT_EQ(t.caret, 1);
    t = TrimMemoLines(QStringLiteral("ok\n"), 3, 2);
    EXPECT_FALSE(t.changed);
}

TEST(MemoRules, ResetGivesEmptyLinesAndMissingLinesCountAsEmpty)
{
    EXPECT_EQ(ResetMemoLines(1), QString());
    EXPECT_EQ(ResetMemoLines(5).split(QLatin1Char('\n')).size(), 5);
    EXPECT_EQ(MemoLines<4>(QStringLiteral("a\nb")), (QStringList{"a", "b", "", ""}));
    EXPECT_EQ(MemoLines<2>(QStringLiteral("a\nb\nc")), (QStringList{"a", "b"}));
}
