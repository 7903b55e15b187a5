#include "link/portnames.h"
#include "link/posix/simports.h"
#include "link/kktlink.h"
#include "link/posix/posixserialport.h"
#include "link/resulttext.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose master plays the far end of the line.
class Pty {
public:
    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        path = QString::fromLocal8Bit(ptsname(master));
        // Keep a slave open so the master never sees a hang-up between the port's opens and closes.
        slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
    }
    ~Pty()
    {
        closeMaster();
        if (slave >= 0)
            ::close(slave);
    }
    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void send(const QByteArray& bytes) { ASSERT_EQ(::write(master, bytes.constData(), bytes.size()), bytes.size()); }
    QByteArray receive(int max, int waitMs = 1000)
    {
        QByteArray out;
        pollfd p{master, POLLIN, 0};
        while (out.size() < max && ::poll(&p, 1, waitMs) > 0) {
            char buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, n);
        }
        return out;
    }

    int master = -1;
    int slave = -1;
    QString path;
};

}  // namespace

TEST(PosixSerialPortTest, OpenIsExclusiveEvenThroughAnotherName)
{
    Pty pty;
    PosixSerialPort a;
    PosixSerialPort b;
    ASSERT_TRUE(a.open(pty.path, 19200)) << qPrintable(a.errorString());
    EXPECT_FALSE(b.open(pty.path, 19200));

    QTemporaryDir dir;
    const QString alias = dir.filePath(QStringLiteral("alias"));
    ASSERT_TRUE(QFile::link(pty.path, alias));
    EXPECT_FALSE(b.open(alias, 19200));

    a.close();
    EXPECT_TRUE(b.open(alias, 19200));
    EXPECT_FALSE(a.open(pty.path, 19200));
}

TEST(PosixSerialPortTest, MissingPortAndUnsupportedSpeedFail)
{
    PosixSerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/dev/ttyNoSuch99"), 19200));
    EXPECT_FALSE(port.isOpen());
    Pty pty;
    EXPECT_FALSE(port.open(pty.path, 12345));
    EXPECT_FALSE(port.isOpen());
}

TEST(PosixSerialPortTest, AnOpenThatFailsSaysWhyInTheSystemsWords)
{
    PosixSerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/dev/ttyNoSuch99"), 19200));
    EXPECT_EQ(port.openFailure(), PortOpenFailure::Missing);
    EXPECT_EQ(port.errorString(), QString::fromLocal8Bit(strerror(ENOENT)));

    Pty pty;
    PosixSerialPort holder;
    ASSERT_TRUE(holder.open(pty.path, 19200));
    EXPECT_FALSE(port.open(pty.path, 19200));
    EXPECT_EQ(port.openFailure(), PortOpenFailure::Busy);
    holder.close();

    // Not a serial line: it opens, but takes no line settings.
    EXPECT_FALSE(port.open(QStringLiteral("/dev/null"), 19200));
    EXPECT_EQ(port.openFailure(), PortOpenFailure::Settings);
    EXPECT_FALSE(port.open(pty.path, 12345));
    EXPECT_EQ(port.openFailure(), PortOpenFailure::Settings);

    // What the status bar and the command line make of it: the reason, then the system's text.
    KktLink link([] { return std::make_unique<PosixSerialPort>(); });
    KktCommandReport report;
    link.setCommandObserver([&report](const KktCommandReport& r) { report = r; });
    KktStatusInfo info;
    EXPECT_EQ(link.KktStatus({QStringLiteral("/dev/ttyNoSuch99"), 19200, 500, 1, 0}, info), KKT_PORT_FAILED);
    EXPECT_EQ(report.openFailure, PortOpenFailure::Missing);
    EXPECT_EQ(KktResultText(report),
              QStringLiteral("Запрос состояния ККТ: код 1 - порт не открылся (/dev/ttyNoSuch99, 19200 бод): такого порта "
                             "нет (устройство отключено?): ") +
                  QString::fromLocal8Bit(strerror(ENOENT)) + QStringLiteral(". Поможет \"Найти ККТ\" в настройках связи."));
    EXPECT_TRUE(PortOpenFailureText(PortOpenFailure::Busy, QStringLiteral("Device or resource busy"))
                    .startsWith(QStringLiteral("порт занят другой программой: ")));
}

