#pragma once
#include "link/ui/loglines.h"

#include <QAbstractScrollArea>
#include <QRawFont>
#include <array>

class QMenu;
class QPainter;

// A read-only coloured log that stays fast however long it grows: it keeps its lines in LogLines
// and lays out and paints only the rows on screen. Rows scroll one at a time; the mouse selects
// text to the character (drag, Shift+click), Ctrl+A selects all, Ctrl+C and the context menu copy.
class KktLogView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit KktLogView(QWidget* parent = nullptr);

    // A place in the text: a line and a character offset in it.
    struct Pos {
        int line = 0;
        int col = 0;
        auto operator<=>(const Pos&) const = default;
    };

    void appendText(const QString& text, QRgb colour);
    void clear();
    void scrollToEnd();

    QString toPlainText() const;
    QString selectedText() const;
    void selectAll();
    void copy() const;

    const LogLines& lines() const { return m_lines; }
    int rowHeight() const { return m_rowHeight; }
    int topRow() const;
    int visibleRows() const;
    // The place under a point of the viewport, clamped to the text.
    Pos hitTest(const QPoint& p) const;
    // Where a place is drawn (top-left corner of its character cell, viewport coordinates);
    // only meaningful while its row is on screen.
    QPoint pointOf(const Pos& place) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void updateScrollRange();
    qreal wrapWidth() const;
    // Re-wraps when the text width changed; keeps the view at the end if it was there.
    void syncWidth();
    std::pair<Pos, Pos> orderedSelection() const;
    bool hasSelection() const { return m_anchor != m_cursor; }
    void drawSpan(QPainter& painter, const QString& text, int from, int to, QPointF origin) const;

    LogLines m_lines;
    int m_rowHeight;
    int m_ascent;
    QRawFont m_rawFont;
    std::array<quint32, 0x460> m_glyphs{};  // glyph of each tabled character, 0 for others
    Pos m_anchor;
    Pos m_cursor;
    QMenu* m_menu;
};
