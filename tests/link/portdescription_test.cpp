// Telling ports apart: what the system knows of the device behind a name.
#include "link/portnames.h"
#include "link/posix/simports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Put(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

TEST(PortDescription, UsbAdapterGivesMakerProductAndItsStableName)
{
    QTemporaryDir root;
    const QString sys = root.filePath(QStringLiteral("sys"));
    const QString dev = root.filePath(QStringLiteral("dev"));
    // ttyUSB0 hangs off a USB device with names; ttyUSB1 off one with numbers only; ttyS0 off none.
    const QString usb = sys + QStringLiteral("/devices/pci0/usb1/1-1");
    Put(usb + QStringLiteral("/idVendor"), "0403\n");
    Put(usb + QStringLiteral("/idProduct"), "6001\n");
    Put(usb + QStringLiteral("/manufacturer"), "FTDI\n");
    Put(usb + QStringLiteral("/product"), "FT232R USB UART\n");
    QDir().mkpath(usb + QStringLiteral("/1-1:1.0/ttyUSB0"));
    const QString bare = sys + QStringLiteral("/devices/pci0/usb1/1-2");
    Put(bare + QStringLiteral("/idVendor"), "1a86\n");
    Put(bare + QStringLiteral("/idProduct"), "7523\n");
    QDir().mkpath(bare + QStringLiteral("/1-2:1.0/ttyUSB1"));
    QDir().mkpath(sys + QStringLiteral("/devices/platform/serial8250/tty/ttyS0"));
    QDir().mkpath(sys + QStringLiteral("/class/tty/ttyUSB0"));
    QDir().mkpath(sys + QStringLiteral("/class/tty/ttyUSB1"));
    QDir().mkpath(sys + QStringLiteral("/class/tty/ttyS0"));
    ASSERT_TRUE(QFile::link(usb + QStringLiteral("/1-1:1.0/ttyUSB0"), sys + QStringLiteral("/class/tty/ttyUSB0/device")));
    ASSERT_TRUE(QFile::link(bare + QStringLiteral("/1-2:1.0/ttyUSB1"), sys + QStringLiteral("/class/tty/ttyUSB1/device")));
    ASSERT_TRUE(QFile::link(sys + QStringLiteral("/devices/platform/serial8250/tty/ttyS0"),
                            sys + QStringLiteral("/class/tty/ttyS0/device")));
    Put(dev + QStringLiteral("/ttyUSB0"), "");
    Put(dev + QStringLiteral("/ttyUSB1"), "");
    Put(dev + QStringLiteral("/ttyS0"), "");
    QDir().mkpath(dev + QStringLiteral("/serial/by-id"));
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB0"),
                            dev + QStringLiteral("/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0")));

    EXPECT_EQ(PortDescription(QStringLiteral("ttyUSB0"), sys, dev),
              QStringLiteral("FTDI FT232R USB UART (usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0)"));
    EXPECT_EQ(PortDescription(QStringLiteral("ttyUSB1"), sys, dev), QStringLiteral("USB 1a86:7523"));
    EXPECT_EQ(PortDescription(QStringLiteral("ttyS0"), sys, dev), QString());
    EXPECT_EQ(PortDescription(QStringLiteral("ttyUSB7"), sys, dev), QString());
}

}  // namespace
