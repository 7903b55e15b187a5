#include "text/conversion.h"
#include "tables/encoding.h"
#include "tables/tabledefs.h"

#include "qstringprint.h"

#include <gtest/gtest.h>

TEST(Encoding, PriceAndQuantityWithFractionDigits)
{
    EXPECT_EQ(EncodePrice("12,5"), 1250);
    EXPECT_EQ(EncodePrice("12,05"), 1205);
    EXPECT_EQ(EncodePrice(",5"), 50);
    EXPECT_EQ(EncodePrice("7.00"), 700);
    EXPECT_EQ(EncodePrice("12,345"), 1234);
    EXPECT_EQ(EncodePrice("0.00"), 0);
    EXPECT_EQ(EncodePrice("0,00"), 0);
    EXPECT_EQ(EncodePrice("99,9"), 9990);
    EXPECT_EQ(EncodePrice(""), 0);
    EXPECT_EQ(EncodeQuantity("1,5"), 1500);
    EXPECT_EQ(EncodeQuantity("0,25"), 250);
    EXPECT_EQ(EncodeQuantity("2,125"), 2125);
    EXPECT_EQ(EncodeQuantity("1.0005"), 1000);
    EXPECT_EQ(EncodeQuantity(""), 0);
}

TEST(Encoding, ValueWithoutFractionDigitsIsWholeRoublesAndUnits)
{
    EXPECT_EQ(EncodePrice("12"), 1200);
    EXPECT_EQ(EncodePrice("12,"), 1200);
    EXPECT_EQ(EncodePrice("12."), 1200);
    EXPECT_EQ(EncodeQuantity("3"), 3000);
    EXPECT_EQ(EncodeQuantity("3,"), 3000);
}

TEST(Encoding, NonNumbersAndOversizedValuesNameTheCellText)
{
    for (const QString bad : {"abc", "1,2x", "-5,00", "12,5,3", "1e3"}) {
        try {
            EncodePrice(bad);
            ADD_FAILURE() << bad.toStdString();
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.text(), bad);
        }
    }
    EXPECT_THROW(EncodePrice("11000000000,00"), ConversionError);  // more than five bytes of kopecks
    EXPECT_THROW(EncodeQuantity("2147484,000"), ConversionError);  // more than 31 bits of thousandths
    EXPECT_EQ(EncodeQuantity("2147483,647"), 2147483647);
}

TEST(Encoding, DecodePriceAndQuantity)
{
    EXPECT_EQ(DecodePrice(1205), "12,05");
    EXPECT_EQ(DecodePrice(1250), "12,50");
    EXPECT_EQ(DecodePrice(0), "0,00");
    EXPECT_EQ(DecodePrice(5), "0,05");
    EXPECT_EQ(DecodeQuantity(1500), "1,500");
    EXPECT_EQ(DecodeQuantity(1050), "1,050");
    EXPECT_EQ(DecodeQuantity(1005), "1,005");
    EXPECT_EQ(DecodeQuantity(50), "0,050");
    // What the grid shows goes back as the same number.
    for (uint64_t k : {0ull, 7ull, 99ull, 100ull, 123456789ull})
        EXPECT_EQ(uint64_t(EncodePrice(DecodePrice(k))), k);
}

TEST(Encoding, SeparatorPosPrefersComma)
{
    EXPECT_EQ(SeparatorPos("12,34"), 3);
    EXPECT_EQ(SeparatorPos("1.2,3"), 4);
    EXPECT_EQ(SeparatorPos("15.50"), 3);
    EXPECT_EQ(SeparatorPos("1500"), 0);
}

TEST(Encoding, SectionAttributesAndTheirDecoding)
{
    TGridData s = InitGrid(TableId::Sections);
    s.SetCell(2, 1, "РАБОТА");
    s.SetCell(3, 1, "Ставка НДС 20%");
    s.SetCell(4, 1, "Общая");
    s.SetCell(5, 1, "2");
    EXPECT_EQ(SectionAttributes(s, 1).value(), "03112");
    s.SetCell(2, 2, "Агентское вознаграждение");
    s.SetCell(3, 2, "НДС не облагается");
    EXPECT_EQ(SectionAttributes(s, 2).value(), "1169");
    // A fresh row: empty type goes as "not programmed", VAT 0, tax system 9.
    EXPECT_EQ(SectionAttributes(s, 3).value(), "0009");
    s.SetCell(2, 4, "ТОВАРЫ");
    EXPECT_FALSE(SectionAttributes(s, 4).has_value());

    EXPECT_EQ(DecodeSectionAttributes("03112"), QStringList({"РАБОТА", "Ставка НДС 20%", "Общая", "2"}));
    EXPECT_EQ(DecodeSectionAttributes("1169"), QStringList({"Агентское вознаграждение", "НДС не облагается", "", ""}));
    EXPECT_EQ(DecodeSectionAttributes("1x7"), QStringList({"", "", "", ""}));
    EXPECT_EQ(DecodeSectionAttributes("9917345"), QStringList({"", "Ставка НДС 20%", "", "34"}));
    EXPECT_EQ(DecodeSectionAttributes("0271"), QStringList({"ПОДАКЦИЗНЫЙ ТОВАР", "", "Общая", ""}));
    EXPECT_EQ(DecodeSectionAttributes(""), QStringList({"", "", "", ""}));
}

