#pragma once
#include "tables/griddata.h"
#include "tables/knownrows.h"
#include "tables/tabledefs.h"

#include <QAbstractTableModel>
#include <functional>

// Shows one grid through a table view: the heading row becomes the horizontal header and column 0
// the vertical one, so model (r, c) is grid cell (c + 1, r + 1). The grid itself stays the only copy.
// With known rows attached, every change that passes through the model updates the marks: a marked
// row is tinted and its label carries kMarkedRowSign.
// Prefixed to the label of a marked row, so that the mark reads without colour.
inline const QString kMarkedRowSign = QStringLiteral("* ");
// The tint of a marked row.
inline constexpr unsigned kMarkedRowTint = 0xFFF2C6;

class TGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TGridModel(TableId id, TGridData* grid, QObject* parent = nullptr);

    TableId Table() const { return m_id; }
    TGridData& Grid() { return *m_grid; }
    QModelIndex CellIndex(int col, int row) const { return index(row - 1, col - 1); }
    static int GridCol(const QModelIndex& i) { return i.column() + 1; }
    static int GridRow(const QModelIndex& i) { return i.row() + 1; }

    // The known state whose marks the model keeps and shows; none: nothing is marked.
    void SetKnown(TKnownRows* known) { m_known = known; }

    // Cells that may not be selected (the agents' locked cells).
    std::function<bool(int col, int row)> isLocked;

    // The grid changed behind the model's back: every cell, or one row.
    void Refresh();
    void RowChanged(int row);
    void CellChanged(int col, int row);
    // Row `row` was read from or written to the register: it is known as it stands and unmarked.
    void RowKnown(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The mark of `row` came or went; 0 after Refresh, when any rows may have changed. Its cells are
    // announced by dataChanged; its label is the view's to repaint (a headerDataChanged would have
    // the header measure itself again).
    void markChanged(int row);

private:
    // Compares `row` with what is known and tells the view about a changed mark.
    bool UpdateMark(int row);
    void ShowMarkChanged(int row);
    bool IsMarked(int row) const { return m_known && m_known->IsMarked(row); }

    TKnownRows* m_known = nullptr;
    TableId m_id;
    TGridData* m_grid;
};
