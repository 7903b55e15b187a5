#pragma once
#include <QChar>
#include <QString>
#include <Qt>

// Key codes the edit filters receive besides printable characters.
namespace keycode {
constexpr char16_t Enter = 13;
}

// The character a key press delivers to a filter, as the register's editors have always seen keys:
// Backspace 8, Enter 13, Ctrl+C 3, Ctrl+V 22, Ctrl+X 24, otherwise the typed text's one character.
// A key without a character (arrows, Delete, Home...) gives 0: the filters leave such keys alone.
QChar KeyEventChar(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// Digit filter of the registration window's number edits: the key to let through, or 0 to refuse it.
// The same rule as the grid digit filter: digits and the clipboard keys, and at `limit` characters
// only Backspace unless the key replaces a selection.
QChar KeyPressDigitEdit(const QString& text, bool hasSelection, QChar key, int limit);
