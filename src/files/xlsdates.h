#pragma once
#include <QString>
#include <cstdint>

// How a workbook's number format shows a number: as it is, or as a date, a time or both.
enum class NumberShape { Number, Date, DateTime, Time };

// The shape of a built-in format (by its index) and of a format code ("dd.mm.yyyy", "[h]:mm").
NumberShape ShapeOfBuiltInFormat(uint16_t index);
NumberShape ShapeOfFormatCode(const QString& code);

// A number cell's text: plain decimals, or "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS", "HH:MM:SS" for a
// day count from the workbook's epoch (1900, with its phantom 29 February, or 1904).
QString NumberCellText(double value, NumberShape shape, bool epoch1904);
