// Finding the register: the order and size of the probes, the verdict for every kind of port, and
// that no probe leaves its port open.
#include "link/kktsearch.h"
#include "link/posix/posixserialport.h"
#include "silentport.h"
#include "simserver.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct ProbeLog {
    struct Probe {
        QString port;
        int32_t speed;
        int totalMs;
    };
    std::vector<Probe> probes;
    bool open = false;
};

// Remembers every probe: the port and speed it opened and the read time-out it was given.
class RecordingPort final : public SilentPort {
public:
    explicit RecordingPort(std::shared_ptr<ProbeLog> log) : m_log(std::move(log)) {}
    bool open(const QString& name, int32_t speed) override
    {
        m_log->probes.push_back({name, speed, -1});
        return m_log->open = SilentPort::open(name, speed);
    }
    void close() override
    {
        SilentPort::close();
        m_log->open = false;
    }
    void setReadTimeouts(int, int totalMs) override { m_log->probes.back().totalMs = totalMs; }

private:
    std::shared_ptr<ProbeLog> m_log;
};

// Line time of 11 + 31 bytes at 10 bits a byte, rounded up to the millisecond, and the margin.
int ExpectedProbeMs(int32_t speed)
{
    return int((42 * 10 * 1000 + speed - 1) / speed) + 100;
}

