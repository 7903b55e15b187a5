#pragma once
#include "tables/griddata.h"
#include "tables/knownrows.h"

#include <QAbstractTableModel>
#include <QChar>
#include <QList>
#include <QString>
#include <cstdint>

// The module's seven parameters: the register's part TableId::Module, whose grid row k (1..7) is
// register table 5, row k, field 0.
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

// The grid sgGsm over the module's part of the register: column 0 the captions (fixed), column 1 the
// values. Model row r is grid row r + 1; Value/SetValue take the grid row. The type row is not typed
// into. The marks are the register's known rows of the part: a known row whose value differs from
// what the register was last known to hold has its caption prefixed with "* " (the window also tints
// it). Whoever changes the grid behind the model's back calls Refresh().
class GsmGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GsmGridModel(TGridData& grid, TKnownRows& known, QObject* parent = nullptr);

    QString Value(int row) const;
    void SetValue(int row, const QString& value);

    // Row `row` was read from or written to the register as it stands: it is known and unmarked.
    void RowKnown(int row);
    bool IsMarked(int row) const { return m_known.IsMarked(row); }
    int MarkedCount() const { return m_known.MarkedCount(); }
    QList<int> MarkedRows() const { return m_known.MarkedRows(1, gsm::kRows); }
    // The grid changed behind the model's back: every row.
    void Refresh();

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
    // Tells the view about row `row` after its value or known value changed; `markChanged` from the marks.
    void RowShown(int row, bool markChanged);

    TGridData& m_grid;
    TKnownRows& m_known;
};

