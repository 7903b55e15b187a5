#pragma once
#include <QChar>
#include <QString>

// Characters a cell key filter receives besides printable ones.
namespace keycode {
constexpr char16_t Backspace = 8;
constexpr char16_t Copy = 3;
constexpr char16_t Paste = 22;
constexpr char16_t Cut = 24;
}  // namespace keycode

// Digit filter of grid cells: true when `key` may reach the cell editor. Digits, Backspace and the
// clipboard keys pass; at `limit` characters only Backspace passes, unless a selection is replaced.
bool KeyPressDigits(const QString& cellText, bool hasSelection, QChar key, int limit);
