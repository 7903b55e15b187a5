#include "scanner/ui/pavoframe.h"

#include "link/portnames.h"
#include "scanner/scancfg.h"
#include "scanner/ui/configbarcode.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFrame_Pavo::TFrame_Pavo(QWidget* parent) : QFrame(parent)
{
    cbbPort = new QComboBox(this);
    cbbSpeed = new QComboBox(this);
    cbbPort->setMinimumWidth(150);
    cbbSpeed->setMinimumWidth(150);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("COM порт:"), this), 0, 0);
    grid->addWidget(cbbPort, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Скорость:"), this), 1, 0);
    grid->addWidget(cbbSpeed, 1, 1);
    // The line format is fixed by the reader; shown greyed for setting up the scanner to match.
    const std::pair<const char*, const char*> format[] = {
        {"Данные:", "8 бит"}, {"Стоп:", "1 стоп бит"}, {"Четность:", "Нет"}};
    int row = 2;
    for (const auto& [name, value] : format) {
        auto* caption = new QLabel(QString::fromUtf8(name), this);
        auto* shown = new QLabel(QString::fromUtf8(value), this);
        caption->setEnabled(false);
        shown->setEnabled(false);
        grid->addWidget(caption, row, 0);
        grid->addWidget(shown, row, 1);
        ++row;
    }
    grid->setColumnStretch(2, 1);

    auto* codes = new QHBoxLayout;
    codes->addWidget(new TConfigBarcode(QStringLiteral("SUFFIX=0D"), QStringLiteral("CR"), this));
    codes->addSpacing(16);
    codes->addWidget(new TConfigBarcode(QStringLiteral("FACTORY RESET"), QStringLiteral("Default"), this));
    codes->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(codes);
    layout->addStretch(1);

    connect(cbbPort, &QComboBox::activated, this, [this](int i) { Q_EMIT ComPortChosen(cbbPort->itemText(i)); });
    connect(cbbSpeed, &QComboBox::activated, this, [this](int i) { Q_EMIT SpeedChosen(cbbSpeed->itemText(i)); });
}

void TFrame_Pavo::Init()
{
    cbbPort->clear();
    cbbPort->addItems(GetCOM_Loop());
    cbbPort->setCurrentIndex(-1);
    cbbSpeed->clear();
    cbbSpeed->addItems(ScanSpeeds());
    cbbSpeed->setCurrentIndex(-1);
}

void TFrame_Pavo::SetConfig(const QString& com, const QString& speed)
{
    const int port = cbbPort->findText(com);
    if (port >= 0)
        cbbPort->setCurrentIndex(port);
    const int rate = cbbSpeed->findText(speed);
    if (rate >= 0)
        cbbSpeed->setCurrentIndex(rate);
}
