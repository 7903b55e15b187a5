#include "scanner/scanthread.h"
#include "testpty.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

const QString kStars(34, QLatin1Char('*'));

// A reader over a fresh pseudo-terminal, recording what it hands over.
struct ReaderFixture {
    TestPty pty;
    TScanThread reader;
    QStringList scans;
    QStringList log;

    ReaderFixture()
    {
        reader.setOnScanEvent([this](const QString& v) { scans << v; });
        reader.setOnLogScan([this](const QString& l) { log << l; });
    }
    bool start() { return pty.ok() && reader.Init(pty.path(), "9600") && reader.Start(); }
    bool waitScans(int n, int ms = 5000)
    {
        return QTest::qWaitFor([&] { return scans.size() >= n; }, ms);
    }
};

}  // namespace

TEST(ScanReader, CodesArriveAsScanEventsInOrder)
{
    ReaderFixture f;
    ASSERT_TRUE(f.start());
    const QStringList codes = {"4006381333931", "96385074", "5901234123457", "73513537"};
    for (const QString& code : codes) {
        QTest::qWait(100);  // a person's pace: the reader waits on an idle line between codes
        ASSERT_TRUE(f.pty.write(code.toLatin1() + '\r'));
        ASSERT_TRUE(f.waitScans(static_cast<int>(f.scans.size()) + 1)) << code.toStdString();
    }
    EXPECT_EQ(f.scans, codes);
    // The log of one burst, in the reader's order
    const qsizetype at = f.log.indexOf("buf = 4006381333931< 13 >");
    ASSERT_GE(at, 2);
    EXPECT_EQ(f.log.at(at - 1), "btr = 14");
    EXPECT_EQ(f.log.at(at + 1), "lenEan = 14");
    EXPECT_EQ(f.log.at(at + 2), "EAN13 or EAN8 bufEan = 4006381333931< 13 >");
    EXPECT_TRUE(f.log.contains("ovlp.Internal = 259"));
    EXPECT_TRUE(f.log.contains(kStars));
    EXPECT_TRUE(f.log.contains(QString(34, QLatin1Char('-'))));
}

TEST(ScanReader, ACodeSplitByAnIdleMomentIsDropped)
{
    ReaderFixture f;
    ASSERT_TRUE(f.start());
    ASSERT_TRUE(f.pty.write("400638"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.log.contains("lenEan = 6"); }, 5000));
    QTest::qWait(200);  // the reader waits again on an idle line and forgets the six bytes
    ASSERT_TRUE(f.pty.write("1333931\r"));
    ASSERT_TRUE(f.waitScans(1));
    EXPECT_EQ(f.scans, QStringList{""});
    EXPECT_EQ(f.log.lastIndexOf(kStars) > f.log.indexOf("lenEan = 6"), true);
}

TEST(ScanReader, BytesSentBeforeTheStartAreNotPurged)
{
    ReaderFixture f;
    ASSERT_TRUE(f.pty.ok());
    ASSERT_TRUE(f.reader.Init(f.pty.path(), "9600"));
    ASSERT_TRUE(f.pty.write("96385074\r"));
    QTest::qWait(50);
    ASSERT_TRUE(f.reader.Start());
    ASSERT_TRUE(f.waitScans(1));
    EXPECT_EQ(f.scans, QStringList{"96385074"});
    EXPECT_EQ(f.log.value(0), "ovlp.Internal = 0");  // the first wait found a byte already queued
}

TEST(ScanReader, AReadTakesAtMost201BytesAndTheCodeBufferKeeps200)
{
    ReaderFixture f;
    ASSERT_TRUE(f.start());
    ASSERT_TRUE(f.pty.write(QByteArray(450, 'A')));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.log.count("lenEan = 200") >= 2; }, 5000));
    for (const QString& line : f.log) {
        if (line.startsWith("buf = ")) {
            EXPECT_LE(line.size(), 6 + 201);
        }
        if (line.startsWith("lenEan = ")) {
            EXPECT_LE(line.mid(9).toInt(), 200);
        }
    }
    EXPECT_TRUE(f.scans.isEmpty());
}

