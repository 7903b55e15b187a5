#pragma once
#include "scanner/scancfg.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class TFrame_Pavo;
class TfrmDebugScan;

// "Настройки сканера штрих-кода": the scanner model and its page; "Применить" writes "Scan.cfg".
// Every dialog starts from the file's contents.
class TFormScannerSetting : public QDialog {
    Q_OBJECT
public:
    TFormScannerSetting(const QString& scanCfgPath, TfrmDebugScan* debugScan, QWidget* parent = nullptr);

    TScanCfg ScanCfg;

    QComboBox* ComboBox1 = nullptr;  // model
    QFrame* Panel1 = nullptr;        // holds the page of the chosen model
    TFrame_Pavo* Pavo_RS232 = nullptr;
    QWidget* CurrentVisibleFrame = nullptr;
    QCheckBox* chkDebugScan = nullptr;
    QPushButton* Button1 = nullptr;  // "Отмена"
    QPushButton* Button2 = nullptr;  // "Применить"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void CreateModelFrames();
    void ShowModelFrame(QWidget* frame);
    void ComboBox1Change();
    void Button2Click();
    void chkDebugScanClick(bool checked);

    QString m_path;
    TfrmDebugScan* m_debugScan;
};
