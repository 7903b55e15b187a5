#pragma once
#include "files/sheetcells.h"

// ".xlsx" (Office Open XML): the zip read with minizip, its parts with QXmlStreamReader.
TSheetRead ReadXlsxFirstSheet(const QString& fileName, int maxRow, int maxColumn);
