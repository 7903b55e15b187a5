#include "fiscal/ui/scrollbox.h"

#include <QScrollBar>
#include <QWheelEvent>

// ScrollBoxMouseWheelDown / ScrollBoxMouseWheelUp.
void TScrollBox::wheelEvent(QWheelEvent* event)
{
    const int dy = event->angleDelta().y();
    if (dy == 0) {
        QScrollArea::wheelEvent(event);
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (dy < 0 ? kWheelStep : -kWheelStep));
    event->accept();
}
