#pragma once
#include <QAbstractTableModel>
#include <QChar>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The module's seven parameters. Grid row k (1..7) is register table 5, row k, field 0.
namespace gsm {
constexpr int kRows = 7;
constexpr uint8_t kTable = 5;
constexpr uint8_t kField = 0;
enum Row { IpRow = 1, PortRow = 2, DnsRow = 3, ApnGsmRow = 4, ApnWifiRow = 5, PassWifiRow = 6, DeviceRow = 7 };
}  // namespace gsm

// Caption of grid row 1..7 ("IP сервера" ... "Тип устройства"); empty outside.
QString GsmRowCaption(int row);

// The key filter of a value cell (sgGsmKeyPress): true when `key` may reach the cell editor of `row`.
// `cellText` is the row's own value; `hasSelection` tells whether the key replaces selected text.
bool GsmKeyAllowed(int row, const QString& cellText, bool hasSelection, QChar key);

// Device type as the register keeps it: "GSM" <-> "0", "WI-FI" <-> "1".
QString DeviceCodeFromText(const QString& cellText);  // anything else -> empty code
QString DeviceTextFromCode(const QString& code);      // anything else -> "неизвестное устройство"

// The grid sgGsm: column 0 the captions (fixed), column 1 the values. Model row r is grid row r + 1;
// Value/SetValue take the grid row. The values start empty; the type row is not typed into.
// Each row also remembers the value last read from or written to the register (unknown until then);
// a known row whose value differs from it is marked: its caption is prefixed with "* " (the window
// also tints it).
class GsmGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    QString Value(int row) const;
    void SetValue(int row, const QString& value);

    // Row `row` was read from or written to the register as it stands: it is known and unmarked.
    void RowKnown(int row);
    // Read from or written to the register at least once.
    bool IsKnown(int row) const;
    bool IsMarked(int row) const;
    int MarkedCount() const;
    QList<int> MarkedRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static int GridRow(const QModelIndex& index) { return index.row() + 1; }

Q_SIGNALS:
    // A row's mark came or went.
    void marksChanged();

private:
    // Tells the view about row `row` after its value or known value changed, `wasMarked` before.
    void RowShown(int row, bool wasMarked);

    std::array<QString, gsm::kRows> m_values;
    std::array<std::optional<QString>, gsm::kRows> m_known;
};

// The rows (1..7) whose values differ between two module grids, ascending.
QList<int> DifferingGsmRows(const GsmGridModel& a, const GsmGridModel& b);
