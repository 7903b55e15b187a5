#pragma once
#include <QString>

// GS1 check digit of an EAN-8 or EAN-13 code: exactly 8 or 13 decimal digits whose last digit
// matches the weighted sum of the others.
bool CheckShtrihCode(const QString& code);

// The result line shown under the goods grid after a scan, with its colour (red, green, blue).
struct TShtrihCheckText {
    QString text;
    int red = 0, green = 0, blue = 0;
};

// `row` is the goods grid row the code went into, i.e. the goods code of that row.
TShtrihCheckText ShtrihCheckText(bool correct, int row);
