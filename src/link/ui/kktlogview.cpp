#include "link/ui/kktlogview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGlyphRun>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <climits>

namespace {

constexpr int kMargin = 3;  // blank pixels left and right of the text

QFont LogFont()
{
    // Monospaced so that the dump items line up; kerning off so that painted text is exactly
    // as wide as the sums of advances the wrapping and the mouse use.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(9);
    font.setKerning(false);
    return font;
}

// Every append moves the scroll bar by a few rows, which in a long log moves the slider by less than
// a pixel; painting the bar anyway (with tall fills the raster engine farms out to threads) cost as
// much as painting the text. This bar repaints only when what it shows has changed, judged after
// the view's changes of range and value together (held), not in between.
class LogScrollBar : public QScrollBar {
public:
    LogScrollBar() : QScrollBar(Qt::Vertical) {}

    void hold() { ++m_held; }
    void release()
    {
        if (--m_held == 0 && shown() != m_painted)
            update();
    }

protected:
    void sliderChange(SliderChange change) override
    {
        if (m_held == 0 && shown() != m_painted)
            QScrollBar::sliderChange(change);
    }
    void paintEvent(QPaintEvent* event) override
    {
        m_painted = shown();
        QScrollBar::paintEvent(event);
    }

private:
    struct Shown {
        QRect slider;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Shown&) const = default;
    };
    Shown shown() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                value() == minimum(), value() == maximum()};
    }
    int m_held = 0;
    Shown m_painted;
};

// Holds the bar for the length of a scope.
class ScrollBarHold {
public:
    explicit ScrollBarHold(QScrollBar* bar) : m_bar(static_cast<LogScrollBar*>(bar)) { m_bar->hold(); }
    ~ScrollBarHold() { m_bar->release(); }
    ScrollBarHold(const ScrollBarHold&) = delete;
    ScrollBarHold& operator=(const ScrollBarHold&) = delete;

private:
    LogScrollBar* m_bar;
};

}  // namespace

KktLogView::KktLogView(QWidget* parent) : QAbstractScrollArea(parent), m_lines(LogFont())
{
    setFont(LogFont());
    const QFontMetrics fm(font());
    m_rowHeight = fm.lineSpacing();
    m_rawFont = QRawFont::fromFont(font());
    for (size_t c = 0; c < m_glyphs.size(); ++c) {
        const QChar ch(static_cast<char16_t>(c));
        quint32 glyph = 0;
        int count = 1;
        // 0 sends a span to plain drawing, which finds fallback fonts.
        if (CharAdvances::Tabled(ch.unicode()) && m_rawFont.glyphIndexesForChars(&ch, 1, &glyph, &count))
            m_glyphs[c] = glyph;
    }
    m_ascent = fm.ascent();
    setVerticalScrollBar(new LogScrollBar);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    // paintEvent covers every pixel itself, row by row (see there).
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);

    m_menu = new QMenu(this);
    // Shortcut texts only: the keys themselves are handled by keyPressEvent, for this view alone.
    QAction* copyAction = m_menu->addAction(QStringLiteral("Копировать\tCtrl+C"));
    copyAction->setObjectName(QStringLiteral("actCopy"));
    connect(copyAction, &QAction::triggered, this, &KktLogView::copy);
    QAction* selectAllAction = m_menu->addAction(QStringLiteral("Выделить всё\tCtrl+A"));
    selectAllAction->setObjectName(QStringLiteral("actSelectAll"));
    connect(selectAllAction, &QAction::triggered, this, &KktLogView::selectAll);
}

qreal KktLogView::wrapWidth() const
{
    // A hidden view has not laid out its viewport yet; its width will be the inner width less the
    // scroll bar, which is always on.
    const int w = isVisible() ? viewport()->width()
                              : contentsRect().width() - verticalScrollBar()->sizeHint().width();
    return std::max(1, w - 2 * kMargin);
}

void KktLogView::syncWidth()
{
    const qreal w = wrapWidth();
    if (w == m_lines.width())
        return;
    QScrollBar* bar = verticalScrollBar();
    const ScrollBarHold hold(bar);
    const bool atEnd = bar->value() == bar->maximum();
    const int topLine = m_lines.rowCount() > 0 ? m_lines.lineAtRow(topRow()) : 0;
    m_lines.setWidth(w);
    updateScrollRange();
    if (atEnd)
        scrollToEnd();
    else if (m_lines.lineCount() > 0)
        bar->setValue(m_lines.firstRow(topLine));
}

