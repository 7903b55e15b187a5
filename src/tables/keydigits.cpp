#include "tables/keydigits.h"

bool KeyPressDigits(const QString& cellText, bool hasSelection, QChar key, int limit)
{
    const char16_t k = key.unicode();
    const bool digit = k >= u'0' && k <= u'9';
    if (!digit && k != keycode::Backspace && k != keycode::Copy && k != keycode::Paste && k != keycode::Cut)
        return false;
    if (cellText.size() == limit && !hasSelection)
        return k == keycode::Backspace;
    return true;
}
