#pragma once
#include "files/sheetcells.h"

// ".xls" (BIFF, as 1C exports it) through FreeXL. FreeXL reads past its own buffers on some damaged
// workbooks, so the reading runs isolated: such a file gives a failed read with its reason, never a
// crash of the program. A read that takes longer than a minute fails too.
TSheetRead ReadXlsFirstSheet(const QString& fileName, int maxRow, int maxColumn);

// The same in this process, for the fuzzer, which has to see FreeXL's faults where they happen.
TSheetRead ReadXlsFirstSheetInProcess(const QString& fileName, int maxRow, int maxColumn);
