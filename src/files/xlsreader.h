#pragma once
#include "files/sheetcells.h"

// ".xls" (BIFF5/7 and BIFF8, as 1C and the spreadsheet programs write it): the compound document
// through olestream.h, the workbook's records by biffsheet.h. The reading runs isolated, so that a fault of
// the library on a damaged file gives a failed read with its reason, never a crash of the program. A
// read that takes longer than a minute fails too.
TSheetRead ReadXlsFirstSheet(const QString& fileName, int maxRow, int maxColumn);

// The same in this process, for the fuzzer, which has to see faults where they happen.
TSheetRead ReadXlsFirstSheetInProcess(const QString& fileName, int maxRow, int maxColumn);

// The isolated read's answer, as the helper program kkt-xlsread (FILE MAXROW MAXCOLUMN) writes it on
// Windows, where the reader cannot be forked off.
QByteArray ReadXlsFirstSheetAnswer(const QString& fileName, int maxRow, int maxColumn);
inline const QString kXlsReadHelper = QStringLiteral("kkt-xlsread");
