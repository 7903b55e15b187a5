#include "link/ui/kktlogview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
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

}  // namespace

KktLogView::KktLogView(QWidget* parent) : QAbstractScrollArea(parent), m_lines(LogFont())
{
    setFont(LogFont());
    const QFontMetrics fm(font());
    m_rowHeight = fm.lineSpacing();
    m_ascent = fm.ascent();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
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
    m_lines.append(text, colour);
    updateScrollRange();
}

void KktLogView::clear()
{
    m_lines.clear();
    m_anchor = m_cursor = Pos{};
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

QPoint KktLogView::pointOf(const Pos& pos) const
{
    const std::vector<int> starts = m_lines.rowStarts(pos.line);
    const size_t r = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), pos.col) - starts.begin() - 1);
    const int row = m_lines.firstRow(pos.line) + static_cast<int>(r);
    const qreal x = kMargin + m_lines.advances().width(m_lines.line(pos.line).text, starts[r], pos.col);
    return QPoint(qRound(x), (row - topRow()) * m_rowHeight);
}

void KktLogView::paintEvent(QPaintEvent*)
{
    syncWidth();
    QPainter painter(viewport());
    const int total = m_lines.rowCount();
    const int first = topRow();
    const int last = std::min(total, first + visibleRows() + 1);  // a part row shows at the bottom
    const auto [selFrom, selTo] = orderedSelection();
    const bool selecting = selFrom != selTo;
    const CharAdvances& adv = m_lines.advances();
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightedText = palette().color(QPalette::HighlightedText);

    int row = first;
    while (row < last) {
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
        for (size_t r = static_cast<size_t>(row - m_lines.firstRow(line)); r < starts.size() && row < last; ++r, ++row) {
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
                painter.drawText(QPointF(kMargin, baseline), entry.text.mid(from, a - from));
            if (b < to)
                painter.drawText(QPointF(xb, baseline), entry.text.mid(b, to - b));
            if (b > a) {
                painter.setPen(highlightedText);
                painter.drawText(QPointF(xa, baseline), entry.text.mid(a, b - a));
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
