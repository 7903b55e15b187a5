#pragma once
#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal standing in for the scanner's line: the test writes the scanner's bytes to the
// master. The slave stays open here too, so the master never sees a hang-up between the reader's
// open/close cycles, and it is raw at once: a fresh terminal would turn CR into LF.
class TestPty {
public:
    TestPty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master >= 0)
            ::fcntl(m_master, F_SETFL, O_NONBLOCK);  // a full line fails the write instead of blocking
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        m_path = QString::fromLocal8Bit(::ptsname(m_master));
        m_slave = ::open(m_path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        if (m_slave >= 0 && ::tcgetattr(m_slave, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_slave, TCSANOW, &tio);
        }
    }
    ~TestPty()
    {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool ok() const { return m_master >= 0 && m_slave >= 0; }
    QString path() const { return m_path; }
    bool write(const QByteArray& bytes) const
    {
        return ::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    // The scanner is unplugged: the slave side sees a hang-up.
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
