#pragma once
#include <QWidget>

// A configuration barcode for the user to scan, with its caption below the bars. The bars are a
// Code-128-like pattern drawn from the payload text: start guard, six bar/space widths per
// character, stop guard.
class TConfigBarcode : public QWidget {
    Q_OBJECT
public:
    TConfigBarcode(const QString& payload, const QString& caption, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<int> m_widths;  // alternating bar and space widths in modules, bar first
    QString m_caption;
};
