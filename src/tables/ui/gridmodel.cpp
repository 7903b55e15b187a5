#include "tables/ui/gridmodel.h"

TGridModel::TGridModel(TableId id, TGridData* grid, QObject* parent)
    : QAbstractTableModel(parent), m_id(id), m_grid(grid)
{
}

void TGridModel::Refresh()
{
    // dataChanged rather than a reset: a reset would destroy the editor open on the current cell.
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void TGridModel::CellChanged(int col, int row)
{
    const QModelIndex cell = CellIndex(col, row);
    emit dataChanged(cell, cell);
}

void TGridModel::RowChanged(int row)
{
    emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
}

int TGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid->RowCount() - 1;
}

int TGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_grid->ColCount() - 1;
}

QVariant TGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_grid->Cell(GridCol(index), GridRow(index));
}

bool TGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (m_grid->Cell(GridCol(index), GridRow(index)) == text)
        return true;
    m_grid->SetCell(GridCol(index), GridRow(index), text);
    emit dataChanged(index, index);
    return true;
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? m_grid->Cell(section + 1, 0) : m_grid->Cell(0, section + 1);
}

Qt::ItemFlags TGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || (isLocked && isLocked(GridCol(index), GridRow(index))))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