TEST(Encoding, ClicheLinesShareRowsOfTable4)
{
    const int expected[][3] = {{1, 1, 0},  {5, 1, 4},  {6, 2, 0},  {10, 2, 4}, {11, 3, 0}, {13, 3, 2},
                               {14, 4, 0}, {15, 4, 1}, {16, 5, 0}, {19, 6, 1}, {20, 7, 0}, {21, 7, 1}};
    for (const auto& e : expected) {
        const TParamAddress a = ClicheAddress(e[0]);
        EXPECT_EQ(a.row, e[1]) << e[0];
        EXPECT_EQ(a.field, e[2]) << e[0];
    }
}

TEST(Encoding, AgentSignsPhonesAndRowCheck)
{
    EXPECT_EQ(AgentSignBit("Платежный агент"), 4);
    EXPECT_EQ(AgentSignBit("Агент"), 64);
    EXPECT_EQ(AgentSignBit(""), 0);
    EXPECT_EQ(AgentSignBit("агент"), 0);
    EXPECT_EQ(AgentSignIndex(16), 4);
    EXPECT_EQ(AgentSignIndex(3), -1);
    EXPECT_EQ(NormalizePhone("+79001"), "+79001");
    EXPECT_EQ(NormalizePhone("89001"), "+7001");
    EXPECT_EQ(NormalizePhone(""), "+7");
    EXPECT_EQ(NormalizePhone("8"), "+7");

    TGridData a = InitGrid(TableId::Agents);
    EXPECT_TRUE(CheckAgentRow(a, 1));
    a.SetCell(2, 1, "89001234567");
    EXPECT_FALSE(CheckAgentRow(a, 1));
    a.SetCell(2, 1, kNotUsed);
    a.SetCell(7, 1, "12345678901x");
    EXPECT_FALSE(CheckAgentRow(a, 1));
    a.SetCell(7, 1, "123456789012");
    a.SetCell(10, 1, "+7 900");
    EXPECT_FALSE(CheckAgentRow(a, 1));
    a.SetCell(10, 1, "+7900");
    EXPECT_TRUE(CheckAgentRow(a, 1));

    a.SetCell(1, 1, "Платежный агент");
    for (int c = 6; c <= 11; ++c)
        a.SetCell(c, 1, kNotUsed);
    const KktAgentRecord r = AgentRecordFromRow(a, 1);
    EXPECT_EQ(r.number, 1);
    EXPECT_EQ(r.sign, 4);
    EXPECT_EQ(r.phoneSupplier, "");
    EXPECT_EQ(r.phoneAgent, "+7");
    EXPECT_TRUE(r.addressOperator.isEmpty() && r.nameOperator.isEmpty() && r.operation.isEmpty());
    EXPECT_TRUE(r.phoneOperator.isEmpty());
    EXPECT_EQ(r.innOperator, 0u);
    EXPECT_EQ(r.innSupplier, 0u);
}

TEST(Encoding, GoodsRowToItemAndBack)
{
    TGridData g = InitGrid(TableId::Goods);
    const KktGoodsItem empty = GoodsItemFromRow(g, 6000);
    EXPECT_TRUE(empty.name.isEmpty() && empty.barcode.isEmpty() && empty.marking.isEmpty());
    EXPECT_EQ(empty.price, "0");
    EXPECT_EQ(empty.quantity, "0");

    g.SetCell(1, 5, "Хлеб");
    g.SetCell(2, 5, "4600000000017");
    g.SetCell(3, 5, kMarked);
    g.SetCell(4, 5, "12");
    g.SetCell(5, 5, "3");
    g.SetCell(6, 5, "1,5");
    const KktGoodsItem item = GoodsItemFromRow(g, 5);
    EXPECT_EQ(item.barcode, "4600000000017");
    EXPECT_EQ(item.marking, kMarked);
    EXPECT_EQ(item.price, "1200");
    EXPECT_EQ(item.quantity, "1500");

    g.SetCell(2, 5, "46000x");
    EXPECT_THROW(GoodsItemFromRow(g, 5), ConversionError);
    g.SetCell(2, 5, "281474976710656");  // 2^48 would lose its high bytes
    EXPECT_THROW(GoodsItemFromRow(g, 5), ConversionError);
    g.SetCell(2, 5, "");
    g.SetCell(5, 5, "256");
    EXPECT_THROW(GoodsItemFromRow(g, 5), ConversionError);

    KktGoodsItem answer{"Молоко", "0", "", "5", "1", "50"};
    ApplyGoodsItem(g, 7, answer);
    EXPECT_EQ(g.Cell(2, 7), "0");
    EXPECT_EQ(g.Cell(4, 7), "0,05");
    EXPECT_EQ(g.Cell(6, 7), "0,050");
    EXPECT_EQ(g.Cell(0, 7), "7");
}
