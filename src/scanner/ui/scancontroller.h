#pragma once
#include "scanner/scancfg.h"
#include "scanner/scanthread.h"

#include <QColor>
#include <QObject>
#include <functional>

class QWidget;
class TfrmDebugScan;

// The scanner indicator on the goods tab: the circle and its caption "Сканер штрих-кода".
enum class TScanIndicator {
    Hidden,      // no scanner configured: circle and caption hidden
    Running,     // green
    PortFailed,  // red: the port could not be opened
    Stopped,     // white
};
QColor ScanIndicatorColour(TScanIndicator state);

// What the scanner needs of the goods grid, in the grid's own numbering: column 2 is "Штрих-код",
// row N holds goods code N.
struct TScanGoodsGrid {
    std::function<bool(int& col, int& row)> currentCell;  // the last selected cell; false if none
    std::function<void(int col, int row, const QString& text)> setCell;
    std::function<void(const QString& text, const QColor& colour)> setResultLabel;
    std::function<void(TScanIndicator state)> setIndicator;
};

// The main window's side of the scanner: owns the reader for the program's lifetime, applies the
// settings, and puts every scanned code into the goods grid.
class TScanController : public QObject {
    Q_OBJECT
public:
    static constexpr int kShtrihColumn = 2;

    // `window` parents the settings dialog and the questions; `debugScan` receives the reader's log.
    TScanController(QWidget* window, TfrmDebugScan* debugScan, QObject* parent = nullptr);

    void setGoodsGrid(TScanGoodsGrid grid) { m_grid = std::move(grid); }
    void setScanCfgPath(const QString& path) { m_cfgPath = path; }

    // Start-up: reads "Scan.cfg" (created empty when missing); with no scanner the indicator hides.
    void LoadScanSettings();

    void StartScan();
    void StopScan();
    // "Настройки" → "Сканер штрих-кода".
    void ScannerClick();
    // What "Применить" of the settings dialog leads to: the settings for this run, then a start.
    void ApplyScanCfg(const TScanCfg& cfg);
    void OnScanShtrihCode(const QString& value);

    // The goods tab was shown. A scanner on the register's own port is started only if the user
    // chooses it; true then, and the register's buttons must be disabled while the tab shows.
    bool GoodsTabShown(const QString& kktPortName);
    // Any other tab of the tables frame was shown.
    void OtherTabShown() { StopScan(); }

    TScanThread& reader() { return m_st; }
    const TScanner& Scan() const { return m_scan; }
    TScanIndicator indicator() const { return m_indicator; }

    QString model_scan, com_scan, speed_scan;

private:
    void setIndicator(TScanIndicator state);

    QWidget* m_window;
    TfrmDebugScan* m_debugScan;
    QString m_cfgPath;
    TScanThread m_st;
    TScanner m_scan;
    TScanGoodsGrid m_grid;
    TScanIndicator m_indicator = TScanIndicator::Hidden;
};
