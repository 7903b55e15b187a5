#include "tables/griddata.h"

TGridData::TGridData(int cols, int rows) : m_cols(cols), m_rows(rows), m_cells(qsizetype(cols) * rows) {}

const QString& TGridData::Cell(int col, int row) const
{
    static const QString empty;
    return Contains(col, row) ? m_cells[qsizetype(row) * m_cols + col] : empty;
}

void TGridData::SetCell(int col, int row, const QString& text)
{
    if (Contains(col, row))
        m_cells[qsizetype(row) * m_cols + col] = text;
}
