#include "tables/cellkeys.h"
#include "tables/keydigits.h"

#include "qstringprint.h"

#include <gtest/gtest.h>

namespace {

const QChar BS(keycode::Backspace);

// Types the keys one after another; the caret follows the editor.
TCellEditState Type(TableId id, int col, TCellEditState s, const QString& keys)
{
    for (QChar k : keys) {
        const TKeyOutcome o = CellKeyPress(id, col, s, k);
        if (o.action == KeyAction::Replace)
            s = o.state;
    }
    return s;
}

}  // namespace

TEST(PriceEditor, BackspacingTwelveThirtyFour)
{
    TCellEditState s{"12,34", 5, 0};
    const char* steps[][2] = {{"12,30", "4"}, {"12,00", "3"}, {"12,00", "2"}, {"1,00", "1"}, {"0,00", "1"}};
    for (const auto& step : steps) {
        s = KeyPressPrice(s, BS);
        EXPECT_EQ(s.text, step[0]);
        EXPECT_EQ(s.caret, QString(step[1]).toInt());
    }
}

TEST(PriceEditor, TypingIntoAnEmptyCell)
{
    TCellEditState s{"", 0, 0};
    s = Type(TableId::Goods, 4, s, "1");
    EXPECT_EQ(s.text, "1,00");
    s = Type(TableId::Goods, 4, s, "2");
    EXPECT_EQ(s.text, "12,00");
    s = Type(TableId::Goods, 4, s, ",");
    EXPECT_EQ(s.text, "12,00");
    EXPECT_EQ(s.caret, 3);
    s = Type(TableId::Goods, 4, s, "5");
    EXPECT_EQ(s.text, "12,50");
    EXPECT_EQ(Type(TableId::Goods, 4, {"", 0, 0}, "123456789").text, "12345678,00");
}

TEST(PriceEditor, IgnoredKeysAndFileForms)
{
    // "." is the separator key as "," is: past the separator, never into the integer part.
    EXPECT_EQ(KeyPressPrice({"12,34", 2, 0}, '.'), TCellEditState({"12,34", 3, 0}));
    EXPECT_EQ(KeyPressPrice({"12,34", 1, 0}, '.'), TCellEditState({"12,34", 1, 0}));
    EXPECT_EQ(KeyPressPrice({"12,34", 1, 2}, '.'), TCellEditState({"12,34", 1, 0}));
    EXPECT_EQ(Type(TableId::Goods, 4, {"", 0, 0}, "350.50").text, "350,50");
    EXPECT_EQ(Type(TableId::Goods, 6, {"", 0, 0}, "2.125").text, "2,125");
    EXPECT_EQ(KeyPressPrice({"12,34", 2, 0}, 'x'), TCellEditState({"12,34", 2, 0}));
    EXPECT_EQ(KeyPressPrice({"12,34", 1, 0}, ',').text, "12,34");
    EXPECT_EQ(KeyPressPrice({"12,34", 1, 0}, ',').caret, 1);
    EXPECT_EQ(KeyPressPrice({"15.50", 5, 0}, '1').text, "15,50");  // rewritten with ","
    EXPECT_EQ(KeyPressPrice({"15.50", 0, 0}, '1').text, "115,50");
    EXPECT_EQ(KeyPressPrice({"1500", 4, 0}, '1').text, "15001,00");
    EXPECT_EQ(KeyPressPrice({"12,34", 5, 0}, '9').text, "12,34");  // at the end nothing happens
    EXPECT_EQ(KeyPressPrice({"12,34", 3, 0}, '9').text, "12,94");
    EXPECT_EQ(Type(TableId::Goods, 4, {"", 0, 0}, "x").text, "0.00");
}

TEST(PriceEditor, Selections)
{
    // Inside the integer part.
    EXPECT_EQ(KeyPressPrice({"1234,56", 1, 2}, '9'), TCellEditState({"194,56", 2, 0}));
    EXPECT_EQ(KeyPressPrice({"1234,56", 0, 4}, BS), TCellEditState({"0,56", 0, 0}));
    // Inside the fraction: from its first digit the first takes the digit, otherwise the last.
    EXPECT_EQ(KeyPressPrice({"12,34", 3, 2}, '7'), TCellEditState({"12,70", 4, 0}));
    EXPECT_EQ(KeyPressPrice({"12,345", 4, 2}, '7').text, "12,37");
    EXPECT_EQ(KeyPressQuantity({"1,234", 3, 2}, '7'), TCellEditState({"1,207", 4, 0}));
    EXPECT_EQ(KeyPressPrice({"12,34", 3, 2}, BS), TCellEditState({"12,00", 3, 0}));
    // Across the separator.
    EXPECT_EQ(KeyPressPrice({"12,34", 1, 3}, '5'), TCellEditState({"15,04", 2, 0}));
    EXPECT_EQ(KeyPressPrice({"12,34", 0, 5}, '5'), TCellEditState({"5,00", 1, 0}));
    EXPECT_EQ(KeyPressPrice({"12,34", 2, 2}, '5'), TCellEditState({"12,04", 2, 0}));  // from the separator: no digit
    EXPECT_EQ(KeyPressPrice({"12,34", 0, 4}, BS), TCellEditState({"0,04", 0, 0}));
    EXPECT_EQ(KeyPressPrice({"12,34", 1, 2}, ','), TCellEditState({"12,34", 1, 0}));
}