TEST(KktSearch, ProbesEveryPortAtEverySpeedLikelyFirstEachSizedToItsLine)
{
    auto log = std::make_shared<ProbeLog>();
    KktLink link([log] { return std::make_unique<RecordingPort>(log); });
    int told = 0;
    link.setCommandObserver([&told](const KktCommandReport&) { ++told; });
    KktSearch search(link, {QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")}, KktLineSpeeds(), 3);
    int steps = 0;
    while (search.Step()) {
        ++steps;
        EXPECT_FALSE(log->open) << "probe " << steps << " left its port open";
    }
    const QList<int32_t> order{115200, 19200, 57600, 38400, 9600, 4800, 2400, 1200};
    ASSERT_EQ(log->probes.size(), 16u);
    int64_t waited = 0;
    for (size_t i = 0; i < log->probes.size(); ++i) {
        const auto& p = log->probes[i];
        EXPECT_EQ(p.port, i < 8 ? QStringLiteral("ttyS0") : QStringLiteral("ttyUSB0"));
        EXPECT_EQ(p.speed, order[int(i % 8)]);
        EXPECT_EQ(p.totalMs, ExpectedProbeMs(p.speed)) << "at " << p.speed;
        waited += p.totalMs;
    }
    // 1200 baud: 350 ms of line, 115200: 4 ms; eight speeds 0.7 s of line a port.
    EXPECT_EQ(ProbeTimeOutMs(1200), 450);
    EXPECT_EQ(ProbeTimeOutMs(115200), 104);
    EXPECT_EQ(search.probeTimeOutsMs(), waited);
    EXPECT_EQ(search.percent(), 100);
    EXPECT_EQ(told, 0) << "probes are not commands of the window";
    for (const KktPortReport& r : search.reports()) {
        EXPECT_EQ(r.verdict, KktPortVerdict::Silent);
        EXPECT_EQ(r.probes, 8);
    }
    EXPECT_TRUE(search.found().isEmpty());
}

TEST(KktSearch, StoppedSearchMakesNoFurtherProbe)
{
    auto log = std::make_shared<ProbeLog>();
    KktLink link([log] { return std::make_unique<RecordingPort>(log); });
    KktSearch search(link, {QStringLiteral("ttyS0"), QStringLiteral("ttyS1")}, {1200, 115200}, 0);
    ASSERT_TRUE(search.Step());
    search.Stop();
    EXPECT_FALSE(search.Step());
    EXPECT_EQ(log->probes.size(), 1u);
    EXPECT_FALSE(log->open);
    EXPECT_TRUE(search.stopped());
    EXPECT_EQ(search.reports()[0].verdict, KktPortVerdict::Unsearched);
    EXPECT_EQ(PortVerdictText(search.reports()[1]), QStringLiteral("не проверен: поиск остановлен"));
}

// Registers at two speeds among a busy, a missing, a silent and a noisy port.
TEST(KktSearch, FindsEachRegisterAtItsSpeedAndSaysWhyTheOtherPortsGaveNothing)
{
    TestSim at19200(19200), at115200(115200), busy, silent, noisy;
    for (TestSim* s : {&at19200, &at115200, &busy, &silent, &noisy})
        ASSERT_TRUE(s->started());
    at19200.sim().setNumber(5);
    at115200.sim().setNumber(5);
    ASSERT_TRUE(silent.sim().applyFault(QStringLiteral("silence always")));
    SimFaults bad;
    bad.badChecksumCount = 1000;
    noisy.sim().setFaults(bad);
    PosixSerialPort holder;
    ASSERT_TRUE(holder.open(busy.devicePath(), 115200));
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ttyUSB9"));

    KktLink link;
    const QStringList ports{busy.devicePath(), at19200.devicePath(), missing, silent.devicePath(), noisy.devicePath(),
                            at115200.devicePath()};
    KktSearch search(link, ports, KktLineSpeeds(), 5);
    while (search.Step()) {
    }

    const QList<KktPortReport>& r = search.reports();
    ASSERT_EQ(r.size(), 6);
    EXPECT_EQ(r[0].verdict, KktPortVerdict::Busy);
    EXPECT_EQ(r[1].verdict, KktPortVerdict::Found);
    EXPECT_EQ(r[1].speed, 19200);
    EXPECT_EQ(r[1].probes, 2);
    EXPECT_EQ(r[2].verdict, KktPortVerdict::Missing);
    EXPECT_EQ(r[3].verdict, KktPortVerdict::Silent);
    EXPECT_EQ(r[3].probes, 8);
    EXPECT_EQ(r[4].verdict, KktPortVerdict::Noise);
    EXPECT_EQ(r[4].probes, 8);
    EXPECT_EQ(r[5].verdict, KktPortVerdict::Found);
    EXPECT_EQ(r[5].speed, 115200);
    // No further speed once a register answered; the wrong-speed probe was not understood.
    EXPECT_EQ(at115200.sim().requestCount(), 1);
    EXPECT_EQ(at19200.sim().requestCount(), 1);
    EXPECT_EQ(search.found().size(), 2);

    // Every port the search opened is free again.
    for (const QString& port : {at19200.devicePath(), silent.devicePath(), noisy.devicePath(), at115200.devicePath()}) {
        PosixSerialPort again;
        EXPECT_TRUE(again.open(port, 9600)) << port.toStdString();
    }
}

TEST(KktSearch, APortThatVanishesMidwayIsReportedAndTheSearchGoesOn)
{
    TestSim vanishing, reg;
    ASSERT_TRUE(vanishing.started());
    ASSERT_TRUE(reg.started());
    ASSERT_TRUE(vanishing.sim().applyFault(QStringLiteral("silence always")));
    ASSERT_TRUE(vanishing.sim().applyFault(QStringLiteral("close 2")));
    KktLink link;
    KktSearch search(link, {vanishing.devicePath(), reg.devicePath()}, KktLineSpeeds(), 0);
    while (search.Step()) {
    }
    const KktPortReport& gone = search.reports()[0];
    EXPECT_EQ(gone.verdict, KktPortVerdict::Missing);
    EXPECT_GT(gone.probes, 2);
    EXPECT_LT(gone.probes, 8);
    // The system's own words follow: what the user can look up or tell the service.
    EXPECT_TRUE(PortVerdictText(gone).startsWith(QStringLiteral("пропал во время поиска (устройство отключено?): ")))
        << PortVerdictText(gone).toStdString();
    EXPECT_FALSE(gone.systemText.isEmpty());
    EXPECT_EQ(search.reports()[1].verdict, KktPortVerdict::Found);
}

TEST(KktSearch, RegisterNumberAndSpeedListAreTheCallers)
{
    TestSim sim(2400);
    ASSERT_TRUE(sim.started());
    sim.sim().setNumber(9);
    KktLink link;
    KktSearch wrongNumber(link, {sim.devicePath()}, {2400}, 8);
    while (wrongNumber.Step()) {
    }
    EXPECT_EQ(wrongNumber.reports()[0].verdict, KktPortVerdict::Silent);
    KktSearch right(link, {sim.devicePath()}, {1200, 2400, 2400}, 9);
    while (right.Step()) {
    }
    EXPECT_EQ(right.reports()[0].verdict, KktPortVerdict::Found);
    EXPECT_EQ(right.reports()[0].speed, 2400);
    EXPECT_EQ(right.reports()[0].probes, 1);  // the higher speed first, each once
}

}  // namespace
