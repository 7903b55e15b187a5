#include "link/ui/loglines.h"

#include <algorithm>

CharAdvances::CharAdvances(const QFont& font) : m_metrics(font)
{
    // Only the characters of the font itself: asking for others looks through fallback fonts.
    for (size_t c = 0; c < m_table.size(); ++c)
        m_table[c] = Tabled(static_cast<char16_t>(c)) ? m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(c))) : -1;
}

qreal CharAdvances::width(const QString& text, int from, int to) const
{
    qreal w = 0;
    for (int i = from; i < to; ++i)
        w += of(text[i]);
    return w;
}

// Breaks after a run of blanks, so a dump item "NNN-HHH;  " never splits; blanks may hang past
// the edge. A word wider than the whole row is broken between characters.
template <class OnRow>
int LogLines::wrap(const QString& text, OnRow onRow) const
{
    const QChar* s = text.constData();
    const int n = static_cast<int>(text.size());
    int rows = 1;
    int rowStart = 0;
    int wordStart = -1;  // the last place in this row where a word follows blanks
    qreal x = 0;
    qreal xAtWord = 0;
    for (int i = 0; i < n; ++i) {
        const qreal w = m_adv.of(s[i]);
        if (s[i] == QLatin1Char(' ')) {
            x += w;
            continue;
        }
        if (i > rowStart && s[i - 1] == QLatin1Char(' ')) {
            wordStart = i;
            xAtWord = x;
        }
        if (x + w > m_width && i > rowStart) {
            if (wordStart > rowStart) {
                rowStart = wordStart;
                x -= xAtWord;
            }
            if (x + w > m_width && i > rowStart) {
                rowStart = i;
                x = 0;
            }
            wordStart = -1;
            onRow(rowStart);
            ++rows;
        }
        x += w;
    }
    return rows;
}

void LogLines::pushLine(QString text, QRgb colour)
{
    const int rows = wrap(text, [](int) {});
    m_rowEnd.push_back(rowCount() + rows);
    m_lines.push_back({std::move(text), colour});
}

void LogLines::append(const QString& text, QRgb colour)
{
    int start = 0;
    const int n = static_cast<int>(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        pushLine(text.mid(start, i - start), colour);
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    pushLine(text.mid(start), colour);
}

void LogLines::clear()
{
    m_lines.clear();
    m_rowEnd.clear();
}

void LogLines::setWidth(qreal width)
{
    if (width == m_width)
        return;
    m_width = width;
    int total = 0;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        total += wrap(m_lines[i].text, [](int) {});
        m_rowEnd[i] = total;
    }
}

int LogLines::lineAtRow(int row) const
{
    const auto it = std::upper_bound(m_rowEnd.begin(), m_rowEnd.end(), row);
    return static_cast<int>(std::min(it - m_rowEnd.begin(), static_cast<std::ptrdiff_t>(m_rowEnd.size()) - 1));
}

std::vector<int> LogLines::rowStarts(int line) const
{
    std::vector<int> starts{0};
    wrap(m_lines[static_cast<size_t>(line)].text, [&](int start) { starts.push_back(start); });
    return starts;
}
