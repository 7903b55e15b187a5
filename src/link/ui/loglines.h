#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QRgb>
#include <QString>
#include <array>
#include <vector>

// Advance widths of one font, looked up per character: wrapping thousands of long lines must not
// shape text. The log's font is monospaced with kerning off, so these sums are what gets painted.
class CharAdvances {
public:
    explicit CharAdvances(const QFont& font);

    qreal of(QChar c) const
    {
        const char16_t u = c.unicode();
        return u < m_table.size() && m_table[u] >= 0 ? m_table[u] : m_metrics.horizontalAdvance(c);
    }
    // The characters the tables cover: printable ASCII and the Cyrillic block, all a log shows.
    static bool Tabled(char16_t c) { return (c >= 0x20 && c < 0x7F) || (c >= 0x400 && c < 0x460); }
    // Width of text[from, to).
    qreal width(const QString& text, int from, int to) const;

private:
    QFontMetricsF m_metrics;
    std::array<qreal, 0x460> m_table;  // -1 for characters measured each time
};

// The lines of the log with their colours, word-wrapped at a width. Each line keeps its row count
// and the running total of rows up to it, so an append costs only the new line and finding the
// line under a row is a binary search: painting never depends on how long the log is.
class LogLines {
public:
    struct Line {
        QString text;
        QRgb colour;
    };

    explicit LogLines(const QFont& font) : m_adv(font) {}

    const CharAdvances& advances() const { return m_adv; }

    // Adds `text` as new lines; CR LF, CR or LF inside it start further lines.
    void append(const QString& text, QRgb colour);
    void clear();
    // Re-wraps every line in one pass when the width really changed.
    void setWidth(qreal width);
    qreal width() const { return m_width; }

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    const Line& line(int i) const { return m_lines[static_cast<size_t>(i)]; }
    int rowCount() const { return m_rowEnd.empty() ? 0 : m_rowEnd.back(); }
    int firstRow(int line) const { return line == 0 ? 0 : m_rowEnd[static_cast<size_t>(line) - 1]; }
    // The line that holds `row` (0 <= row < rowCount()).
    int lineAtRow(int row) const;
    // Where each row of a line starts; the first is always 0.
    std::vector<int> rowStarts(int line) const;

private:
    void pushLine(QString text, QRgb colour);
    template <class OnRow>
    int wrap(const QString& text, OnRow onRow) const;

    CharAdvances m_adv;
    qreal m_width = 0;
    std::vector<Line> m_lines;
    std::vector<int> m_rowEnd;  // rows of lines 0..i together
};
