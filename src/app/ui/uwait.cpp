#include "app/ui/uwait.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int kWidth = 387;
constexpr int kHeight = 77;
constexpr int kLabelWidth = 339;
constexpr int kLabelHeight = 49;
constexpr int kAbortRow = 40;  // room for "Прервать" below the message
const QColor kBackground(234, 247, 255);

TfrmWait* g_instance = nullptr;
bool g_ownInstance = false;  // made by WaitWindow(), freed with the application

void deleteOwnInstance()
{
    if (g_ownInstance)
        delete g_instance;
}

}  // namespace

TfrmWait::TfrmWait(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Окно ожидания"));

    pnl1 = new QFrame(this);
    pnl1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnl1->setLineWidth(1);
    QPalette pal = pnl1->palette();
    pal.setColor(QPalette::Window, kBackground);
    pnl1->setPalette(pal);
    pnl1->setAutoFillBackground(true);

    lbl1 = new QLabel(QStringLiteral("Идет очистка базы в ККМ... Подождите"), pnl1);
    lbl1->setGeometry((kWidth - kLabelWidth) / 2, (kHeight - kLabelHeight) / 2, kLabelWidth, kLabelHeight);
    lbl1->setAlignment(Qt::AlignCenter);
    lbl1->setWordWrap(true);
    QFont font;
    font.setFamilies({QStringLiteral("Cambria"), QStringLiteral("DejaVu Serif")});
    font.setPixelSize(16);
    font.setBold(true);
    lbl1->setFont(font);

    btnAbort = new QPushButton(QStringLiteral("Прервать"), pnl1);
    btnAbort->setGeometry((kWidth - 110) / 2, kHeight, 110, 28);
    btnAbort->hide();
    connect(btnAbort, &QPushButton::clicked, this, [this] { m_abort = true; });

    setFixedSize(kWidth, kHeight);
    pnl1->setGeometry(rect());

    // The program's own wait window takes over from one that was made on demand before it.
    if (g_ownInstance && g_instance && !g_instance->isVisible()) {
        delete g_instance;  // clears g_instance and g_ownInstance
    }
    if (!g_instance)
        g_instance = this;
}

TfrmWait::~TfrmWait()
{
    if (m_cursorSet)
        QApplication::restoreOverrideCursor();
    if (g_instance == this) {
        g_instance = nullptr;
        g_ownInstance = false;
    }
}

void TfrmWait::ShowWait(const QString& text, bool abortable)
{
    m_abort = false;
    lbl1->setText(text);
    btnAbort->setVisible(abortable);
    // A message of more lines than the label holds makes the window taller rather than being cut.
    const int extra = std::max(0, lbl1->heightForWidth(kLabelWidth) - kLabelHeight);
    lbl1->setGeometry((kWidth - kLabelWidth) / 2, (kHeight - kLabelHeight) / 2, kLabelWidth, kLabelHeight + extra);
    btnAbort->move(btnAbort->x(), kHeight + extra + (kAbortRow - btnAbort->height()) / 2 - 4);
    setFixedSize(kWidth, kHeight + extra + (abortable ? kAbortRow : 0));
    pnl1->setGeometry(rect());
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());

    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
    show();
    raise();
    if (abortable)
        activateWindow();  // so that Esc reaches the window
    // The caller keeps the UI thread busy next: let the window appear and paint it now.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TfrmWait::HideWait()
{
    hide();
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
}

void TfrmWait::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && btnAbort->isVisible()) {
        m_abort = true;
        return;
    }
    QWidget::keyPressEvent(event);
}

TfrmWait* WaitWindow()
{
    if (!g_instance) {
        new TfrmWait;  // registers itself
        g_ownInstance = true;
        qAddPostRoutine(deleteOwnInstance);
    }
    return g_instance;
}

void ShowWait(const QString& text, bool abortable)
{
    WaitWindow()->ShowWait(text, abortable);
}

void HideWait()
{
    WaitWindow()->HideWait();
}

bool WaitAborted()
{
    return WaitWindow()->abortRequested();
}
