#pragma once
#include <QList>
#include <QString>

// One parameter grid as plain text: row 0 holds the headings, column 0 the fixed labels, data row N
// holds table entry N. Addressed as (column, row), the order every table rule uses.
class TGridData {
public:
    TGridData() = default;
    TGridData(int cols, int rows);

    int ColCount() const { return m_cols; }
    int RowCount() const { return m_rows; }
    bool Contains(int col, int row) const { return col >= 0 && col < m_cols && row >= 0 && row < m_rows; }

    // Outside the grid a read gives an empty text and a write is ignored.
    const QString& Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);

private:
    int m_cols = 0;
    int m_rows = 0;
    QList<QString> m_cells;  // row by row
};
