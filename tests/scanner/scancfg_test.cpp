#include "scanner/scancfg.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(ScanCfgFile, AMissingFileIsCreatedEmptyAndReadsAsNoScanner)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    TScanCfg cfg{"x", "y", "z"};
    ASSERT_TRUE(LoadScanCfg(path, cfg));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(readAll(path), "");
    EXPECT_TRUE(cfg.ModelName.isEmpty() && cfg.ComPort.isEmpty() && cfg.SpeedPort.isEmpty());
    EXPECT_EQ(ScannerFromCfg(cfg).Model, TScanTypeDevice::DUMMY);
    EXPECT_FALSE(ScannerFromCfg(cfg).FlgON);
}

TEST(ScanCfgFile, SavesPlainValuesAndReadsThemBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    ASSERT_TRUE(SaveScanCfg(path, {kScanModelPavo, "ttyUSB0", "9600"}));
    const QByteArray text = readAll(path);
    EXPECT_TRUE(text.contains("[CURRENT]"));
    EXPECT_TRUE(text.contains("ModelName=Pavo (RS-232)"));
    EXPECT_TRUE(text.contains("ComPort=ttyUSB0"));
    EXPECT_TRUE(text.contains("SpeedPort=9600"));
    EXPECT_FALSE(text.contains('\x7f'));

    TScanCfg back;
    ASSERT_TRUE(LoadScanCfg(path, back));
    EXPECT_EQ(back.ModelName, kScanModelPavo);
    EXPECT_EQ(back.ComPort, "ttyUSB0");
    EXPECT_EQ(back.SpeedPort, "9600");
    const TScanner applied = ScannerFromCfg(back);
    EXPECT_EQ(applied.Model, TScanTypeDevice::Pavo);
    EXPECT_TRUE(applied.FlgON);
    EXPECT_EQ(applied.ComPort, "ttyUSB0");
}

TEST(ScanCfgFile, KeepsOtherContentAndReadsWrappedOrForeignValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    writeAll(path, "[current]\r\nmodelname=\x7fPavo (RS-232)\x7f\r\nSpeedPort=19200\r\n[OTHER]\r\nKey=1\r\n");
    TScanCfg cfg;
    ASSERT_TRUE(LoadScanCfg(path, cfg));
    EXPECT_EQ(cfg.ModelName, kScanModelPavo);
    EXPECT_EQ(cfg.ComPort, "");
    EXPECT_EQ(cfg.SpeedPort, "19200");

    cfg.ComPort = "ttyS1";
    ASSERT_TRUE(SaveScanCfg(path, cfg));
    EXPECT_TRUE(readAll(path).contains("Key=1"));

    writeAll(path, "[CURRENT]\r\nModelName=Other scanner\r\nComPort=ttyS0\r\n");
    ASSERT_TRUE(LoadScanCfg(path, cfg));
    EXPECT_EQ(ScannerFromCfg(cfg).Model, TScanTypeDevice::DUMMY);
}

TEST(ScanCfgFile, AnUnwritableFolderFailsWithoutTouchingAnything)
{
    TScanCfg cfg;
    EXPECT_FALSE(LoadScanCfg("/nonexistent-folder/Scan.cfg", cfg));
    QString error;
    EXPECT_FALSE(SaveScanCfg("/nonexistent-folder/Scan.cfg", {kScanModelPavo, "ttyS0", "9600"}, &error));
}
