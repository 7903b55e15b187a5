#include "link/ui/udebugkkt.h"

#include "link/framedump.h"
#include "link/ui/kktlogview.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QRgb kRequestColour = qRgb(255, 0, 0);
constexpr QRgb kAnswerColour = qRgb(0, 128, 0);
constexpr int kClientWidth = 482;
constexpr int kClientHeight = 405;

}  // namespace

TfrmDebugKKM::TfrmDebugKKM(QWidget* parent)
    // A tool window of the main window: above it, yet below the program's modal questions, which a
    // window kept on top of everything would hide.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Отладка ККМ"));
    resize(kClientWidth, kClientHeight);

    RichEdit = new KktLogView(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));

    // Below the log, not over it: the last lines stay readable, and the log follows the window's size.
    btnClear = new QPushButton(QStringLiteral("Очистить"), this);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    connect(btnClear, &QPushButton::clicked, this, &TfrmDebugKKM::btnClearClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(6);
    layout->addWidget(RichEdit, 1);
    layout->addWidget(btnClear, 0, Qt::AlignHCenter);
    // The log is filled while hidden: it must wrap at the width it will be shown with, not re-wrap
    // every entry when it first opens.
    layout->activate();
}

void TfrmDebugKKM::DumpKktFrame(const uint8_t* frame, uint32_t count, bool isAnswer)
{
    const QString entry = FrameDumpEntry(frame, count, isAnswer);
    if (isAnswer)
        AddAnswerLine(entry);
    else
        AddRequestLine(entry);
}

void TfrmDebugKKM::AddRequestLine(const QString& text)
{
    addLine(text, kRequestColour);
}

void TfrmDebugKKM::AddAnswerLine(const QString& text)
{
    addLine(text, kAnswerColour);
}

void TfrmDebugKKM::addLine(const QString& text, QRgb colour)
{
    RichEdit->appendText(QLatin1Char(' ') + text, colour);
    RichEdit->scrollToEnd();
    // The command that logs this still blocks the event loop: paint now, not when it returns.
    RichEdit->viewport()->repaint();
}

void TfrmDebugKKM::btnClearClick()
{
    RichEdit->clear();
}

QString TfrmDebugKKM::plainText() const
{
    return RichEdit->toPlainText();
}
