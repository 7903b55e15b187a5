#include "scanner/scancfg.h"

#include "app/myinifile.h"
#include "link/portnames.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("CURRENT");
const QString kModelKey = QStringLiteral("ModelName");
const QString kPortKey = QStringLiteral("ComPort");
const QString kSpeedKey = QStringLiteral("SpeedPort");

}  // namespace

const QString kScanNoModel = QStringLiteral("Не использовать сканер");
const QString kScanModelPavo = QStringLiteral("Pavo (RS-232)");

QStringList ScanModelItems()
{
    return {kScanNoModel, kScanModelPavo};
}

QStringList ScanSpeeds()
{
    return {QStringLiteral("600"),   QStringLiteral("1200"),  QStringLiteral("2400"),
            QStringLiteral("4800"),  QStringLiteral("9600"),  QStringLiteral("19200"),
            QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")};
}

TScanner ScannerFromCfg(const TScanCfg& cfg)
{
    TScanner s;
    if (cfg.ModelName == kScanModelPavo) {
        s.Model = TScanTypeDevice::Pavo;
        s.ComPort = cfg.ComPort;
        s.SpeedPort = cfg.SpeedPort;
        s.FlgON = true;
    }
    return s;
}

bool LoadScanCfg(const QString& path, TScanCfg& cfg)
{
    cfg = {};
    if (!QFile::exists(path)) {
        QFile empty(path);
        if (!empty.open(QIODevice::WriteOnly))
            return false;
    }
    const TmyIniFile ini(path);
    if (!ini.loaded())
        return false;
    cfg.ModelName = ini.mReadString(kSection, kModelKey, {});
    cfg.ComPort = ini.mReadString(kSection, kPortKey, {});
    cfg.SpeedPort = ini.mReadString(kSection, kSpeedKey, {});
    return true;
}

bool SaveScanCfg(const QString& path, const TScanCfg& cfg, QString* error)
{
    TmyIniFile ini(path);
    if (!ini.loaded()) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    ini.WriteString(kSection, kModelKey, cfg.ModelName);
    ini.WriteString(kSection, kPortKey, cfg.ComPort);
    ini.WriteString(kSection, kSpeedKey, cfg.SpeedPort);
    if (ini.UpdateFile())
        return true;
    if (error)
        *error = ini.errorString();
    return false;
}

bool SameScanPort(const QString& scanPort, const QString& kktPort)
{
    if (scanPort.isEmpty() || kktPort.isEmpty())
        return false;
    const auto device = [](const QString& name) {
        const QString path = ResolvePortPath(name);
        const QString target = QFileInfo(path).canonicalFilePath();
        return target.isEmpty() ? path : target;
    };
    return device(scanPort) == device(kktPort);
}