TEST(ScanReader, InitRefusesMissingPortsAndSpeedsThatAreNoNumber)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    TScanThread reader;
    EXPECT_FALSE(reader.Init("/dev/kkt-no-such-port", "9600"));
    EXPECT_FALSE(reader.Init(pty.path(), "96OO"));
    EXPECT_FALSE(reader.Init(pty.path(), ""));
    EXPECT_FALSE(reader.Init("", "9600"));
    EXPECT_FALSE(reader.Start());
    EXPECT_TRUE(reader.Init(pty.path(), "115200"));
    // the port is ours alone while we hold it
    TScanThread second;
    EXPECT_FALSE(second.Init(pty.path(), "9600"));
    reader.Disconnect();
    EXPECT_TRUE(second.Init(pty.path(), "9600"));
}

TEST(ScanReader, AnUnpluggedLineNeitherSpinsNorBlocksTheStop)
{
    ReaderFixture f;
    ASSERT_TRUE(f.start());
    QTest::qWait(100);
    f.pty.closeMaster();
    QTest::qWait(100);
    const qsizetype before = f.log.size();
    QTest::qWait(1000);
    // a rest of 200 ms per failed wait: a handful of lines, not thousands
    EXPECT_LT(f.log.size() - before, 40);
    QElapsedTimer t;
    t.start();
    f.reader.Stop();
    EXPECT_LT(t.elapsed(), 1000);
}

TEST(ScanReaderStop, AHandlerMayStopTheReader)
{
    ReaderFixture f;
    f.reader.setOnScanEvent([&](const QString& v) {
        f.scans << v;
        f.reader.Stop();
    });
    ASSERT_TRUE(f.start());
    ASSERT_TRUE(f.pty.write("96385074\r"));
    ASSERT_TRUE(f.waitScans(1));
    EXPECT_FALSE(f.reader.isRunning());
    ASSERT_TRUE(f.pty.write("73513537\r"));
    QTest::qWait(200);
    EXPECT_EQ(f.scans.size(), 1);
    // a later start reads on
    ASSERT_TRUE(f.reader.Start());
    ASSERT_TRUE(f.waitScans(2));
}

// Codes stream in while the user-interface thread starts and stops the reader hundreds of times, often
// while the reader sits in a hand-off the UI thread is not serving. Nothing may hang, and no handler
// may run once Stop has returned.
TEST(ScanReaderStop, HundredsOfStartsAndStopsWhileCodesStreamIn)
{
    TestPty pty;
    ASSERT_TRUE(pty.ok());
    std::atomic<bool> feeding{true};
    std::thread feeder([&] {
        const QByteArray codes[] = {"4006381333931\r", "9638", "5074\r", "0104006381333931217Q\r"};
        for (int i = 0; feeding; ++i) {
            pty.write(codes[i % 4]);
            std::this_thread::sleep_for(std::chrono::milliseconds(i % 3));
        }
    });

    TScanThread reader;
    bool stopped = true;
    int late = 0;
    int scans = 0;
    int lines = 0;
    reader.setOnScanEvent([&](const QString&) { late += stopped; ++scans; });
    reader.setOnLogScan([&](const QString&) { late += stopped; ++lines; });

    QElapsedTimer t;
    t.start();
    for (int round = 0; round < 300; ++round) {
        ASSERT_TRUE(reader.Init(pty.path(), "9600")) << round;
        ASSERT_TRUE(reader.Start());
        stopped = false;
        // serve a few hand-offs, or none at all while the reader waits in one
        if (round % 10 == 1) {
            const int until = scans + 1;  // now and then a whole code goes through
            (void)QTest::qWaitFor([&] { return scans >= until; }, 2000);
        } else if (round % 3 != 0) {
            const int until = lines + 1 + round % 4;
            (void)QTest::qWaitFor([&] { return lines >= until; }, 2000);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        reader.Stop();
        stopped = true;
        if (round % 2)
            reader.Disconnect();
        QCoreApplication::processEvents();  // hand-offs queued before the stop must stay silent
    }
    feeding = false;
    feeder.join();
    QTest::qWait(100);
    EXPECT_EQ(late, 0);
    EXPECT_GT(lines, 300);
    EXPECT_GT(scans, 0);
    EXPECT_LT(t.elapsed(), 60000);
}
