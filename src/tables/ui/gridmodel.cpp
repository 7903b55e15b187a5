#include "tables/ui/gridmodel.h"

#include <QColor>

TGridModel::TGridModel(TableId id, TGridData* grid, QObject* parent)
    : QAbstractTableModel(parent), m_id(id), m_grid(grid)
{
}

bool TGridModel::UpdateMark(int row)
{
    if (!m_known || !m_known->Update(*m_grid, row))
        return false;
    ShowMarkChanged(row);
    return true;
}

void TGridModel::ShowMarkChanged(int row)
{
    emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
    emit markChanged(row);
}

void TGridModel::RowKnown(int row)
{
    if (m_known && m_known->Remember(*m_grid, row))
        ShowMarkChanged(row);
}

void TGridModel::Refresh()
{
    if (m_known && m_known->UpdateAll(*m_grid))
        emit markChanged(0);
    // dataChanged rather than a reset: a reset would destroy the editor open on the current cell.
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void TGridModel::CellChanged(int col, int row)
{
    if (UpdateMark(row))
        return;
    const QModelIndex cell = CellIndex(col, row);
    emit dataChanged(cell, cell);
}

void TGridModel::RowChanged(int row)
{
    if (UpdateMark(row))
        return;
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
    if (!index.isValid())
        return {};
    if (role == Qt::BackgroundRole)
        return IsMarked(GridRow(index)) ? QVariant(QColor(QRgb(kMarkedRowTint))) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
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
    if (!UpdateMark(GridRow(index)))
        emit dataChanged(index, index);
    return true;
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::BackgroundRole && IsMarked(section + 1))
        return QColor(QRgb(kMarkedRowTint));
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_grid->Cell(section + 1, 0);
    const QString& label = m_grid->Cell(0, section + 1);
    return IsMarked(section + 1) ? kMarkedRowSign + label : label;
}

Qt::ItemFlags TGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || (isLocked && isLocked(GridCol(index), GridRow(index))))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
