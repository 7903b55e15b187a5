// Where a paced goods exchange spends its time beyond the line: the pause after purging, opening and
// closing the port, the simulator's pacing of the request and of the answer, and the whole command.
#include "bench.h"

#include "link/kktlink.h"
#include "link/posix/posixserialport.h"
#include "simserver.h"

#include <QElapsedTimer>
#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kBaud = 115200;
constexpr int kRequest = 77;  // goods write request
constexpr int kAnswer = 72;   // goods answer
constexpr double kByteMs = 10.0 * 1000.0 / kBaud;

// Keeps the request the link sends, so that the raw exchanges below send the same bytes.
class RequestCapture final : public KktFrameLog {
public:
    void DumpKktFrame(const uint8_t* frame, uint32_t count, bool isAnswer) override
    {
        if (!isAnswer)
            request.assign(frame, frame + count);
    }
    std::vector<uint8_t> request;
};

double Ms(QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// One exchange on an open port, timed from the write: when the first and the last answer byte came,
// and how many reads it took to collect the answer.
struct RawTimes {
    double firstByte = 0;
    double lastByte = 0;
    int reads = 0;
};

RawTimes RawExchange(PosixSerialPort& port, const std::vector<uint8_t>& request)
{
    RawTimes times;
    uint8_t buf[kAnswer];
    int got = 0;
    QElapsedTimer t;
    t.start();
    port.write(request.data(), int64_t(request.size()));
    while (got < kAnswer) {
        pollfd p{port.fd(), POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0)
            break;
        const ssize_t n = ::read(port.fd(), buf + got, size_t(kAnswer - got));
        if (n <= 0)
            break;
        if (got == 0)
            times.firstByte = Ms(t);
        got += int(n);
        ++times.reads;
    }
    times.lastByte = Ms(t);
    return times;
}

}  // namespace

KKT_BENCH(pacing,
          "pacing_sleep_for_1ms_median", "pacing_port_open_close_median",
          "pacing_first_answer_byte_late_median", "pacing_last_answer_byte_late_median",
          "pacing_reads_per_answer_median", "pacing_goods_command_over_line_time_and_pause_median")
{
    using namespace std::chrono;
    {
        std::vector<double> slept;
        for (int i = 0; i < 500; ++i) {
            QElapsedTimer t;
            t.start();
            std::this_thread::sleep_for(milliseconds(1));
            slept.push_back(Ms(t));
        }
        out.push_back({QStringLiteral("pacing_sleep_for_1ms_median"), Median(slept), QStringLiteral("ms")});
    }

    TestSim sim(kBaud);
    if (!sim.started()) {
        BenchFail(QStringLiteral("pacing simulator did not start: ") + sim.error());
    }
    const KktLinkArgs args = sim.linkArgs(2000);
    KktLink link;
    RequestCapture capture;
    link.setFrameLog(&capture);
    KktGoodsItem item;
    item.name = QStringLiteral("Товар для проверки");
    item.barcode = QStringLiteral("4600000000017");
    item.price = QStringLiteral("13700");
    item.section = QStringLiteral("1");
    item.quantity = QStringLiteral("11000");
    uint16_t code = 1;
    if (link.KktGoods(args, KKT_WRITE, code, item) != KKT_OK || capture.request.size() != size_t(kRequest)) {
        BenchFail(QStringLiteral("pacing goods write failed"));
    }
    link.setFrameLog(nullptr);

    constexpr int kCount = 150;
    std::vector<double> openClose, first, last, reads;
    PosixSerialPort port;
    for (int i = 0; i < kCount; ++i) {
        QElapsedTimer t;
        t.start();
        port.open(args.port, kBaud);
        port.close();
        openClose.push_back(Ms(t));
    }
    port.open(args.port, kBaud);
    for (int i = 0; i < kCount; ++i) {
        const RawTimes r = RawExchange(port, capture.request);
        first.push_back(r.firstByte - (kRequest + 1) * kByteMs);
        last.push_back(r.lastByte - (kRequest + kAnswer) * kByteMs);
        reads.push_back(r.reads);
    }
    port.close();
    out.push_back({QStringLiteral("pacing_port_open_close_median"), Median(openClose), QStringLiteral("ms")});
    out.push_back({QStringLiteral("pacing_first_answer_byte_late_median"), Median(first), QStringLiteral("ms")});
    out.push_back({QStringLiteral("pacing_last_answer_byte_late_median"), Median(last), QStringLiteral("ms")});
    out.push_back({QStringLiteral("pacing_reads_per_answer_median"), Median(reads), QString()});

    // The whole command through the link: line time plus the pause after purging is the floor.
    std::vector<double> over;
    for (int i = 0; i < kCount; ++i) {
        QElapsedTimer t;
        t.start();
        code = uint16_t(i + 1);
        link.KktGoods(args, KKT_WRITE, code, item);
        over.push_back(Ms(t) - (kRequest + kAnswer) * kByteMs - 1.0);
    }
    out.push_back({QStringLiteral("pacing_goods_command_over_line_time_and_pause_median"), Median(over),
                   QStringLiteral("ms")});
}