TEST(PosixSerialPortTest, BytesPassUntouchedBothWays)
{
    Pty pty;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path, 115200));
    port.setReadTimeouts(200, 2000);
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(port.write(reinterpret_cast<const uint8_t*>(all.constData()), all.size()), all.size());
    EXPECT_EQ(pty.receive(all.size()), all);

    pty.send(all);
    QByteArray got(256, '\0');
    EXPECT_EQ(port.read(reinterpret_cast<uint8_t*>(got.data()), got.size()), 256);
    EXPECT_EQ(got, all);
}

TEST(PosixSerialPortTest, ReadEndsOnSilenceAfterTheLastByteOrTheTotalTimeOut)
{
    Pty pty;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path, 19200));
    uint8_t buf[64];

    // Nothing at all: the total time-out ends the read.
    port.setReadTimeouts(100, 400);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(port.read(buf, sizeof buf), 0);
    EXPECT_GE(t.elapsed(), 390);
    EXPECT_LT(t.elapsed(), 3000);

    // A short answer: the gap after its last byte ends the read long before the total time-out.
    port.setReadTimeouts(100, 10000);
    pty.send(QByteArray("\x17\x02\x01", 3));
    t.restart();
    EXPECT_EQ(port.read(buf, sizeof buf), 3);
    EXPECT_LT(t.elapsed(), 5000);

    // Purging drops what arrived before it.
    pty.send(QByteArray("stale"));
    ::usleep(20000);
    EXPECT_EQ(port.bytesQueued(), 5);
    port.purge();
    EXPECT_EQ(port.bytesQueued(), 0);
}

TEST(PosixSerialPortTest, ALineThatVanishesEndsTheReadAtOnce)
{
    Pty pty;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path, 19200));
    port.setReadTimeouts(1500, 10000);
    ::close(pty.slave);
    pty.slave = -1;
    pty.send(QByteArray("AB"));
    pty.closeMaster();
    uint8_t buf[16];
    QElapsedTimer t;
    t.start();
    const int64_t n = port.read(buf, sizeof buf);
    EXPECT_LE(n, 2);
    EXPECT_LT(t.elapsed(), 3000);
}

TEST(PortNamesTest, NamesResolveToDevicesAndPublishedSimulatorsAreListed)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    EXPECT_EQ(ResolvePortPath(QStringLiteral("ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(ResolvePortPath(QStringLiteral("/dev/pts/3")), QStringLiteral("/dev/pts/3"));
    EXPECT_EQ(ResolvePortPath(QStringLiteral("kkt-sim-a")), SimPublishDir() + QStringLiteral("/kkt-sim-a"));
    EXPECT_TRUE(ResolvePortPath(QString()).isEmpty());

    Pty pty;
    ASSERT_TRUE(QDir().mkpath(SimPublishDir()));
    ASSERT_TRUE(QFile::link(pty.path, SimPublishDir() + QStringLiteral("/kkt-sim-a")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/999999"), SimPublishDir() + QStringLiteral("/kkt-sim-gone")));
    const QStringList ports = GetCOM_Loop();
    EXPECT_TRUE(ports.contains(QStringLiteral("kkt-sim-a")));
    EXPECT_FALSE(ports.contains(QStringLiteral("kkt-sim-gone")));
    for (const QString& p : ports)
        EXPECT_FALSE(p.startsWith(QStringLiteral("tty")) && !QFile::exists(ResolvePortPath(p))) << qPrintable(p);

    PosixSerialPort port;
    EXPECT_TRUE(port.open(QStringLiteral("kkt-sim-a"), 19200));
    qunsetenv("XDG_RUNTIME_DIR");
}
