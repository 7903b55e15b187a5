#pragma once
#include "tables/tabledefs.h"
#include "tables/ui/celleditor.h"
#include "tables/ui/gridmodel.h"

#include <QLabel>
#include <QTableView>
#include <functional>

// One parameter grid: fixed 16-pixel rows, the widths of its table, and an editor open on the current
// cell. A text editor stays open; an in-cell list closes when the focus leaves it and opens again on a
// click on its cell. A cell the selection handler refuses never becomes current.
class TGridView : public QTableView {
    Q_OBJECT
public:
    TGridView(TGridModel* model, QWidget* parent = nullptr);

    TGridModel* GridModel() const { return m_model; }
    TCellDelegate* Delegate() const { return m_delegate; }
    // The selection handler: may (col, row) become the current cell?
    std::function<bool(int col, int row)> canSelect;

    // Makes (col, row) current (when allowed) and shows it.
    bool SelectCell(int col, int row);
    // No current cell and no open editor (the agents tab is shown that way).
    void ClearCurrent();
    // The editor of the current cell, if one is open.
    QWidget* CurrentEditor() const;

protected:
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OpenEditor(const QModelIndex& index, bool focus);
    void CloseEditor();
    void ListLeft();

    TGridModel* m_model;
    TCellDelegate* m_delegate;
    QLabel* m_corner;  // the heading of column 0, over the corner between the headers
    QPersistentModelIndex m_editorAt;
    bool m_reverting = false;
};
