#pragma once
#include "files/sheetcells.h"

// ".xls" (BIFF, as 1C exports it) through FreeXL.
TSheetRead ReadXlsFirstSheet(const QString& fileName, int maxRow, int maxColumn);
