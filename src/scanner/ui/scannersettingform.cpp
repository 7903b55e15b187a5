#include "scanner/ui/scannersettingform.h"

#include "app/ui/messages.h"
#include "scanner/ui/pavoframe.h"
#include "scanner/ui/udebugscan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFormScannerSetting::TFormScannerSetting(const QString& scanCfgPath, TfrmDebugScan* debugScan, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_path(scanCfgPath),
      m_debugScan(debugScan)
{
    setWindowTitle(QStringLiteral("Настройки сканера штрих-кода"));
    ComboBox1 = new QComboBox(this);
    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setMinimumSize(380, 250);
    chkDebugScan = new QCheckBox(QStringLiteral("Отладка сканера"), this);
    Button2 = new QPushButton(QStringLiteral("Применить"), this);
    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Модель:"), this));
    top->addWidget(ComboBox1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkDebugScan);
    bottom->addStretch(1);
    bottom->addWidget(Button2);
    bottom->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Panel1, 1);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A file that cannot be read leaves the settings empty; "Применить" reports a failure to write.
    LoadScanCfg(m_path, ScanCfg);
    CreateModelFrames();

    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(Pavo_RS232, &TFrame_Pavo::ComPortChosen, this, [this](const QString& p) { ScanCfg.ComPort = p; });
    connect(Pavo_RS232, &TFrame_Pavo::SpeedChosen, this, [this](const QString& s) { ScanCfg.SpeedPort = s; });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(chkDebugScan, &QCheckBox::clicked, this, [this](bool on) { chkDebugScanClick(on); });
}

void TFormScannerSetting::CreateModelFrames()
{
    Pavo_RS232 = new TFrame_Pavo(Panel1);
    auto* layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Pavo_RS232);
    Pavo_RS232->hide();
    Pavo_RS232->Init();
}

void TFormScannerSetting::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormScannerSetting::FormShow()
{
    ComboBox1->clear();
    ComboBox1->addItems(ScanModelItems());
    const int model = ComboBox1->findText(ScanCfg.ModelName);
    ComboBox1->setCurrentIndex(ScanCfg.ModelName.isEmpty() || model < 0 ? 0 : model);
    ComboBox1Change();
    chkDebugScan->setChecked(m_debugScan && m_debugScan->isVisible());
}

void TFormScannerSetting::ShowModelFrame(QWidget* frame)
{
    if (CurrentVisibleFrame && CurrentVisibleFrame != frame)
        CurrentVisibleFrame->hide();
    CurrentVisibleFrame = frame;
    if (frame)
        frame->show();
}

void TFormScannerSetting::ComboBox1Change()
{
    if (ComboBox1->currentText() != kScanModelPavo) {
        ShowModelFrame(nullptr);
        ScanCfg = {};
        return;
    }
    ScanCfg.ModelName = kScanModelPavo;
    ShowModelFrame(Pavo_RS232);
    Pavo_RS232->SetConfig(ScanCfg.ComPort, ScanCfg.SpeedPort);
    // Back from "no scanner" the stored values are empty while the lists still show the earlier
    // choice: what is shown is what "Применить" saves.
    if (ScanCfg.ComPort.isEmpty())
        ScanCfg.ComPort = Pavo_RS232->cbbPort->currentText();
    if (ScanCfg.SpeedPort.isEmpty())
        ScanCfg.SpeedPort = Pavo_RS232->cbbSpeed->currentText();
}

void TFormScannerSetting::Button2Click()
{
    QString error;
    if (!SaveScanCfg(m_path, ScanCfg, &error)) {
        ShowMessage(this, MsgKind::Error,
                    QStringLiteral("Внимание!\r\nНе удалось записать файл настроек сканера - Scan.cfg!\r\n") + error);
        return;  // the dialog stays open with the choice intact
    }
    accept();
}

void TFormScannerSetting::chkDebugScanClick(bool checked)
{
    if (!m_debugScan)
        return;
    if (checked) {
        m_debugScan->show();
        m_debugScan->raise();
    } else {
        m_debugScan->close();
    }
}
