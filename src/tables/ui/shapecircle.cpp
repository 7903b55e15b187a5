#include "tables/ui/shapecircle.h"

#include <QPainter>

TShapeCircle::TShapeCircle(QWidget* parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
}

void TShapeCircle::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void TShapeCircle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(m_color);
    p.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
}
