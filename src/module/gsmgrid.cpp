#include "module/gsmgrid.h"

#include "tables/keydigits.h"
#include "tables/tabledefs.h"

namespace {

// Longest value a cell takes by typing; 0 for the type row, which takes no typing at all.
int RowTextLimit(int row)
{
    switch (row) {
    case gsm::IpRow: return 15;  // four groups of three digits and three dots
    case gsm::PortRow: return 5;
    case gsm::DnsRow: return 64;
    case gsm::ApnGsmRow:
    case gsm::ApnWifiRow:
    case gsm::PassWifiRow: return 32;
    default: return 0;
    }
}

bool IsIpKey(char16_t k)
{
    return (k >= u'0' && k <= u'9') || k == u'.' || k == keycode::Backspace || k == keycode::Copy ||
           k == keycode::Paste || k == keycode::Cut;
}

}  // namespace

QString GsmRowCaption(int row)
{
    return row >= 1 && row <= gsm::kRows ? RowLabel(TableId::Module, row) : QString();
}

bool GsmKeyAllowed(int row, const QString& cellText, bool hasSelection, QChar key)
{
    const char16_t k = key.unicode();
    switch (row) {
    case gsm::IpRow:
        if (!IsIpKey(k))
            return false;
        return cellText.size() < RowTextLimit(row) || k == keycode::Backspace;
    case gsm::PortRow:
        return KeyPressDigits(cellText, hasSelection, key, RowTextLimit(row));
    case gsm::DnsRow:
    case gsm::ApnGsmRow:
    case gsm::ApnWifiRow:
    case gsm::PassWifiRow:
        return cellText.size() < RowTextLimit(row) || k == keycode::Backspace;
    default:
        return false;
    }
}

QString DeviceCodeFromText(const QString& cellText)
{
    if (cellText == QLatin1String("GSM"))
        return QStringLiteral("0");
    if (cellText == QLatin1String("WI-FI"))
        return QStringLiteral("1");
    return {};
}

QString DeviceTextFromCode(const QString& code)
{
    if (code == QLatin1String("0"))
        return QStringLiteral("GSM");
    if (code == QLatin1String("1"))
        return QStringLiteral("WI-FI");
    return QStringLiteral("неизвестное устройство");
}

GsmGridModel::GsmGridModel(TGridData& grid, TKnownRows& known, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_known(known)
{
}

QString GsmGridModel::Value(int row) const
{
    if (row < 1 || row > gsm::kRows)
        return {};
    return m_grid.Cell(1, row);
}

void GsmGridModel::SetValue(int row, const QString& value)
{
    if (row < 1 || row > gsm::kRows || m_grid.Cell(1, row) == value)
        return;
    m_grid.SetCell(1, row, value);
    RowShown(row, m_known.Update(m_grid, row));
}

void GsmGridModel::RowKnown(int row)
{
    if (row < 1 || row > gsm::kRows)
        return;
    RowShown(row, m_known.Remember(m_grid, row));
}

void GsmGridModel::Refresh()
{
    beginResetModel();
    const bool marks = m_known.UpdateAll(m_grid);
    endResetModel();
    if (marks)
        Q_EMIT marksChanged();
}

void GsmGridModel::RowShown(int row, bool markChanged)
{
    if (!markChanged) {
        const QModelIndex cell = index(row - 1, 1);
        Q_EMIT dataChanged(cell, cell);
        return;
    }
    Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, 1));
    Q_EMIT marksChanged();
}

int GsmGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : gsm::kRows;
}

int GsmGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant GsmGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = GridRow(index);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (index.column() == 1)
        return Value(row);
    return IsMarked(row) ? QStringLiteral("* ") + GsmRowCaption(row) : GsmRowCaption(row);
}

bool GsmGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 1 || role != Qt::EditRole)
        return false;
    SetValue(GridRow(index), value.toString());
    return true;
}

QVariant GsmGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_grid.Cell(section, 0);
}

Qt::ItemFlags GsmGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == 0)
        return Qt::ItemIsEnabled;
    // The type cell is chosen with the device selector, never typed into.
    if (GridRow(index) == gsm::DeviceRow)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