void KktLogView::updateScrollRange()
{
    QScrollBar* bar = verticalScrollBar();
    const int page = visibleRows();
    bar->setPageStep(std::max(1, page));
    bar->setRange(0, std::max(0, m_lines.rowCount() - page));
}

int KktLogView::topRow() const
{
    return verticalScrollBar()->value();
}

int KktLogView::visibleRows() const
{
    return std::max(1, viewport()->height() / m_rowHeight);
}

void KktLogView::appendText(const QString& text, QRgb colour)
{
    syncWidth();
    // A view that showed the end keeps showing it.
    QScrollBar* bar = verticalScrollBar();
    const ScrollBarHold hold(bar);
    const bool atEnd = bar->value() == bar->maximum();
    m_lines.append(text, colour);
    updateScrollRange();
    if (atEnd)
        scrollToEnd();
}

void KktLogView::clear()
{
    m_lines.clear();
    m_anchor = m_cursor = Pos{};
    const ScrollBarHold hold(verticalScrollBar());
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void KktLogView::scrollToEnd()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QString KktLogView::toPlainText() const
{
    QString out;
    for (int i = 0; i < m_lines.lineCount(); ++i) {
        if (i > 0)
            out += QLatin1Char('\n');
        out += m_lines.line(i).text;
    }
    return out;
}

std::pair<KktLogView::Pos, KktLogView::Pos> KktLogView::orderedSelection() const
{
    return m_anchor < m_cursor ? std::pair{m_anchor, m_cursor} : std::pair{m_cursor, m_anchor};
}

QString KktLogView::selectedText() const
{
    const auto [from, to] = orderedSelection();
    if (from == to)
        return {};
    if (from.line == to.line)
        return m_lines.line(from.line).text.mid(from.col, to.col - from.col);
    QString out = m_lines.line(from.line).text.mid(from.col);
    for (int i = from.line + 1; i < to.line; ++i)
        out += QLatin1Char('\n') + m_lines.line(i).text;
    out += QLatin1Char('\n') + m_lines.line(to.line).text.left(to.col);
    return out;
}

void KktLogView::selectAll()
{
    if (m_lines.lineCount() == 0)
        return;
    const int last = m_lines.lineCount() - 1;
    m_anchor = Pos{};
    m_cursor = Pos{last, static_cast<int>(m_lines.line(last).text.size())};
    viewport()->update();
}

void KktLogView::copy() const
{
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

KktLogView::Pos KktLogView::hitTest(const QPoint& p) const
{
    if (m_lines.lineCount() == 0)
        return {};
    // Floor division: a point above the viewport belongs to the row above the top one.
    const int rowOffset = p.y() >= 0 ? p.y() / m_rowHeight : (p.y() - m_rowHeight + 1) / m_rowHeight;
    const int row = topRow() + rowOffset;
    if (row < 0)
        return {};
    if (row >= m_lines.rowCount()) {
        const int last = m_lines.lineCount() - 1;
        return {last, static_cast<int>(m_lines.line(last).text.size())};
    }
    const int line = m_lines.lineAtRow(row);
    const std::vector<int> starts = m_lines.rowStarts(line);
    const size_t r = static_cast<size_t>(row - m_lines.firstRow(line));
    const QString& text = m_lines.line(line).text;
    const int from = starts[r];
    const int to = r + 1 < starts.size() ? starts[r + 1] : static_cast<int>(text.size());
    const CharAdvances& adv = m_lines.advances();
    qreal x = kMargin;
    for (int col = from; col < to; ++col) {
        const qreal w = adv.of(text[col]);
        if (p.x() < x + w / 2)
            return {line, col};
        x += w;
    }
    return {line, to};
}

QPoint KktLogView::pointOf(const Pos& place) const
{
    const Pos pos{place.line, std::clamp(place.col, 0, static_cast<int>(m_lines.line(place.line).text.size()))};
    const std::vector<int> starts = m_lines.rowStarts(pos.line);
    const size_t r = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), pos.col) - starts.begin() - 1);
    const int row = m_lines.firstRow(pos.line) + static_cast<int>(r);
    const qreal x = kMargin + m_lines.advances().width(m_lines.line(pos.line).text, starts[r], pos.col);
    return QPoint(qRound(x), (row - topRow()) * m_rowHeight);
}

