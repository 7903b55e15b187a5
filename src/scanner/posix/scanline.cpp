#include "scanner/scanline.h"

#include "link/posix/posixserialport.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

struct TScanLine::Impl {
    PosixSerialPort port;
    int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);  // readable: the owner wants the reader to stop

    ~Impl()
    {
        if (wakeFd >= 0)
            ::close(wakeFd);
    }
};

TScanLine::TScanLine() : d(std::make_unique<Impl>()) {}

TScanLine::~TScanLine() = default;

bool TScanLine::open(const QString& name, int32_t speed)
{
    return d->port.open(name, speed);
}

void TScanLine::close()
{
    d->port.close();
}

bool TScanLine::isOpen() const
{
    return d->port.isOpen() && d->wakeFd >= 0;
}

QString TScanLine::errorString() const
{
    return d->port.errorString();
}

TScanLine::Wait TScanLine::waitForData()
{
    for (;;) {
        pollfd fds[2] = {{d->port.fd(), POLLIN, 0}, {d->wakeFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (fds[1].revents & POLLIN)
            return Wait::Stopped;
        if (ready > 0 && (fds[0].revents & POLLIN) && d->port.bytesQueued() > 0)
            return Wait::Data;
        return Wait::Failed;  // hang-up, error, or a wake-up with nothing queued
    }
}

int TScanLine::bytesQueued() const
{
    return d->port.bytesQueued();
}

int TScanLine::read(uint8_t* buffer, int max)
{
    const ssize_t got = ::read(d->port.fd(), buffer, size_t(max));
    return got > 0 ? int(got) : 0;
}

bool TScanLine::pause(int ms)
{
    pollfd wake{d->wakeFd, POLLIN, 0};
    while (::poll(&wake, 1, ms) < 0 && errno == EINTR) {
    }
    return !(wake.revents & POLLIN);
}

void TScanLine::wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(d->wakeFd, &one, sizeof one);
}

void TScanLine::rearm()
{
    uint64_t drained = 0;
    while (::read(d->wakeFd, &drained, sizeof drained) > 0) {
    }
}
