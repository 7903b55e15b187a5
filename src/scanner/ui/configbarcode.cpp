#include "scanner/ui/configbarcode.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kQuietModules = 10;

// Six widths of 1 to 4 modules adding up to 11, as in a Code 128 symbol character.
QList<int> characterWidths(uint8_t c)
{
    QList<int> w = {1, 1, 1, 1, 1, 1};
    int spare = 5;
    for (int i = 0; spare > 0; i = (i + 1) % 6) {
        const int add = std::min({spare, 3 - (w[i] - 1), ((c >> (i % 4)) & 1) + 1});
        w[i] += add;
        spare -= add;
        c = static_cast<uint8_t>((c >> 1) | (c << 7));
    }
    return w;
}

}  // namespace

TConfigBarcode::TConfigBarcode(const QString& payload, const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption)
{
    m_widths = {2, 1, 1, 2, 3, 2};  // start guard
    int checksum = 0;
    const QByteArray bytes = payload.toLatin1();
    for (int i = 0; i < bytes.size(); ++i) {
        m_widths += characterWidths(static_cast<uint8_t>(bytes[i]));
        checksum += (i + 1) * static_cast<uint8_t>(bytes[i]);
    }
    m_widths += characterWidths(static_cast<uint8_t>(checksum % 103));
    m_widths += {2, 3, 3, 1, 1, 1, 2};  // stop guard
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TConfigBarcode::sizeHint() const
{
    int modules = 2 * kQuietModules;
    for (int w : m_widths)
        modules += w;
    return {std::max(modules, 60), 64};
}

void TConfigBarcode::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int captionHeight = fontMetrics().height() + 2;
    const int barHeight = height() - captionHeight - 4;
    int modules = 0;
    for (int w : m_widths)
        modules += w;
    int x = (width() - modules) / 2;
    for (int i = 0; i < m_widths.size(); ++i) {
        if (i % 2 == 0)
            p.fillRect(x, 2, m_widths[i], barHeight, Qt::black);
        x += m_widths[i];
    }
    p.setPen(Qt::black);
    p.drawText(QRect(0, height() - captionHeight, width(), captionHeight), Qt::AlignCenter, m_caption);
}
