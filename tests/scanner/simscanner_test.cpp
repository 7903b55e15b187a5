#include "link/portnames.h"
#include "link/posix/simports.h"
#include "scanner/scanthread.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// The whole path without hardware: kkt-sim's scanner mode publishes a line, the reader reads it.
namespace {

struct SimScanner {
    QTemporaryDir runtime;
    QProcess process;
    QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    explicit SimScanner(const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        process.setProcessEnvironment(env);
        process.start(KKT_SIM_PATH, QStringList{"--scanner", "--name", "kkt-sim-scanner-e2e"} + args);
    }
    ~SimScanner()
    {
        process.kill();
        process.waitForFinished();
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }
    bool published() const { return QFileInfo::exists(SimPublishDir() + "/kkt-sim-scanner-e2e"); }
};

}  // namespace

TEST(SimScanner, CodesFromTheCommandLineArriveInOrder)
{
    SimScanner sim({"--first-delay", "400", "--code-pause", "200", "--hold", "2000", "4006381333931",
                    "96385074", "00000096385074X"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.published(); }, 5000));
    TScanThread reader;
    QStringList scans;
    reader.setOnScanEvent([&](const QString& v) { scans << v; });
    ASSERT_TRUE(reader.Init("kkt-sim-scanner-e2e", "9600"));
    ASSERT_TRUE(reader.Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return scans.size() >= 3; }, 8000));
    EXPECT_EQ(scans, QStringList({"4006381333931", "96385074", "96385074"}));
}

TEST(SimScanner, StandardInputFeedsCodesAndTerminationUnpublishes)
{
    SimScanner sim({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.published(); }, 5000));
    TScanThread reader;
    QStringList scans;
    reader.setOnScanEvent([&](const QString& v) { scans << v; });
    ASSERT_TRUE(reader.Init("kkt-sim-scanner-e2e", "9600"));
    ASSERT_TRUE(reader.Start());
    sim.process.write("73513537\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return scans.size() >= 1; }, 5000));
    EXPECT_EQ(scans, QStringList{"73513537"});
    reader.Disconnect();
    sim.process.terminate();
    ASSERT_TRUE(sim.process.waitForFinished(5000));
    EXPECT_EQ(sim.process.exitCode(), 0);
    EXPECT_FALSE(sim.published());
}
