#include "link/ui/udebugkkt.h"

#include "link/framedump.h"
#include "link/ui/kktlogview.h"

#include <QPushButton>

namespace {

constexpr QRgb kRequestColour = qRgb(255, 0, 0);
constexpr QRgb kAnswerColour = qRgb(0, 128, 0);
constexpr int kClientWidth = 482;
constexpr int kClientHeight = 405;

}  // namespace

TfrmDebugKKM::TfrmDebugKKM(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Отладка ККМ"));
    setFixedSize(kClientWidth, kClientHeight);

    RichEdit = new KktLogView(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setGeometry(0, 0, kClientWidth, kClientHeight);

    // Over the log, as it always was: the last row of an exchange is the blank one after the answer.
    btnClear = new QPushButton(QStringLiteral("Очистить"), this);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    const QSize button(75, 25);
    btnClear->setGeometry((kClientWidth - button.width()) / 2, kClientHeight - button.height() - 6, button.width(),
                          button.height());
    btnClear->raise();
    connect(btnClear, &QPushButton::clicked, this, &TfrmDebugKKM::btnClearClick);
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
