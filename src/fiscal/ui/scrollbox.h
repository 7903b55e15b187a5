#pragma once
#include <QScrollArea>

// The registration window's vertically scrolled area: one wheel event moves it by 20 pixels.
class TScrollBox : public QScrollArea {
    Q_OBJECT
public:
    using QScrollArea::QScrollArea;
    static constexpr int kWheelStep = 20;

protected:
    void wheelEvent(QWheelEvent* event) override;
};
