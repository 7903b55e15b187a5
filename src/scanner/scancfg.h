#pragma once
#include <QString>
#include <QStringList>

// The scanner settings as stored in "Scan.cfg", section "CURRENT", plain values.
struct TScanCfg {
    QString ModelName;  // empty: no scanner
    QString ComPort;    // a port name as GetCOM_Loop lists it, or empty
    QString SpeedPort;  // one of ScanSpeeds(), or empty
};

// The model list of the settings dialog, in this order; the first item means no scanner.
extern const QString kScanNoModel;  // "Не использовать сканер"
extern const QString kScanModelPavo;  // "Pavo (RS-232)"
QStringList ScanModelItems();
QStringList ScanSpeeds();

// The settings applied for this run.
enum class TScanTypeDevice { DUMMY, Pavo, LAST_SCAN_DEVICE };

struct TScanner {
    TScanTypeDevice Model = TScanTypeDevice::DUMMY;
    QString ComPort;
    QString SpeedPort;
    bool FlgON = false;
};

// A model name that is not the supported scanner reads as no scanner.
TScanner ScannerFromCfg(const TScanCfg& cfg);

// Creates the file empty when it is missing, then reads the three keys (missing keys read empty).
// False when the file cannot be created or read; `cfg` is then empty.
bool LoadScanCfg(const QString& path, TScanCfg& cfg);
// Writes the three keys and keeps anything else the file holds. False when it cannot be written;
// the file is then unchanged.
bool SaveScanCfg(const QString& path, const TScanCfg& cfg, QString* error = nullptr);

// True when both names lead to the same device (a simulator's link and its terminal included):
// the register and the scanner cannot use one port at the same time.
bool SameScanPort(const QString& scanPort, const QString& kktPort);
