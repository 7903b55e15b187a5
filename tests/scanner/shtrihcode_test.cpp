#include "scanner/shtrihcode.h"

#include <gtest/gtest.h>

TEST(CheckShtrihCode, AcceptsCodesWithTheirGs1CheckDigit)
{
    for (const char* code : {"4006381333931", "5901234123457", "9780306406157", "0012345678905",
                             "4006381333900", "96385074", "73513537", "55123457", "40170725"})
        EXPECT_TRUE(CheckShtrihCode(QString::fromLatin1(code))) << code;
}

TEST(CheckShtrihCode, RejectsAWrongLastDigit)
{
    for (const char* code : {"4006381333932", "4006381333930", "5901234123450", "96385075", "73513530"})
        EXPECT_FALSE(CheckShtrihCode(QString::fromLatin1(code))) << code;
}

TEST(CheckShtrihCode, RejectsOtherLengthsAndNonDigits)
{
    for (const char* code : {"", "9638507", "400638133393", "40063813339311", "963850740",
                             "400638133393A", "4006 81333931", " 400638133393", "9638507 ", "+6385074"})
        EXPECT_FALSE(CheckShtrihCode(QString::fromLatin1(code))) << code;
    // digits of another script are not decimal digits of a barcode
    EXPECT_FALSE(CheckShtrihCode(QString::fromUtf8("٩٦٣٨٥٠٧٤")));
}

TEST(ShtrihCheckText, NamesTheRowInGreenOrRed)
{
    const auto good = ShtrihCheckText(true, 25);
    EXPECT_EQ(good.text, QString::fromUtf8("Штрих-код корректный, код товара 25"));
    EXPECT_EQ(std::make_tuple(good.red, good.green, good.blue), std::make_tuple(0, 128, 0));
    const auto bad = ShtrihCheckText(false, 6000);
    EXPECT_EQ(bad.text, QString::fromUtf8("Штрих-код некорректный, код товара 6000"));
    EXPECT_EQ(std::make_tuple(bad.red, bad.green, bad.blue), std::make_tuple(255, 0, 0));
}
