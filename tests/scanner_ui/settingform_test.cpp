#include "app/ui/messages.h"
#include "scanner/ui/pavoframe.h"
#include "scanner/ui/scannersettingform.h"
#include "scanner/ui/udebugscan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Optional pictures of the windows for looking at them: KKT_SHOT_DIR=/tmp/shots
void shot(QWidget& w, const char* name)
{
    const QString dir = qEnvironmentVariable("KKT_SHOT_DIR");
    if (!dir.isEmpty() && QDir().mkpath(dir))
        w.grab().save(dir + QStringLiteral("/scanner_%1.png").arg(QLatin1String(name)));
}

// Three published simulator ports, so the port list has known content on any machine.
struct PublishedPorts {
    QTemporaryDir runtime;
    QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    PublishedPorts()
    {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        QDir().mkpath(runtime.filePath("kkt-sim"));
        for (const char* name : {"kkt-sim-scanner-1", "kkt-sim-scanner-2", "kkt-sim-scanner-3"})
            QFile::link("/dev/null", runtime.filePath(QStringLiteral("kkt-sim/") + QLatin1String(name)));
    }
    ~PublishedPorts() { qputenv("XDG_RUNTIME_DIR", oldRuntime); }
};

}  // namespace

TEST(ScannerSettingForm, WithoutAFileItStartsWithNoScannerAndCancelWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    TFormScannerSetting dialog(path, nullptr);
    dialog.show();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(dialog.ComboBox1->count(), 2);
    EXPECT_EQ(dialog.ComboBox1->currentText(), QString::fromUtf8("Не использовать сканер"));
    EXPECT_FALSE(dialog.Pavo_RS232->isVisible());
    dialog.Button1->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(readAll(path), "");
}

TEST(ScannerSettingForm, OpensWithTheStoredModelPortAndSpeed)
{
    PublishedPorts ports;
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[CURRENT]\r\nModelName=Pavo (RS-232)\r\nComPort=kkt-sim-scanner-3\r\nSpeedPort=9600\r\n");
    f.close();

    TFormScannerSetting dialog(path, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.ComboBox1->currentText(), "Pavo (RS-232)");
    EXPECT_TRUE(dialog.Pavo_RS232->isVisible());
    EXPECT_EQ(dialog.Pavo_RS232->cbbPort->currentText(), "kkt-sim-scanner-3");
    EXPECT_EQ(dialog.Pavo_RS232->cbbSpeed->currentText(), "9600");
    shot(dialog, "settings");

    // the user's choice of speed is what "Применить" stores
    dialog.Pavo_RS232->cbbSpeed->setCurrentIndex(dialog.Pavo_RS232->cbbSpeed->findText("115200"));
    Q_EMIT dialog.Pavo_RS232->cbbSpeed->activated(dialog.Pavo_RS232->cbbSpeed->currentIndex());
    dialog.Button2->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const QByteArray text = readAll(path);
    EXPECT_TRUE(text.contains("SpeedPort=115200")) << text.constData();
    EXPECT_TRUE(text.contains("ComPort=kkt-sim-scanner-3"));
}

TEST(ScannerSettingForm, ThePavoModelWithoutPortAndSpeedIsSavedEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    TFormScannerSetting dialog(path, nullptr);
    dialog.show();
    dialog.ComboBox1->setCurrentIndex(1);
    Q_EMIT dialog.ComboBox1->activated(1);
    EXPECT_TRUE(dialog.Pavo_RS232->isVisible());
    dialog.Button2->click();
    const QByteArray text = readAll(path);
    EXPECT_TRUE(text.contains("ModelName=Pavo (RS-232)"));
    EXPECT_TRUE(text.contains("ComPort=\r\n"));
    EXPECT_TRUE(text.contains("SpeedPort=\r\n"));
}

TEST(ScannerSettingForm, BackFromNoScannerTheShownPortAndSpeedAreKept)
{
    PublishedPorts ports;
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    TFormScannerSetting dialog(path, nullptr);
    dialog.show();
    dialog.ComboBox1->setCurrentIndex(1);
    Q_EMIT dialog.ComboBox1->activated(1);
    auto* port = dialog.Pavo_RS232->cbbPort;
    port->setCurrentIndex(port->findText("kkt-sim-scanner-2"));
    Q_EMIT port->activated(port->currentIndex());
    dialog.ComboBox1->setCurrentIndex(0);
    Q_EMIT dialog.ComboBox1->activated(0);
    EXPECT_TRUE(dialog.ScanCfg.ComPort.isEmpty());
    dialog.ComboBox1->setCurrentIndex(1);
    Q_EMIT dialog.ComboBox1->activated(1);
    EXPECT_EQ(dialog.ScanCfg.ComPort, "kkt-sim-scanner-2");
}

TEST(ScannerSettingForm, AnUnknownModelSelectsNoScannerAndApplyClearsTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Scan.cfg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[CURRENT]\r\nModelName=Other\r\nComPort=ttyS0\r\nSpeedPort=9600\r\n");
    f.close();
    TFormScannerSetting dialog(path, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), 0);
    dialog.Button2->click();
    EXPECT_TRUE(readAll(path).contains("ModelName=\r\n"));
}

TEST(ScannerSettingForm, TheDebugBoxFollowsAndDrivesTheLogWindow)
{
    QTemporaryDir dir;
    TfrmDebugScan log;
    log.LogScan("ovlp.Internal = 259");
    log.LogScan(QString(34, QLatin1Char('*')));
    log.show();
    {
        TFormScannerSetting dialog(dir.filePath("Scan.cfg"), &log);
        dialog.show();
        EXPECT_TRUE(dialog.chkDebugScan->isChecked());
        dialog.chkDebugScan->click();
        EXPECT_FALSE(log.isVisible());
        dialog.chkDebugScan->click();
        EXPECT_TRUE(log.isVisible());
        dialog.Button1->click();
    }
    EXPECT_TRUE(log.isVisible());  // the log window outlives the dialog
}

TEST(ScannerSettingForm, AFileThatCannotBeWrittenKeepsTheDialogOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/Scan.cfg");  // no such folder
    TFormScannerSetting dialog(path, nullptr);
    QStringList messages;
    SetMessageHandler([&](MsgKind, const QString& text) {
        messages << text;
        return true;
    });
    dialog.show();
    dialog.Button2->click();
    SetMessageHandler({});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8("Внимание!\r\nНе удалось записать файл настроек сканера")));
    EXPECT_TRUE(dialog.isVisible());
}
