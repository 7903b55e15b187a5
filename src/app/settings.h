#pragma once
#include <QString>
#include <cstdint>

struct TPortSett {
    QString Name;            // port name as listed by GetCOM_Loop
    int32_t Speed = 19200;   // baud
    int32_t TimeOut = 3500;  // ms
};

struct TStructSetting {
    int32_t NumKKT = 0;
    TPortSett PortSett;
};

// The folder that holds "ProgSett.ini" and "Scan.cfg", the same for every program of the project.
// On Windows the program's own folder when it is writable (a portable copy), otherwise
// %APPDATA%\kkt-config (a copy installed under Program Files); elsewhere the generic
// configuration folder + "/kkt-config" (follows XDG_CONFIG_HOME). Created on demand.
QString ConfigFolder();
QString ProgSettPath();
QString ScanCfgPath();

// "ProgSett.ini": created empty when missing. False when it cannot be created or read.
bool LoadIniSettings(const QString& path, TStructSetting& sett);
// Keeps the file's other sections and keys; false when it cannot be written (old content kept).
bool SaveIniSettings(const QString& path, const TStructSetting& sett);
