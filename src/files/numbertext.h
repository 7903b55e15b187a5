#pragma once
#include <QString>

// A decimal number with "." as separator, as the exchange formats write prices: optional sign,
// digits with an optional point, optional exponent ("12", "12.50", "-.5", "1e2"). No blanks.
bool IsDotFloat(const QString& text);

// A spreadsheet's numeric cell as the plain decimal text a user sees: 150, 12.5, 4600000000000.
// Never an exponent; fractions are rounded to 15 significant digits, so a stored 89.989999999999995
// reads 89.99.
QString NumberToText(double value);
