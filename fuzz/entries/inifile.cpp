#include "fuzzentries.h"
#include "fuzzinput.h"

#include "app/myinifile.h"
#include "app/settings.h"
#include "scanner/scancfg.h"

// The same bytes as an ini document, as "ProgSett.ini" and as "Scan.cfg".
int FuzzIniFile(const uint8_t* data, size_t size)
{
    const QString path = WriteFuzzFile("ini", data, size);
    {
        TmyIniFile ini(path);
        const QStringList sections = ini.Sections();
        if (sections.size() != ini.SectionCount())
            __builtin_trap();
        for (const QString& section : sections.mid(0, 8)) {
            ini.mReadString(section, QStringLiteral("Name"), QString());
            ini.ReadInteger(section, QStringLiteral("Speed"), 0);
        }
        // A value written reads back as written, wrapped or not.
        const QString value = QStringLiteral("  значение  ");
        ini.mWriteString(QStringLiteral("ФАЗЗ"), QStringLiteral("ключ"), value);
        if (ini.mReadString(QStringLiteral("фазз"), QStringLiteral("КЛЮЧ"), QString()) != value)
            __builtin_trap();
    }
    TStructSetting sett;
    LoadIniSettings(path, sett);
    TScanCfg cfg;
    LoadScanCfg(path, cfg);
    return 0;
}
