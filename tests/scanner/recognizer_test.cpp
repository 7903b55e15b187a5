#include "scanner/scanrecognizer.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

TScanRecognizer::Result feed(TScanRecognizer& r, const QByteArray& bytes)
{
    return r.Feed(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
}

TScanRecognizer::Result feedOnce(const QByteArray& bytes)
{
    TScanRecognizer r;
    return feed(r, bytes);
}

QString logText(const QByteArray& bytes)
{
    return BufToLogText(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
}

}  // namespace

TEST(ScanClassification, Ean13AndEan8EndedByCrAreReportedWithoutTheCr)
{
    const auto ean13 = feedOnce("4006381333931\r");
    EXPECT_TRUE(ean13.complete);
    EXPECT_EQ(ean13.value, "4006381333931");
    EXPECT_EQ(ean13.log, QStringList({"lenEan = 14", "EAN13 or EAN8 bufEan = 4006381333931< 13 >"}));

    const auto ean8 = feedOnce("96385074\r");
    EXPECT_EQ(ean8.value, "96385074");
    EXPECT_EQ(ean8.log.value(1), "EAN13 or EAN8 bufEan = 96385074< 13 >");
}

TEST(ScanClassification, AnythingAfterTheCrOfAnEanSpoilsTheValue)
{
    const auto crlf = feedOnce("4006381333931\r\n");
    EXPECT_TRUE(crlf.complete);
    EXPECT_EQ(crlf.value, "");
    EXPECT_EQ(crlf.log.value(1), "EAN13 or EAN8 bufEan = 4006381333931< 13 >");

    // 8 digits, CR and five more bytes count 13: the CR must not travel inside a "barcode"
    EXPECT_EQ(feedOnce("96385074\r12345").value, "");
}

TEST(ScanClassification, LengthsThatAreNoCodeReportEmptyWithoutALogLine)
{
    for (const QByteArray& code : {QByteArray("400638133393\r"),  // 12 digits: would be 12 digits + CR
                                  QByteArray("40063813339\r"),   // 11 digits
                                  QByteArray("9638507\r"),       // 7 digits: would be 7 digits + CR
                                  QByteArray("40063813339312\r"),  // 14 bytes before the CR
                                  QByteArray("4\r")}) {
        const auto r = feedOnce(code);
        EXPECT_TRUE(r.complete) << code.constData();
        EXPECT_EQ(r.value, "") << code.constData();
        EXPECT_EQ(r.log.size(), 1) << code.constData();  // only "lenEan = ..."
    }
}

TEST(ScanClassification, DataMatrixGs1ReportsTheGtinWithoutItsFirstDigit)
{
    const auto r = feedOnce("0104006381333931" "21" "A7xq9Z\r");
    EXPECT_EQ(r.value, "4006381333931");
    EXPECT_EQ(r.log.value(1), "DataMatrix 01-21 bufEan = 4006381333931");
}

TEST(ScanClassification, SixZerosThenEightDigitsReportTheEan8)
{
    const auto r = feedOnce("00000096385074X\r");
    EXPECT_EQ(r.value, "96385074");
    EXPECT_EQ(r.log.value(1), "DataMatrix EAN8 bufEan = 96385074");
}

TEST(ScanClassification, OtherLongCodesReportBytesOneToThirteen)
{
    const auto r = feedOnce("X4006381333931YZ\r");
    EXPECT_EQ(r.value, "4006381333931");
    EXPECT_EQ(r.log.value(1), "DataMatrix 0 + \"\" bufEan = 4006381333931");

    // "01" + GTIN without the "21" that marks a serial is not the GS1 form
    const auto lot = feedOnce("0104006381333931" "10" "LOT1\r");
    EXPECT_EQ(lot.value, "1040063813339");
    EXPECT_TRUE(lot.log.value(1).startsWith("DataMatrix 0 + \"\" bufEan = "));

    // a control character within bytes 1 to 13 (a GS1 group separator) never reaches the cell
    EXPECT_EQ(feedOnce("X400638\x1d" "1333931YZ\r").value, "");
}

TEST(ScanCollecting, BytesOfOneCodeMayArriveInSeveralReads)
{
    TScanRecognizer r;
    auto first = feed(r, "400638");
    EXPECT_FALSE(first.complete);
    EXPECT_EQ(first.log, QStringList{"lenEan = 6"});
    auto second = feed(r, "1333931\r");
    EXPECT_TRUE(second.complete);
    EXPECT_EQ(second.value, "4006381333931");
    EXPECT_EQ(r.lenEan(), 0);  // the next code starts empty

    EXPECT_EQ(feed(r, "96385074\r").value, "96385074");
}

TEST(ScanCollecting, ACrFirstBlocksEveryCodeUntilTheBufferIsDiscarded)
{
    TScanRecognizer r;
    EXPECT_FALSE(feed(r, "\r4006381333931\r").complete);
    EXPECT_FALSE(feed(r, "96385074\r").complete);
    r.StartNewCode();  // the idle wait
    EXPECT_EQ(feed(r, "96385074\r").value, "96385074");
}

TEST(ScanCollecting, TheCodeBufferKeepsTwoHundredBytes)
{
    TScanRecognizer r;
    const QByteArray read(TScanRecognizer::kReadMax, 'A');
    EXPECT_EQ(feed(r, read).log, QStringList{"lenEan = 200"});
    // the CR no longer fits, so no code completes until the buffer is discarded
    const auto more = feed(r, "96385074\r");
    EXPECT_FALSE(more.complete);
    EXPECT_EQ(more.log, QStringList{"lenEan = 200"});

    // a CR that still fits at the end: a long code, bytes 1 to 13
    TScanRecognizer s;
    const auto full = feed(s, QByteArray(199, '7') + '\r');
    EXPECT_TRUE(full.complete);
    EXPECT_EQ(full.value, QString(13, QLatin1Char('7')));
}

TEST(ScanLogText, CrIsShownAndTheEndsAreTrimmed)
{
    EXPECT_EQ(logText(QByteArray("  \0\t4006\r", 9) + QByteArray(5, '\0')), "4006< 13 >");
    EXPECT_EQ(logText("\r"), "< 13 >");
    EXPECT_EQ(logText(QByteArray("\n \0\x01", 4)), "");
    EXPECT_EQ(logText("a b"), "a b");
    EXPECT_EQ(logText("\xC0\xFF"), QString::fromUtf8("\u00C0\u00FF"));  // bytes as their character codes
}