TEST(QuantityEditor, TypingStopsAtFiveIntegerDigits)
{
    TCellEditState s = Type(TableId::Goods, 6, {"", 0, 0}, "123456");
    EXPECT_EQ(s.text, "12345,000");
    s = Type(TableId::Goods, 6, s, ",1234");
    EXPECT_EQ(s.text, "12345,123");
    EXPECT_EQ(s.caret, 9);
    EXPECT_EQ(KeyPressQuantity({"1,234", 5, 0}, BS), TCellEditState({"1,230", 4, 0}));
}

TEST(PhoneEditor, PrefixStaysAndDigitsGoIn)
{
    EXPECT_EQ(KeyPressPhone({"+7", 0, 0}, '9', 16), TCellEditState({"+79", 3, 0}));
    EXPECT_EQ(KeyPressPhone({"+79001", 2, 0}, BS, 16), TCellEditState({"+7001", 1, 0}));
    EXPECT_EQ(KeyPressPhone({"+79001", 0, 6}, '5', 16), TCellEditState({"+75", 3, 0}));
    EXPECT_EQ(KeyPressPhone({"+79001", 6, 0}, BS, 16), TCellEditState({"+7900", 5, 0}));
    EXPECT_EQ(KeyPressPhone({"+79001", 4, 2}, BS, 16), TCellEditState({"+790", 4, 0}));
    EXPECT_EQ(KeyPressPhone({"+79001", 3, 0}, 'a', 16), TCellEditState({"+79001", 3, 0}));
    const QString full = "+7" + QString(14, '1');
    EXPECT_EQ(KeyPressPhone({full, 16, 0}, '2', 16).text, full);
    EXPECT_EQ(KeyPressPhone({full, 2, 3}, '2', 16).text, "+72" + QString(11, '1'));
    EXPECT_EQ(KeyPressPhone({"+7", 2, 0}, BS, 16).text, "+7");
}

TEST(CellRules, LimitsWithAndWithoutSelection)
{
    const QString pos24(24, 'a');
    EXPECT_EQ(CellKeyPress(TableId::Operators, 1, {pos24, 3, 0}, 'b').action, KeyAction::Swallow);
    EXPECT_EQ(CellKeyPress(TableId::Operators, 1, {pos24, 3, 5}, 'b').action, KeyAction::Swallow);
    EXPECT_EQ(CellKeyPress(TableId::Operators, 1, {pos24, 3, 5}, BS).action, KeyAction::Pass);
    EXPECT_EQ(CellKeyPress(TableId::Operators, 1, {QString(23, 'a'), 3, 0}, QChar(keycode::Paste)).action,
              KeyAction::Pass);

    EXPECT_EQ(CellKeyPress(TableId::Operators, 3, {"1234", 4, 0}, '5').action, KeyAction::Swallow);
    EXPECT_EQ(CellKeyPress(TableId::Operators, 3, {"1234", 2, 2}, '5').action, KeyAction::Pass);
    EXPECT_EQ(CellKeyPress(TableId::Operators, 3, {"1234", 4, 0}, BS).action, KeyAction::Pass);
    EXPECT_EQ(CellKeyPress(TableId::Operators, 3, {"12", 2, 0}, 'x').action, KeyAction::Swallow);

    // List columns and labels take no typing; the goods and agents grids swallow Delete.
    EXPECT_EQ(CellKeyPress(TableId::Goods, 3, {"", 0, 0}, QChar(0x43c)).action, KeyAction::Swallow);
    EXPECT_EQ(CellKeyPress(TableId::Sections, 2, {"", 0, 0}, 'a').action, KeyAction::Swallow);
    EXPECT_EQ(CellKeyPress(TableId::Agents, 1, {"", 0, 0}, 'a').action, KeyAction::Swallow);
    EXPECT_EQ(CellKeyPress(TableId::Stations, 0, {"", 0, 0}, 'a').action, KeyAction::Swallow);
    EXPECT_EQ(CellKeyPress(TableId::Agents, 4, {"+7", 2, 0}, '1').action, KeyAction::Replace);
    EXPECT_TRUE(SwallowsDelete(TableId::Goods) && SwallowsDelete(TableId::Agents));
    EXPECT_FALSE(SwallowsDelete(TableId::Operators));

    EXPECT_TRUE(KeyPressRangeBox('7'));
    EXPECT_TRUE(KeyPressRangeBox(BS));
    EXPECT_FALSE(KeyPressRangeBox(QChar(keycode::Paste)));
    EXPECT_FALSE(KeyPressRangeBox('-'));
}
