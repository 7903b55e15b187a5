#pragma once
#include "files/sheetcells.h"

#include <QHash>
#include <QList>
#include <QStringList>

// ".xlsx" (Office Open XML): the zip read with minizip, its parts with QXmlStreamReader.
TSheetRead ReadXlsxFirstSheet(const QString& fileName, int maxRow, int maxColumn);

// A worksheet asked for by name, with the window of cells to keep.
struct TSheetWanted {
    QString name;
    int maxRow = 0;
    int maxColumn = 0;
};

struct TWorkbookRead {
    SheetStatus status = SheetStatus::Failed;  // Read or Failed
    QString error;
    QStringList names;                   // every worksheet of the book, in its order
    QHash<QString, TSheetCells> sheets;  // the sheets asked for that the book has
};

// The sheets of `wanted` that the workbook holds; a name the book has twice is read once, the first.
TWorkbookRead ReadXlsxSheets(const QString& fileName, const QList<TSheetWanted>& wanted);
