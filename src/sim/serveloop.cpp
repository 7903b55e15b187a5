#include "sim/serveloop.h"

#include <QByteArray>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

void BlockStopSignals()
{
    const sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void ServeConsole(const std::function<QString(const QString& line, bool& quit)>& command,
                  const std::function<void()>& tick)
{
    const sigset_t set = StopSignals();
    const int stopFd = ::signalfd(-1, &set, SFD_CLOEXEC);
    bool inputOpen = true;
    bool quit = false;
    QByteArray pending;
    while (!quit) {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {inputOpen ? STDIN_FILENO : -1, POLLIN, 0}};
        const int ready = ::poll(fds, 2, 100);
        if (ready < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN)
            break;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buf[512];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                inputOpen = false;
            } else {
                pending.append(buf, n);
                qsizetype end;
                while (!quit && (end = pending.indexOf('\n')) >= 0) {
                    const QString line = QString::fromUtf8(pending.left(end)).trimmed();
                    pending.remove(0, end + 1);
                    if (line.isEmpty())
                        continue;
                    const QByteArray reply = command(line, quit).toUtf8();
                    std::fprintf(stdout, "%s\n", reply.constData());
                    std::fflush(stdout);
                }
            }
        }
        tick();
    }
    if (stopFd >= 0)
        ::close(stopFd);
}
