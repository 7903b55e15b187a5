#include "tables/celleditors.h"

#include "tables/encoding.h"
#include "tables/keydigits.h"
#include "tables/tabledefs.h"

#include <algorithm>

namespace {

bool IsDigit(QChar key)
{
    return key >= QLatin1Char('0') && key <= QLatin1Char('9');
}

bool IsBackspace(QChar key)
{
    return key.unicode() == keycode::Backspace;
}

// Integer part, fraction and caret of a fixed-point cell, always split at the separator.
struct TFixedCell {
    QString whole;
    QString fraction;
    int caret;

    int n() const { return int(whole.size()); }
    TCellEditState State() const { return {whole + QLatin1Char(',') + fraction, caret, 0}; }
};

TFixedCell Split(const QString& text, int decimals, int caret)
{
    const int sep = SeparatorPos(text);
    TFixedCell cell;
    // A cell without separator (as files bring it) is all integer part.
    cell.whole = sep == 0 ? text : text.left(sep - 1);
    if (cell.whole.isEmpty())
        cell.whole = QStringLiteral("0");
    cell.fraction = (sep == 0 ? QString() : text.mid(sep)).left(decimals).leftJustified(decimals, QLatin1Char('0'));
    cell.caret = std::clamp(caret, 0, int(cell.whole.size() + 1 + decimals));
    return cell;
}

TCellEditState KeyPressFixed(const TCellEditState& state, QChar typed, int limit, int decimals)
{
    // The numeric keypad types "." under many layouts, and a price typed "350.50" must never become
    // 35050: the point is the separator key as much as the comma is.
    const QChar key = typed == QLatin1Char('.') ? QLatin1Char(',') : typed;
    if (!IsDigit(key) && !IsBackspace(key) && key != QLatin1Char(','))
        return state;
    TFixedCell c = Split(state.text, decimals, state.caret);
    const int n = c.n();
    const int p = c.caret;
    const int s = std::min(state.selLength, n + 1 + decimals - p);
    // Full: no more integer digits (8 for a price, 5 for a quantity).
    const bool full = n + 1 + decimals >= limit + 1;

    if (s <= 0) {
        if (p <= n) {
            if (IsDigit(key)) {
                if (full)
                    return c.State();
                if (c.whole == QLatin1String("0")) {
                    c.whole = key;
                    c.caret = 1;
                } else {
                    c.whole.insert(p, key);
                    c.caret = p + 1;
                }
            } else if (key == QLatin1Char(',')) {
                if (p == n)
                    c.caret = n + 1;
            } else if (n == 1) {
                c.whole = QStringLiteral("0");
            } else if (p > 0) {
                c.whole.remove(p - 1, 1);
                c.caret = p - 1;
            }
            return c.State();
        }
        const int j = p - n - 1;  // fraction digits before the caret
        if (IsDigit(key)) {
            if (j < decimals) {
                c.fraction[j] = key;
                c.caret = p + 1;
            }
        } else if (IsBackspace(key)) {
            if (j == 0) {
                c.caret = n;
            } else {
                c.fraction.remove(j - 1, 1);
                c.fraction.append(QLatin1Char('0'));
                c.caret = p - 1;
            }
        }
        return c.State();
    }

    if (key == QLatin1Char(','))
        return c.State();
    const int end = p + s;  // selection [p, end) in cell positions
    if (end <= n) {
        c.whole.remove(p, s);
        if (IsDigit(key)) {
            c.whole.insert(p, key);
            c.caret = p + 1;
        } else {
            if (c.whole.isEmpty())
                c.whole = QStringLiteral("0");
            c.caret = p;
        }
        return c.State();
    }
    if (p > n) {
        const int j0 = p - n - 1;
        const int j1 = std::min(end - n - 1, decimals);
        for (int j = j0; j < j1; ++j)
            c.fraction[j] = QLatin1Char('0');
        if (IsDigit(key)) {
            c.fraction[j0 == 0 ? j0 : j1 - 1] = key;
            c.caret = p + 1;
        } else {
            c.caret = p;
        }
        return c.State();
    }
    // Across the separator: integer digits from p on, fraction digits up to the selection's end.
    const int j1 = std::min(end - n - 1, decimals);
    for (int j = 0; j < j1; ++j)
        c.fraction[j] = QLatin1Char('0');
    c.whole.truncate(p);
    c.caret = p;
    if (IsDigit(key) && p < n) {
        c.whole.append(key);
        c.caret = p + 1;
    }
    if (c.whole.isEmpty())
        c.whole = QStringLiteral("0");
    return c.State();
}

}  // namespace

bool KeyPressText(const QString& cellText, QChar key, int limit)
{
    return cellText.size() < limit || IsBackspace(key);
}

TCellEditState KeyPressPhone(const TCellEditState& state, QChar key, int limit)
{
    const bool digit = IsDigit(key);
    if (!digit && !IsBackspace(key))
        return state;
    QString text = state.text;
    int p = std::max(state.caret, 2);
    int caret = p;
    if (state.selLength > 0) {
        text.remove(p, state.selLength);
        if (digit) {
            text.insert(std::min<int>(p, int(text.size())), key);
            caret = p + 1;
        }
    } else if (digit) {
        if (text.size() >= limit)
            return state;
        text.insert(std::min<int>(p, int(text.size())), key);
        caret = p + 1;
    } else if (p <= text.size()) {
        text.remove(p - 1, 1);
        caret = p - 1;
    } else if (!text.isEmpty()) {
        text.chop(1);
        caret = int(text.size());
    }
    text = NormalizePhone(text);
    return {text, std::clamp(caret, 0, int(text.size())), 0};
}

TCellEditState KeyPressPrice(const TCellEditState& state, QChar key, int limit)
{
    return KeyPressFixed(state, key, limit, 2);
}

TCellEditState KeyPressQuantity(const TCellEditState& state, QChar key, int limit)
{
    return KeyPressFixed(state, key, limit, 3);
}

bool KeyPressRangeBox(QChar key)
{
    return IsDigit(key) || IsBackspace(key);
}
