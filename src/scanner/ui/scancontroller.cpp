#include "scanner/ui/scancontroller.h"

#include "app/settings.h"
#include "app/ui/messages.h"
#include "scanner/shtrihcode.h"
#include "scanner/ui/scannersettingform.h"
#include "scanner/ui/udebugscan.h"

QColor ScanIndicatorColour(TScanIndicator state)
{
    switch (state) {
    case TScanIndicator::Running: return QColor(0, 255, 0);
    case TScanIndicator::PortFailed: return QColor(255, 0, 0);
    case TScanIndicator::Stopped: return QColor(255, 255, 255);
    case TScanIndicator::Hidden: break;
    }
    return {};
}

TScanController::TScanController(QWidget* window, TfrmDebugScan* debugScan, QObject* parent)
    : QObject(parent), m_window(window), m_debugScan(debugScan), m_cfgPath(ScanCfgPath())
{
    m_st.setOnScanEvent([this](const QString& value) { OnScanShtrihCode(value); });
    if (m_debugScan)
        m_st.setOnLogScan([this](const QString& line) { m_debugScan->LogScan(line); });
}

void TScanController::setIndicator(TScanIndicator state)
{
    m_indicator = state;
    if (m_grid.setIndicator)
        m_grid.setIndicator(state);
}

void TScanController::LoadScanSettings()
{
    TScanCfg cfg;
    LoadScanCfg(m_cfgPath, cfg);  // unreadable reads as no scanner
    // Only the supported model starts a reader; any other name in the file means none.
    m_scan = ScannerFromCfg(cfg);
    model_scan = m_scan.FlgON ? kScanModelPavo : QString();
    com_scan = m_scan.ComPort;
    speed_scan = m_scan.SpeedPort;
    if (model_scan.isEmpty())
        setIndicator(TScanIndicator::Hidden);
}

void TScanController::StartScan()
{
    if (model_scan.isEmpty()) {
        setIndicator(TScanIndicator::Hidden);
        return;
    }
    if (m_st.Init(com_scan, speed_scan) && m_st.Start())
        setIndicator(TScanIndicator::Running);
    else
        setIndicator(TScanIndicator::PortFailed);
}

void TScanController::StopScan()
{
    if (model_scan.isEmpty())
        return;
    m_st.Disconnect();
    setIndicator(TScanIndicator::Stopped);
}

void TScanController::ScannerClick()
{
    StopScan();
    TFormScannerSetting dialog(m_cfgPath, m_debugScan, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ApplyScanCfg(dialog.ScanCfg);
}

void TScanController::ApplyScanCfg(const TScanCfg& cfg)
{
    m_scan = ScannerFromCfg(cfg);
    if (!m_scan.FlgON) {
        m_st.Disconnect();
        model_scan.clear();
        com_scan.clear();
        speed_scan.clear();
        setIndicator(TScanIndicator::Hidden);
        return;
    }
    model_scan = kScanModelPavo;
    com_scan = m_scan.ComPort;
    speed_scan = m_scan.SpeedPort;
    StartScan();
}

void TScanController::OnScanShtrihCode(const QString& value)
{
    int col = 0;
    int row = 0;
    if (!m_grid.currentCell || !m_grid.currentCell(col, row) || col != kShtrihColumn)
        return;
    if (m_grid.setCell)
        m_grid.setCell(col, row, value);
    const TShtrihCheckText result = ShtrihCheckText(CheckShtrihCode(value), row);
    if (m_grid.setResultLabel)
        m_grid.setResultLabel(result.text, QColor(result.red, result.green, result.blue));
}

bool TScanController::GoodsTabShown(const QString& kktPortName)
{
    if (model_scan.isEmpty())
        return false;
    if (!SameScanPort(com_scan, kktPortName)) {
        StartScan();
        return false;
    }
    if (!ShowMessage(m_window, MsgKind::Question,
                     QStringLiteral("Внимание!\r\nПрограмма обнаружила подключение сканера на COM порт ККТ!\r\n"
                                    "Одновременная работа устройств невозможна!\r\n"
                                    "Вы хотите работать только со сканером?")))
        return false;
    StartScan();
    return true;
}
