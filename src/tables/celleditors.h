#pragma once
#include <QChar>
#include <QString>

// The state of a cell's in-place editor: text, caret (characters before it) and the length of the
// selection, which starts at the caret.
struct TCellEditState {
    QString text;
    int caret = 0;
    int selLength = 0;

    bool operator==(const TCellEditState&) const = default;
};

// Free text up to `limit` characters: at the limit only Backspace passes, selection or not.
bool KeyPressText(const QString& cellText, QChar key, int limit);

// Phone editor: "+7" and digits, `limit` characters in all. Digits and Backspace change the text; the
// caret never goes inside "+7" for editing. Gives the new state (no selection).
TCellEditState KeyPressPhone(const TCellEditState& state, QChar key, int limit);

// Price (two decimals, limit 10) and quantity (three decimals, limit 8) editors: the text always stays
// integer part, ",", fraction. Digits, Backspace and "," (or ".", its twin) are taken; any other key leaves
// the state as it was.
TCellEditState KeyPressPrice(const TCellEditState& state, QChar key, int limit = 10);
TCellEditState KeyPressQuantity(const TCellEditState& state, QChar key, int limit = 8);

// Range boxes and the item-number box: digits and Backspace only.
bool KeyPressRangeBox(QChar key);
