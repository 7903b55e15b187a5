#pragma once
#include <QString>
#include <vector>

// The first worksheet of a workbook as text: the last used row (formatted empty rows count, as in
// the workbook's own used range) and the cells of a window of rows 1..maxRow and columns
// 1..maxColumn. Rows and columns count from 1 (column A is 1). Cells outside the window or never
// written read as empty.
class TSheetCells {
public:
    TSheetCells() = default;
    TSheetCells(int maxRow, int maxColumn);

    int lastRow() const { return m_lastRow; }
    QString cell(int row, int column) const;

    // For the readers: note a used row, and keep a cell's text if it lies inside the window.
    void useRow(int row);
    void setCell(int row, int column, const QString& text);
    int maxRow() const { return m_maxRow; }
    int maxColumn() const { return m_maxColumn; }

private:
    int m_maxRow = 0;
    int m_maxColumn = 0;
    int m_lastRow = 0;
    std::vector<QString> m_cells;  // row-major, maxRow x maxColumn
};

enum class SheetStatus {
    Read,      // the cells are there
    NoReader,  // no reader knows this file type: not an error, nothing to tell the user
    Failed,    // a workbook that could not be read; error says why
};

struct TSheetRead {
    SheetStatus status = SheetStatus::Failed;
    QString error;
    TSheetCells cells;
};

// Column letters of a cell reference ("D12" -> 4, "AA1" -> 27); 0 when it has none.
int ColumnOfReference(const QString& reference);

// Picks the reader by the file's content (compound document -> ".xls", zip -> ".xlsx"); a file with
// neither signature is an unreadable workbook when named ".xls"/".xlsx", and an unknown type otherwise.
TSheetRead ReadFirstSheet(const QString& fileName, int maxRow, int maxColumn);
