#include "link/posix/posixserialport.h"

#include "link/portnames.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

QString SystemText(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

int msLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

std::unique_ptr<SerialPort> CreateSerialPort()
{
    return std::make_unique<PosixSerialPort>();
}

unsigned BaudToTermios(int32_t speed)
{
    switch (speed) {
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return 0;
    }
}

int32_t TermiosToBaud(unsigned constant)
{
    for (int32_t speed : {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600})
        if (BaudToTermios(speed) == constant)
            return speed;
    return 0;
}

PosixSerialPort::~PosixSerialPort()
{
    close();
}

bool PosixSerialPort::fail(PortOpenFailure failure, const QString& text)
{
    m_failure = failure;
    m_error = text;
    return false;
}

bool PosixSerialPort::open(const QString& name, int32_t speed)
{
    close();
    const unsigned baud = BaudToTermios(speed);
    if (baud == 0)
        return fail(PortOpenFailure::Settings, QStringLiteral("скорость %1 бод не поддерживается").arg(speed));
    const QByteArray path = QFile::encodeName(ResolvePortPath(name));
    if (path.isEmpty())
        return fail(PortOpenFailure::Missing, QStringLiteral("имя порта не задано"));
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failErrno(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return fail(PortOpenFailure::Busy, QString());  // our own lock: the system has nothing to add
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(PortOpenFailure::Settings, SystemText(error));
    }
    // A Windows port has no line discipline: the register's bytes must pass untouched. Flow control
    // stays as the driver reported it.
    const tcflag_t rtscts = tio.c_cflag & CRTSCTS;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD | rtscts;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, baud);
    cfsetospeed(&tio, baud);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(PortOpenFailure::Settings, SystemText(error));
    }
    ::ioctl(fd, TIOCEXCL);  // keeps out other non-root openers; the flock covers everybody else
    m_fd = fd;
    m_failure = PortOpenFailure::None;
    m_error.clear();
    return true;
}

bool PosixSerialPort::failErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case EIO:  // the device node outlived its hardware (adapter pulled, terminal closed)
        return fail(PortOpenFailure::Missing, SystemText(error));
    case EBUSY:
        return fail(PortOpenFailure::Busy, SystemText(error));
    case EACCES:
    case EPERM:
        // Serial devices belong to the group "dialout"; a user outside it gets exactly this.
        return fail(PortOpenFailure::Denied,
                    SystemText(error) + QStringLiteral(". Добавьте пользователя в группу dialout "
                                                       "(sudo usermod -aG dialout $USER) и войдите в систему заново"));
    default:
        return fail(PortOpenFailure::Settings, SystemText(error));
    }
}

void PosixSerialPort::close()
{
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, TIOCNXCL);  // otherwise later opens by ordinary users fail with EBUSY
    ::close(m_fd);             // also releases the flock
    m_fd = -1;
}

void PosixSerialPort::setReadTimeouts(int intervalMs, int totalMs)
{
    m_intervalMs = intervalMs;
    m_totalMs = totalMs;
}

void PosixSerialPort::purge()
{
    if (m_fd >= 0)
        tcflush(m_fd, TCIOFLUSH);
}

int64_t PosixSerialPort::write(const uint8_t* data, int64_t size)
{
    if (m_fd < 0)
        return 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_totalMs);
    int64_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(size - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        pollfd p{m_fd, POLLOUT, 0};
        const int left = msLeft(deadline);
        if (left == 0 || ::poll(&p, 1, left) <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            break;
    }
    return done;
}

int64_t PosixSerialPort::read(uint8_t* data, int64_t max)
{
    if (m_fd < 0)
        return 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_totalMs);
    int64_t got = 0;
    while (got < max) {
        int wait = msLeft(deadline);
        if (got > 0)
            wait = std::min(wait, m_intervalMs);  // the interval time-out runs from the last byte on
        if (wait == 0)
            break;
        pollfd p{m_fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        if (!(p.revents & POLLIN))
            break;  // hang-up or error without data: the line is gone
        const ssize_t n = ::read(m_fd, data + got, static_cast<size_t>(max - got));
        if (n > 0)
            got += n;
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return got;
}

int PosixSerialPort::bytesQueued() const
{
    int n = 0;
    if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &n) != 0)
        return 0;
    return n;
}
