#include "fiscal/keypresskomponents.h"

#include "tables/keydigits.h"

QChar KeyEventChar(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (key == Qt::Key_Backspace)
        return QChar(keycode::Backspace);
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QChar(keycode::Enter);
    if (modifiers & Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_C: return QChar(keycode::Copy);
        case Qt::Key_V: return QChar(keycode::Paste);
        case Qt::Key_X: return QChar(keycode::Cut);
        default: break;
        }
    }
    // Shift+Insert pastes as well; it has to meet the same filter as Ctrl+V.
    if (key == Qt::Key_Insert && (modifiers & Qt::ShiftModifier))
        return QChar(keycode::Paste);
    if (text.size() == 1 && text.at(0).isPrint())
        return text.at(0);
    return QChar(0);
}

QChar KeyPressDigitEdit(const QString& text, bool hasSelection, QChar key, int limit)
{
    return KeyPressDigits(text, hasSelection, key, limit) ? key : QChar(0);
}
