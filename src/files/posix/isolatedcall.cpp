#include "files/isolatedcall.h"

#include <QElapsedTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The child's answer up to its end of the pipe, or false when the time runs out first.
bool ReadUntilClosed(int fd, int timeOutMs, QByteArray& out)
{
    QElapsedTimer timer;
    timer.start();
    char buffer[65536];
    for (;;) {
        const qint64 left = timeOutMs - timer.elapsed();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        out.append(buffer, n);
    }
}

}  // namespace

TIsolatedResult RunIsolated(const TIsolatedJob& job, int timeOutMs)
{
    TIsolatedResult result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result.error = QStringLiteral("не удалось создать канал: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return result;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        result.error = QStringLiteral("не удалось запустить процесс: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        ::close(fds[0]);
        ::close(fds[1]);
        return result;
    }
    if (pid == 0) {
        // The child: only the work and its answer; _exit, so nothing of the parent's is torn down twice.
        ::close(fds[0]);
        int code = 0;
        try {
            code = WriteAll(fds[1], job.work()) ? 0 : 3;
        } catch (...) {
            code = 2;
        }
        ::_exit(code);
    }
    ::close(fds[1]);
    const bool finished = ReadUntilClosed(fds[0], timeOutMs, result.output);
    ::close(fds[0]);
    if (!finished)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished)
        result.error = QStringLiteral("чтение не закончилось за %1 с").arg(timeOutMs / 1000.0);
    else if (WIFSIGNALED(status))
        result.error = QStringLiteral("чтение завершилось аварийно (сигнал %1)").arg(WTERMSIG(status));
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        result.error = QStringLiteral("чтение завершилось с кодом %1").arg(WEXITSTATUS(status));
    else
        result.ok = true;
    if (!result.ok)
        result.output.clear();
    return result;
}
