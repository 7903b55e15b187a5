#include "scanner/ui/udebugscan.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TfrmDebugScan::TfrmDebugScan(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Отладка сканера"));
    Memo = new QPlainTextEdit(this);
    Memo->setReadOnly(true);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
    resize(420, 480);
}

void TfrmDebugScan::LogScan(const QString& str)
{
    Memo->appendPlainText(str);
}
