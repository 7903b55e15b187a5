// The scanner reader's overlapped waits on a COM port fed by the scanner simulator.
#include "winenv.h"

#include "scanner/scanthread.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The simulator sends every line appended to its input file, each ended by CR.
void Feed(const QString& input, const QByteArray& lines)
{
    QFile feed(input);
    ASSERT_TRUE(feed.open(QIODevice::Append)) << feed.errorString().toStdString();
    feed.write(lines);
}

}  // namespace

TEST(WinScanner, CodesArriveAndLeavingStopsTheReaderAtOnce)
{
    const QString port = ComPort("SCANNER");
    const QString input = WinEnv("KKT_SCANNER_INPUT");
    REQUIRE_ENV(port);
    REQUIRE_ENV(input);
    TScanThread reader;
    QStringList codes;
    QStringList log;
    reader.setOnScanEvent([&codes](const QString& value) { codes << value; });
    reader.setOnLogScan([&log](const QString& line) { log << line; });
    ASSERT_TRUE(reader.Init(port, QStringLiteral("9600"))) << reader.errorString().toStdString();
    ASSERT_TRUE(reader.Start());

    // One scan at a time, as a person scans: two codes in one burst are one unreadable code.
    Feed(input, "4600000000011\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return codes.size() == 1; }, 10000)) << log.join('\n').toStdString();
    Feed(input, "2000000000053\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return codes.size() == 2; }, 10000)) << log.join('\n').toStdString();
    EXPECT_EQ(codes, QStringList({QStringLiteral("4600000000011"), QStringLiteral("2000000000053")}));

    // The line is idle: the reader sits in its wait, and stopping must not wait for a byte.
    QElapsedTimer timer;
    timer.start();
    reader.Stop();
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_FALSE(reader.isRunning());

    // A stopped reader delivers nothing; a new start reads on.
    Feed(input, "4600000000028\n");
    QTest::qWait(1500);
    EXPECT_EQ(codes.size(), 2);
    ASSERT_TRUE(reader.Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return codes.size() == 3; }, 10000)) << log.join('\n').toStdString();
    EXPECT_EQ(codes.last(), QStringLiteral("4600000000028"));
    reader.Disconnect();
}
