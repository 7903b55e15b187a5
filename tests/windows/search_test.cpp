// Finding the register over COM ports, and why a port does not open, through the Win32 functions.
#include "winenv.h"

#include "link/kktsearch.h"
#include "link/portnames.h"
#include "link/win/winserialport.h"

#include <gtest/gtest.h>

TEST(WinSearch, FindsEachRegisterAtItsSpeedAndSaysWhyTheOthersGaveNothing)
{
    const QString fast = ComPort("FAST"), slow = ComPort("SLOW"), silent = ComPort("SILENT"),
                  missing = ComPort("MISSING");
    REQUIRE_ENV(fast);
    REQUIRE_ENV(slow);
    REQUIRE_ENV(missing);
    KktLink link;
    KktSearch search(link, {missing, silent, slow, fast}, KktLineSpeeds(), 1);
    while (search.Step()) {
    }
    const QList<KktPortReport>& r = search.reports();
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(r[0].verdict, KktPortVerdict::Missing);
    EXPECT_TRUE(PortVerdictText(r[0]).startsWith(QStringLiteral("не открывается: такого порта нет"))) << PortVerdictText(r[0]).toStdString();
    EXPECT_EQ(r[1].verdict, KktPortVerdict::Silent);
    EXPECT_EQ(r[1].probes, 8);
    EXPECT_EQ(r[2].verdict, KktPortVerdict::Found);
    EXPECT_EQ(r[2].speed, 19200);
    EXPECT_EQ(r[2].probes, 2);  // 115200 first, then 19200
    EXPECT_EQ(r[3].verdict, KktPortVerdict::Found);
    EXPECT_EQ(r[3].speed, 115200);
    EXPECT_EQ(r[3].probes, 1);

    // The port list probes COM1 to COM99: the simulators' ports are there, the missing one is not.
    const QStringList ports = GetCOM_Loop();
    EXPECT_TRUE(ports.contains(fast)) << ports.join(' ').toStdString();
    EXPECT_TRUE(ports.contains(slow));
    EXPECT_FALSE(ports.contains(missing));
}

TEST(WinSearch, AnOpenThatFailsSaysWhyInTheSystemsWords)
{
    const QString fast = ComPort("FAST"), notSerial = ComPort("NOTSERIAL"), missing = ComPort("MISSING");
    REQUIRE_ENV(fast);
    REQUIRE_ENV(notSerial);
    WinSerialPort port;
    EXPECT_FALSE(port.open(missing, 19200));
    EXPECT_EQ(port.openFailure(), PortOpenFailure::Missing);
    EXPECT_TRUE(port.errorString().endsWith(QStringLiteral("(2)"))) << port.errorString().toStdString();

    // A port another program holds answers "access denied" on Windows. Wine does not keep a second
    // handle off a device, so the answer is checked as the system gives it, not provoked.
    EXPECT_EQ(PortOpenFailureOf(ERROR_ACCESS_DENIED), PortOpenFailure::Busy);
    EXPECT_EQ(PortOpenFailureOf(ERROR_SHARING_VIOLATION), PortOpenFailure::Busy);
    EXPECT_EQ(PortOpenFailureOf(ERROR_FILE_NOT_FOUND), PortOpenFailure::Missing);
    EXPECT_TRUE(port.open(fast, 115200)) << port.errorString().toStdString();
    port.close();

    // A device that is no serial line opens but takes no line settings.
    EXPECT_FALSE(port.open(notSerial, 19200));
    EXPECT_EQ(port.openFailure(), PortOpenFailure::Settings) << port.errorString().toStdString();
}
