#include "app/settings.h"

#include "app/myinifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kPortSection = QStringLiteral("COM_PORT");
const QString kCommonSection = QStringLiteral("COMMON");

// The settings file and its folder are created empty on first use, as on a fresh install.
bool ensureFileExists(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return true;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || QFileInfo::exists(path);
}

}  // namespace

QString ProgSettPath()
{
    return ConfigFolder() + QStringLiteral("/ProgSett.ini");
}

QString ScanCfgPath()
{
    return ConfigFolder() + QStringLiteral("/Scan.cfg");
}

bool LoadIniSettings(const QString& path, TStructSetting& sett)
{
    if (!ensureFileExists(path))
        return false;
    const TmyIniFile ini(path);
    if (!ini.loaded())
        return false;
    sett.PortSett.Name = ini.mReadString(kPortSection, QStringLiteral("Name"), QString());
    sett.PortSett.Speed = ini.ReadInteger(kPortSection, QStringLiteral("Speed"), 19200);
    sett.PortSett.TimeOut = ini.ReadInteger(kPortSection, QStringLiteral("TimeOut"), 3500);
    sett.NumKKT = ini.ReadInteger(kCommonSection, QStringLiteral("NumKKT"), 0);
    return true;
}

bool SaveIniSettings(const QString& path, const TStructSetting& sett)
{
    if (!ensureFileExists(path))
        return false;
    TmyIniFile ini(path);
    if (!ini.loaded())
        return false;
    ini.mWriteString(kPortSection, QStringLiteral("Name"), sett.PortSett.Name);
    ini.WriteInteger(kPortSection, QStringLiteral("Speed"), sett.PortSett.Speed);
    ini.WriteInteger(kPortSection, QStringLiteral("TimeOut"), sett.PortSett.TimeOut);
    ini.WriteInteger(kCommonSection, QStringLiteral("NumKKT"), sett.NumKKT);
    return ini.UpdateFile();
}
