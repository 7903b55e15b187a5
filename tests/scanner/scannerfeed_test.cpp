#include "link/portnames.h"
#include "scanner/scanthread.h"
#include "sim/scannerfeed.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <thread>

namespace {

struct RuntimeDir {
    QTemporaryDir dir;
    QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    RuntimeDir() { qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit()); }
    ~RuntimeDir() { qputenv("XDG_RUNTIME_DIR", old); }
};

}  // namespace

TEST(ScannerFeed, CodeTextsBecomeBytesEndedByCr)
{
    EXPECT_EQ(ScannerCodeBytes("4006381333931"), QByteArray("4006381333931\r"));
    EXPECT_EQ(ScannerCodeBytes("96385074\\n"), QByteArray("96385074\n\r"));
    EXPECT_EQ(ScannerCodeBytes("01\\x1d21\\\\"), QByteArray("01\x1d" "21\\\r"));
    QString error;
    EXPECT_TRUE(ScannerCodeBytes("12\\x4", &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(ScannerCodeBytes("12\\q").isEmpty());
    EXPECT_TRUE(ScannerCodeBytes(QString::fromUtf8("12Ж")).isEmpty());
}

TEST(ScannerFeed, PublishesALineThePortListAndTheReaderFind)
{
    RuntimeDir runtime;
    ScannerFeedLine line;
    QString error;
    ASSERT_TRUE(line.open("kkt-sim-scanner", &error)) << error.toStdString();
    EXPECT_TRUE(GetCOM_Loop().contains("kkt-sim-scanner"));
    ScannerFeedLine second;
    EXPECT_FALSE(second.open("kkt-sim-scanner", &error));  // the name is taken while the first lives
    EXPECT_FALSE(second.open("scanner", &error));

    TScanThread reader;
    QStringList scans;
    reader.setOnScanEvent([&](const QString& v) { scans << v; });
    ASSERT_TRUE(reader.Init("kkt-sim-scanner", "9600"));
    ASSERT_TRUE(reader.Start());
    std::atomic<bool> stop{false};
    // bytes 5 ms apart still make one code; 150 ms apart the reader sees an idle line after each byte
    std::thread sender([&] {
        line.send(ScannerCodeBytes("4006381333931"), 5, stop);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        line.send(ScannerCodeBytes("96385074"), 150, stop);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        line.send(ScannerCodeBytes("0104006381333931217Q"), 0, stop);
    });
    const bool arrived = QTest::qWaitFor([&] { return scans.size() >= 2; }, 8000);
    sender.join();
    QTest::qWait(100);
    ASSERT_TRUE(arrived) << scans.join(',').toStdString();
    // the slow code's CR came alone, first in a new code: nothing is reported for it
    EXPECT_EQ(scans, QStringList({"4006381333931", "4006381333931"}));
    reader.Stop();
    line.close();
    EXPECT_FALSE(GetCOM_Loop().contains("kkt-sim-scanner"));
}
