#include "fiscal/memolines.h"

#include "fiscal/keypresskomponents.h"
#include "tables/keydigits.h"

#include <algorithm>

QChar MemoLineKeyFilter(const QString& text, int caretPos, QChar key, int limit)
{
    const char16_t k = key.unicode();
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (k == keycode::Enter && lines.size() >= limit)
        return QChar(0);
    const int caret = std::clamp(caretPos, 0, static_cast<int>(text.size()));
    const int caretLine = static_cast<int>(text.left(caret).count(QLatin1Char('\n')));
    if (lines.at(caretLine).size() >= kMemoLineWidth && k != keycode::Backspace)
        return QChar(0);
    return key;
}

MemoTrim TrimMemoLines(const QString& text, int caretPos, int limit)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    bool changed = false;
    if (lines.size() > limit) {
        lines = lines.mid(0, limit);
        changed = true;
    }
    for (QString& line : lines) {
        if (line.size() > kMemoLineWidth) {
            line.truncate(kMemoLineWidth);
            changed = true;
        }
    }
    if (!changed)
        return {text, caretPos, false};
    MemoTrim out;
    out.text = lines.join(QLatin1Char('\n'));
    out.caret = std::clamp(caretPos, 0, static_cast<int>(out.text.size()));
    out.changed = true;
    return out;
}

QString ResetMemoLines(int n)
{
    return n >= 2 ? QString(n - 1, QLatin1Char('\n')) : QString();
}
