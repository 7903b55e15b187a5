#include "sim/publishedpty.h"

#include "link/portnames.h"
#include "link/posix/simports.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString ErrnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void SetError(QString* error, const QString& message)
{
    if (error)
        *error = message;
}

}  // namespace

bool PublishedPty::IsValidName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^kkt-sim[A-Za-z0-9._-]*$"));
    return pattern.match(name).hasMatch();
}

bool PublishedPty::open(const QString& name, QString* error)
{
    close();
    if (!IsValidName(name)) {
        SetError(error, QStringLiteral("'%1' is not a simulator port name: it must start with \"kkt-sim\" and "
                                       "hold only letters, digits, '.', '_' and '-'")
                            .arg(name));
        return false;
    }
    m_name = name;
    if (!openTerminal(error) || !publish(error)) {
        close();
        return false;
    }
    return true;
}

bool PublishedPty::openTerminal(QString* error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        SetError(error, QStringLiteral("cannot open a pseudo-terminal: %1").arg(ErrnoText()));
        return false;
    }
    char path[128] = {};
    if (::ptsname_r(m_master, path, sizeof path) != 0) {
        SetError(error, QStringLiteral("cannot name the pseudo-terminal: %1").arg(ErrnoText()));
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(path);
    m_slave = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        SetError(error, QStringLiteral("cannot open %1: %2").arg(m_devicePath, ErrnoText()));
        return false;
    }
    // Raw at once: a fresh terminal would turn a CR into LF and echo before the client sets it up.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    return true;
}

bool PublishedPty::publish(QString* error)
{
    const QString dir = SimPublishDir();
    if (!QDir().mkpath(dir) || ::chmod(QFile::encodeName(dir).constData(), 0700) != 0) {
        SetError(error, QStringLiteral("cannot create the folder %1: %2").arg(dir, ErrnoText()));
        return false;
    }
    const QString linkPath = dir + QLatin1Char('/') + m_name;
    const QString lockPath = dir + QStringLiteral("/.") + m_name + QStringLiteral(".lock");
    const QByteArray lock = QFile::encodeName(lockPath);
    // The owner removes its lock file on close, so a lock taken on a file that is no longer there
    // is retried.
    for (int attempt = 0; attempt < 5 && m_lock < 0; ++attempt) {
        int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            SetError(error, QStringLiteral("cannot create %1: %2").arg(lockPath, ErrnoText()));
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            SetError(error, QStringLiteral("the port name '%1' is already published by a running simulator; "
                                           "choose another with --name")
                                .arg(m_name));
            return false;
        }
        struct stat held {}, named {};
        if (::fstat(fd, &held) == 0 && ::stat(lock.constData(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev)
            m_lock = fd;
        else
            ::close(fd);
    }
    if (m_lock < 0) {
        SetError(error, QStringLiteral("cannot lock %1").arg(lockPath));
        return false;
    }
    m_lockPath = lockPath;
    const QByteArray link = QFile::encodeName(linkPath);
    ::unlink(link.constData());  // left behind by a simulator that did not stop cleanly
    if (::symlink(QFile::encodeName(m_devicePath).constData(), link.constData()) != 0) {
        SetError(error, QStringLiteral("cannot publish %1: %2").arg(linkPath, ErrnoText()));
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

void PublishedPty::unpublish()
{
    if (m_lock < 0)
        return;
    if (!m_linkPath.isEmpty())
        ::unlink(QFile::encodeName(m_linkPath).constData());
    ::unlink(QFile::encodeName(m_lockPath).constData());
    CloseFd(m_lock);
    m_linkPath.clear();
    m_lockPath.clear();
}

void PublishedPty::closeTerminal()
{
    CloseFd(m_master);
    CloseFd(m_slave);
}

void PublishedPty::close()
{
    closeTerminal();
    unpublish();
}
