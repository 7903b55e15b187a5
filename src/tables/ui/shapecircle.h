#pragma once
#include <QColor>
#include <QWidget>

// A small filled circle: the scanner indicator of the goods tab.
class TShapeCircle : public QWidget {
    Q_OBJECT
public:
    explicit TShapeCircle(QWidget* parent = nullptr);
    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor m_color = Qt::white;
};
