#pragma once
#include <QString>

// A spreadsheet price cell's text as a goods price with a point: "12,5" -> "12.5", "150" -> "150.00",
// "12.50" stays; empty, "abc" or "1 234,50" -> "0.00". Only the first comma is replaced and a
// separated text is not reformatted.
QString XlsPriceToText(const QString& text);
