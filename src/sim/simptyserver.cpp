#include "sim/simptyserver.h"

#include "link/posix/posixserialport.h"
#include "sim/linknoise.h"
#include "sim/simframer.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

QString ErrnoText()
{
    return QString::fromLocal8Bit(strerror(errno));
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// One byte on an 8N1 line: start bit, eight data bits, stop bit.
Clock::duration ByteTime(int baud)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL / baud));
}

}  // namespace

SimPtyServer::SimPtyServer() = default;

SimPtyServer::~SimPtyServer()
{
    stop();
}

bool SimPtyServer::start(const Options& options, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        stop();
        return false;
    };
    if (running())
        return fail(QStringLiteral("the simulator is already serving %1").arg(m_pty.name()));
    m_baud = options.baud;
    m_lineClosed = false;
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail(QStringLiteral("cannot create a pipe: %1").arg(ErrnoText()));
    if (!m_pty.open(options.name, error)) {
        stop();
        return false;
    }
    m_stop = false;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void SimPtyServer::stop()
{
    if (m_thread.joinable()) {
        m_stop = true;
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &wake, 1);
        m_thread.join();
    }
    m_pty.close();
    CloseFd(m_wake[0]);
    CloseFd(m_wake[1]);
}

void SimPtyServer::closeLine()
{
    // Closing the master drops whatever the client has not read yet: let the last answer be taken
    // first, as a line that vanishes after its last byte. The answer reaches the slave's queue a
    // moment after it was written, so first wait for it to show up there, then for it to be read.
    auto queued = [this] {
        int n = 0;
        return ::ioctl(m_pty.slave(), FIONREAD, &n) == 0 ? n : 0;
    };
    bool arrived = false;
    for (int waited = 0; waited < 200 && !arrived; waited += 2) {
        arrived = queued() > 0;
        if (!arrived && waitWake(2))
            break;
    }
    for (int waited = 0; arrived && waited < 1000 && queued() > 0; waited += 5) {
        if (waitWake(5))
            break;
    }
    m_pty.closeTerminal();
    m_lineClosed = true;
}

int SimPtyServer::clientBaud() const
{
    termios tio{};
    if (tcgetattr(m_pty.slave(), &tio) != 0)
        return 0;
    return TermiosToBaud(cfgetospeed(&tio));
}

bool SimPtyServer::waitWake(int ms)
{
    pollfd p{m_wake[0], POLLIN, 0};
    return ::poll(&p, 1, ms) > 0 || m_stop;
}

bool SimPtyServer::sleepUntil(std::chrono::steady_clock::time_point until)
{
    using namespace std::chrono;
    for (;;) {
        const auto left = until - Clock::now();
        if (left <= Clock::duration::zero())
            return false;
        if (left < milliseconds(2)) {
            std::this_thread::sleep_until(until);
            return false;
        }
        if (waitWake(static_cast<int>(duration_cast<milliseconds>(left).count()) - 1))
            return true;
    }
}

void SimPtyServer::serve()
{
    SimFrameAssembler framer;
    char buf[1024];
    Clock::time_point requestEnd{};  // when the last request's last byte had crossed the line
    Clock::time_point answerEnd{};   // when the last answer's last byte has crossed the line
    while (!m_stop) {
        int timeout = -1;
        if (const auto deadline = framer.nextDeadline()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
            timeout = static_cast<int>(std::max<int64_t>(0, left));
        }
        pollfd fds[2] = {{m_pty.master(), POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[1].revents)
            return;
        const auto now = Clock::now();
        QList<SimFrameAssembler::Frame> frames;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_pty.master(), buf, sizeof buf);
            if (n > 0)
                frames = framer.feed(QByteArray(buf, static_cast<qsizetype>(n)), now);
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            if (waitWake(10))  // no client and no slave of our own: nothing to read yet
                return;
        }
        frames += framer.expire(now);
        for (const auto& frame : frames) {
            // Both directions are paced from when the line could carry them: a request from its first
            // byte (or the end of the one before it), its answer from the request's last byte, or the
            // end of the answer before it. Not from when this thread happens to wake: a late wake-up
            // must not stretch the exchange.
            const int baud = m_baud;
            const int client = baud > 0 ? clientBaud() : 0;
            const bool mismatch = client > 0 && client != baud;
            if (baud > 0) {
                // The request crossed the line at the client's speed, whether the register got it or not.
                const int sent = mismatch ? client : baud;
                requestEnd = std::max(frame.firstByte, requestEnd) + ByteTime(sent) * frame.bytes.size();
                if (sleepUntil(requestEnd))
                    return;
            }
            auto answerStart = std::max(requestEnd, answerEnd);
            // At the wrong speed the register reads garbage and refuses it; its refusal reaches the
            // client sampled at the client's speed: as many bytes as fit in that line time, no frame.
            QByteArray answer;
            if (!mismatch)
                answer = m_sim.handleFrame(frame.bytes);
            else if (m_sim.refusesUnreadable())
                answer = LineNoise(frame.bytes, kNoiseSourceBytes, baud, client);
            if (const int delay = m_sim.faults().delayMs; delay > 0) {
                if (waitWake(delay))
                    return;
                answerStart = std::max(Clock::now(), answerEnd);
            }
            if (baud > 0)
                answerEnd = answerStart + ByteTime(mismatch ? client : baud) * answer.size();
            if (!answer.isEmpty())
                writePaced(answer, mismatch ? client : baud, answerStart);
            if (m_sim.takeLineClose()) {
                closeLine();
                return;
            }
        }
    }
}

void SimPtyServer::writePaced(const QByteArray& bytes, int baud, std::chrono::steady_clock::time_point start)
{
    auto writeAll = [this](const char* data, qsizetype size) {
        qsizetype done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_pty.master(), data + done, static_cast<size_t>(size - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            // Nobody reads the line and its buffer is full: give up after a second, as a line would.
            pollfd p[2] = {{m_pty.master(), POLLOUT, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(p, 2, 1000) <= 0 || p[1].revents || !(p[0].revents & POLLOUT))
                return false;
        }
        return true;
    };
    if (baud <= 0) {
        writeAll(bytes.constData(), bytes.size());
        return;
    }
    // Byte i has crossed the line at start + (i + 1) byte times; those already due go at once.
    const Clock::duration byteTime = ByteTime(baud);
    qsizetype sent = 0;
    while (sent < bytes.size() && !m_stop) {
        const auto due = std::min<qsizetype>(bytes.size(), (Clock::now() - start) / byteTime);
        if (due > sent) {
            if (!writeAll(bytes.constData() + sent, due - sent))
                return;
            sent = due;
        } else {
            std::this_thread::sleep_until(start + byteTime * (sent + 1));
        }
    }
}
