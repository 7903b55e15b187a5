#include "text/codepage.h"
#include "text/conversion.h"
#include "link/kktframe.h"

#include <gtest/gtest.h>

TEST(KktFrameTest, ChecksumIsLittleEndianSumOfAllBytesBeforeIt)
{
    KktFrame f;
    const uint8_t req[] = {0x17, 0x02, 0x01, 0x00, 0x00, 0x00, 0x75, 0x0B, 0x19};
    std::copy(std::begin(req), std::end(req), f.buf.begin());
    f.count = 11;
    f.SetFrameChecksum();
    EXPECT_EQ(f.buf[9], 0xB3);
    EXPECT_EQ(f.buf[10], 0x00);
    EXPECT_EQ(f.CheckFrameChecksum(), 0);
    f.buf[4] = 1;
    EXPECT_NE(f.CheckFrameChecksum(), 0);

    // The sum wraps at 65536: 300 bytes of 0xFF sum to 76500 = 0x12AD4.
    KktFrame big;
    std::fill_n(big.buf.begin(), 300, uint8_t{0xFF});
    big.count = 302;
    big.SetFrameChecksum();
    EXPECT_EQ(big.buf[300], 0xD4);
    EXPECT_EQ(big.buf[301], 0x2A);
}

TEST(KktFrameTest, TextSlotsDropZeroBytesAndKeepBlanks)
{
    KktFrame f;
    const uint8_t slot[] = {0x41, 0x42, 0x00, 0x43, 0x44, 0x00};
    std::copy(std::begin(slot), std::end(slot), f.buf.begin() + 10);
    EXPECT_EQ(f.GetFrameText(10, 6), QStringLiteral("ABCD"));
    EXPECT_EQ(f.GetFrameText(100, 6), QString());

    f.PutFrameText(QStringLiteral(" Иванов "), 200, 64);
    EXPECT_EQ(f.buf[200], ' ');
    EXPECT_EQ(f.buf[201], 0xC8);  // И in Windows-1251
    EXPECT_EQ(f.GetFrameText(200, 64), QStringLiteral(" Иванов "));

    // A text longer than its slot is cut at the slot; the next slot stays untouched.
    f.PutFrameText(QStringLiteral("ABCDEFGH"), 300, 4);
    EXPECT_EQ(f.GetFrameText(300, 8), QStringLiteral("ABCD"));
}

TEST(KktFrameTest, NumbersAreLowBytesLittleEndian)
{
    KktFrame f;
    f.PutFrameInt(2, 4, 258);
    EXPECT_EQ(f.buf[2], 0x02);
    EXPECT_EQ(f.buf[3], 0x01);
    EXPECT_EQ(f.buf[4], 0x00);
    f.PutFrameInt(20, 6, 0x0102030405060708ULL);  // only six bytes travel
    EXPECT_EQ(f.GetFrameInt(20, 6), 0x030405060708ULL);
    EXPECT_EQ(f.buf[26], 0);
    f.PutFrameInt(40, 4, 0xFFFFFFFFULL);
    EXPECT_EQ(f.GetFrameInt(40, 4), 4294967295ULL);
}

TEST(CodePageTest, CyrillicRoundTripsAndUnknownCharactersBecomeQuestionMarks)
{
    const QString text = QStringLiteral("Ёлка ёж №5 «м»");
    bool lossy = true;
    const QByteArray bytes = codepage::toCp1251(text, &lossy);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xA8);  // Ё
    EXPECT_EQ(codepage::fromCp1251(bytes), text);

    const QByteArray lost = codepage::toCp1251(QStringLiteral("a\u4E2Db"), &lossy);
    EXPECT_TRUE(lossy);
    EXPECT_EQ(lost, QByteArray("a?b"));

    for (int b = 0; b < 256; ++b) {  // every byte decodes to a character that encodes back to it
        const QByteArray one(1, static_cast<char>(b));
        EXPECT_EQ(codepage::toCp1251(codepage::fromCp1251(one)), one) << b;
    }
}

TEST(ConversionTest, OnlyDecimalIntegersAreNumbers)
{
    int64_t v = 0;
    EXPECT_TRUE(TryStrToInt64(QStringLiteral("4600000000000"), v));
    EXPECT_EQ(v, 4600000000000LL);
    EXPECT_TRUE(TryStrToInt64(QStringLiteral("  -12"), v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(TryStrToInt64(QStringLiteral("-9223372036854775808"), v));
    EXPECT_FALSE(TryStrToInt64(QStringLiteral("9223372036854775808"), v));
    for (const char* bad : {"", " ", "-", "12,5", "12 ", "1e3", "abc", "0x10"})
        EXPECT_FALSE(TryStrToInt64(QString::fromLatin1(bad), v)) << bad;
    int32_t w = 0;
    EXPECT_FALSE(TryStrToInt32(QStringLiteral("2147483648"), w));
    EXPECT_TRUE(TryStrToInt32(QStringLiteral("2147483647"), w));
    try {
        StrToInt(QStringLiteral("12,5"));
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'12,5' is not a valid integer value"));
    }
}