void KktLogView::drawSpan(QPainter& painter, const QString& text, int from, int to, QPointF origin) const
{
    // Glyphs placed at the advances the wrapping and the mouse use, without shaping each row anew
    // (shaping was most of the cost of a repaint). Text the table does not cover is drawn plainly.
    // Blanks are left out: a fifth of a dump is blanks, and they paint nothing.
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(to - from);
    positions.reserve(to - from);
    const CharAdvances& adv = m_lines.advances();
    qreal x = 0;
    for (int i = from; i < to; ++i) {
        const char16_t c = text[i].unicode();
        const quint32 glyph = c < m_glyphs.size() ? m_glyphs[c] : 0;
        if (glyph == 0) {
            painter.drawText(origin, text.mid(from, to - from));
            return;
        }
        if (c != u' ') {
            glyphs.push_back(glyph);
            positions.push_back(QPointF(x, 0));
        }
        x += adv.of(text[i]);
    }
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(origin, run);
}

void KktLogView::paintEvent(QPaintEvent* event)
{
    syncWidth();
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const int width = viewport()->width();
    const int first = topRow();
    const int begin = first + std::max(0, dirty.top()) / m_rowHeight;
    const int end = std::min(m_lines.rowCount(), first + dirty.bottom() / m_rowHeight + 1);
    const auto [selFrom, selTo] = orderedSelection();
    const bool selecting = selFrom != selTo;
    const CharAdvances& adv = m_lines.advances();
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightedText = palette().color(QPalette::HighlightedText);
    const QColor base = palette().color(QPalette::Base);
    // The background goes in strips a row high: the raster engine hands a fill taller than about a
    // hundred scan lines to its thread pool, and waking that costs more than the fill itself.
    for (int y = std::max(begin - first, 0) * m_rowHeight; y <= dirty.bottom(); y += m_rowHeight)
        painter.fillRect(0, y, width, m_rowHeight, base);

    int row = begin;
    while (row < end) {
        const int line = m_lines.lineAtRow(row);
        const LogLines::Line& entry = m_lines.line(line);
        const std::vector<int> starts = m_lines.rowStarts(line);
        const int textEnd = static_cast<int>(entry.text.size());
        // The part of this line inside the selection; INT_MAX takes in its line break.
        int lineSelFrom = INT_MAX;
        int lineSelTo = INT_MAX;
        if (selecting && line >= selFrom.line && line <= selTo.line) {
            lineSelFrom = line == selFrom.line ? selFrom.col : 0;
            lineSelTo = line == selTo.line ? selTo.col : INT_MAX;
        }
        for (size_t r = static_cast<size_t>(row - m_lines.firstRow(line)); r < starts.size() && row < end; ++r, ++row) {
            const int y = (row - first) * m_rowHeight;
            const int from = starts[r];
            const int to = r + 1 < starts.size() ? starts[r + 1] : textEnd;
            const int a = std::clamp(lineSelFrom, from, to);
            const int b = std::clamp(lineSelTo, from, to);
            const qreal xa = kMargin + adv.width(entry.text, from, a);
            const qreal xb = xa + adv.width(entry.text, a, b);
            const bool breakSelected = to == textEnd && lineSelTo == INT_MAX && lineSelFrom <= textEnd;
            if (b > a || breakSelected) {
                const qreal extra = breakSelected ? adv.of(QLatin1Char(' ')) : 0;
                painter.fillRect(QRectF(xa, y, xb - xa + extra, m_rowHeight), highlight);
            }
            const int baseline = y + m_ascent;
            painter.setPen(QColor::fromRgb(entry.colour));
            if (a > from)
                drawSpan(painter, entry.text, from, a, QPointF(kMargin, baseline));
            if (b < to)
                drawSpan(painter, entry.text, b, to, QPointF(xb, baseline));
            if (b > a) {
                painter.setPen(highlightedText);
                drawSpan(painter, entry.text, a, b, QPointF(xa, baseline));
            }
        }
    }
}

void KktLogView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    syncWidth();
    updateScrollRange();
}

void KktLogView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const Pos pos = hitTest(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = pos;
    m_cursor = pos;
    viewport()->update();
}

void KktLogView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    // Dragging past the top or bottom edge scrolls a row per move.
    const QPoint p = event->position().toPoint();
    if (p.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (p.y() >= viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    m_cursor = hitTest(p);
    viewport()->update();
}

bool KktLogView::event(QEvent* event)
{
    // The main window's Ctrl+A shows this log; inside the log Ctrl+A and Ctrl+C are the log's own.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void KktLogView::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->key() == Qt::Key_Home)
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
    else if (event->key() == Qt::Key_End)
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
    else
        return QAbstractScrollArea::keyPressEvent(event);  // arrows and pages
}

void KktLogView::contextMenuEvent(QContextMenuEvent* event)
{
    m_menu->actions().at(0)->setEnabled(hasSelection());
    m_menu->actions().at(1)->setEnabled(m_lines.lineCount() > 0);
    m_menu->exec(event->globalPos());
}
