#pragma once
#include <QChar>
#include <QString>
#include <QStringList>

// Memo rules of the registration window. A memo holds at most its limit of lines ('\n' separated,
// as many as it shows) and each line at most kMemoLineWidth characters: what a line slot carries.
constexpr int kMemoLineWidth = 24;

// Key filter (MemoLineKeyFilter): the key to let through, or 0. Enter is refused when the memo
// already shows `limit` lines; any key but Backspace is refused on a line of 24 characters or more.
QChar MemoLineKeyFilter(const QString& text, int caretPos, QChar key, int limit);

// Cut after a change (TrimMemoLines): lines beyond `limit` are deleted from the first one beyond it
// on, and lines longer than 24 characters are cut, so that pasted text fits what travels.
struct MemoTrim {
    QString text;
    int caret = 0;  // the previous caret position, kept inside the new text
    bool changed = false;
};
MemoTrim TrimMemoLines(const QString& text, int caretPos, int limit);

// Text of a memo reset to `n` empty lines (ResetMemoLines).
QString ResetMemoLines(int n);

// Memo text <-> lines: line i of the memo is line i of the field; a line the memo lacks is empty.
template <size_t N>
QStringList MemoLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    while (lines.size() < static_cast<qsizetype>(N))
        lines.append(QString());
    return lines.mid(0, N);
}
