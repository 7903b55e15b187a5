#pragma once
#include "files/sheetcells.h"

#include <QByteArray>

// The cells of the first worksheet of a BIFF5/7 or BIFF8 workbook stream, each as the spreadsheet
// shows it: texts (shared, inline, rich; Excel 5.0/95 byte texts in the workbook's code page),
// numbers (dates and times by their cell format), Booleans as 1/0, errors as "#DIV/0!" and the like,
// and for a formula its last computed result of any of these kinds. The used range counts from the
// sheet's dimensions and every cell record, formatted empty cells included. False with why set for a
// stream that is no workbook, is encrypted or breaks off inside a record.
bool ReadBiffFirstSheet(const QByteArray& stream, TSheetCells& cells, QString& why);
