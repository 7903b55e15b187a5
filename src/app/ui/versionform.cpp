#include "app/ui/versionform.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kWidth = 304;
constexpr int kHeight = 158;
constexpr int kFrame = 3;  // the navy frame around the white panel
const QColor kNavy(0, 0, 128);

QFrame* whitePanel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
    return panel;
}

}  // namespace

QPixmap DrawKktPicture()
{
    QPixmap pix(161, 89);
    pix.fill(Qt::white);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);

    // Receipt coming out of the printer at the back.
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(QColor(252, 252, 245));
    p.drawRect(QRectF(98.5, 4.5, 30, 34));
    p.setPen(QPen(QColor(170, 170, 170), 1));
    for (int y = 10; y < 36; y += 5)
        p.drawLine(QPointF(102, y + 0.5), QPointF(y % 10 ? 119 : 125, y + 0.5));

    // Customer display on its post.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 74, 82));
    p.drawRect(QRectF(44, 30, 8, 14));
    p.setBrush(QColor(45, 48, 56));
    p.drawRoundedRect(QRectF(18, 8, 60, 26), 4, 4);
    p.setBrush(QColor(20, 60, 40));
    p.drawRoundedRect(QRectF(22, 12, 52, 18), 2, 2);
    QFont digits(QStringLiteral("DejaVu Sans Mono"));
    digits.setPixelSize(13);
    digits.setBold(true);
    p.setFont(digits);
    p.setPen(QColor(90, 240, 140));
    p.drawText(QRectF(22, 12, 50, 18), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("128.50"));

    // Body: a sloped top with the keyboard, the printer block behind it.
    QLinearGradient body(0, 38, 0, 86);
    body.setColorAt(0, QColor(96, 104, 118));
    body.setColorAt(1, QColor(52, 58, 70));
    p.setPen(QPen(QColor(30, 34, 42), 1));
    p.setBrush(QColor(80, 88, 102));
    p.drawRoundedRect(QRectF(92.5, 34.5, 44, 14), 3, 3);
    QPainterPath top;
    top.moveTo(14.5, 70.5);
    top.lineTo(30.5, 42.5);
    top.lineTo(140.5, 42.5);
    top.lineTo(150.5, 70.5);
    top.closeSubpath();
    p.setBrush(body);
    p.drawPath(top);
    // Cash drawer.
    p.setBrush(QColor(40, 45, 55));
    p.drawRoundedRect(QRectF(8.5, 70.5, 146, 16), 2, 2);
    p.setPen(QPen(QColor(120, 128, 140), 1.5));
    p.drawLine(QPointF(70, 79), QPointF(94, 79));

    // Keys: digits in grey, the function column in colour.
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        const double y = 46 + row * 8;
        const double shift = (2 - row) * 2.8;  // the keyboard narrows towards the back
        for (int col = 0; col < 9; ++col) {
            const double x = 36 + col * 11 - shift * (4 - col) / 4.0;
            QColor key = col < 6 ? QColor(225, 228, 234) : QColor(245, 200, 80);
            if (col == 8)
                key = row == 2 ? QColor(90, 200, 110) : QColor(230, 90, 80);
            p.setBrush(key);
            p.drawRoundedRect(QRectF(x, y, 9, 6), 1.5, 1.5);
        }
    }
    // Printer slot.
    p.setBrush(QColor(20, 22, 28));
    p.drawRect(QRectF(97, 38, 36, 3));
    p.end();
    return pix;
}

TFormVersion::TFormVersion(const QString& version, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_version(version)
{
    setFixedSize(kWidth, kHeight);
    // The window's own colour shows around the panel as its frame.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kNavy);
    setPalette(pal);
    setAutoFillBackground(true);

    Panel2 = whitePanel(this);
    Panel2->setGeometry(kFrame, kFrame, kWidth - 2 * kFrame, kHeight - 2 * kFrame);
    Panel2->setFocusPolicy(Qt::StrongFocus);
    const int pw = Panel2->width();

    Image1 = new QLabel(Panel2);
    Image1->setPixmap(DrawKktPicture());
    Image1->setGeometry((pw - 161) / 2, 6, 161, 89);

    lblNameKKM = new QLabel(QStringLiteral("Тавир"), Panel2);
    QFont nameFont = lblNameKKM->font();
    nameFont.setPixelSize(14);
    nameFont.setBold(true);
    lblNameKKM->setFont(nameFont);
    lblNameKKM->setGeometry(0, 96, pw, 18);
    lblNameKKM->setAlignment(Qt::AlignCenter);

    Label1 = new QLabel(QStringLiteral("Версия продукта:"), Panel2);
    Label1->setGeometry(14, 122, 120, 20);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Label2 = new QLabel(QStringLiteral("<Версия>"), Panel2);
    Label2->setTextFormat(Qt::PlainText);
    QFont versionFont = Label2->font();
    versionFont.setPixelSize(16);
    Label2->setFont(versionFont);
    QPalette navyText = Label2->palette();
    navyText.setColor(QPalette::WindowText, kNavy);
    Label2->setPalette(navyText);
    Label2->setGeometry(132, 121, 92, 22);

    Panel3 = whitePanel(Panel2);
    Panel3->setGeometry(pw - 70, 118, 58, 26);
    Panel3->setCursor(Qt::PointingHandCursor);
    Panel3->installEventFilter(this);
    auto* ok = new QLabel(QStringLiteral("OK"), Panel3);
    QFont okFont = ok->font();
    okFont.setBold(true);
    ok->setFont(okFont);
    ok->setPalette(navyText);
    ok->setAlignment(Qt::AlignCenter);
    ok->setGeometry(Panel3->rect());
    ok->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TFormVersion::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(owner->geometry().center() - rect().center());
    FormShow();
}

void TFormVersion::FormShow()
{
    Label2->setText(m_version);
    Panel2->setFocus();
}

void TFormVersion::Panel2Click()
{
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->repaint();
    accept();
}

bool TFormVersion::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel3 && event->type() == QEvent::MouseButtonRelease) {
        Panel2Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
