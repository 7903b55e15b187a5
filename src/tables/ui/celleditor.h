#pragma once
#include "tables/cellkeys.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <functional>

// The in-place editor of a text cell. Every typed character goes through `keyHandler` first (the
// cell's rule), which passes it on, swallows it or hands back the new text and caret.
class TCellEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TCellEdit(QWidget* parent);
    std::function<TKeyOutcome(const TCellEditState&, QChar)> keyHandler;
    bool swallowDelete = false;

    TCellEditState EditState() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// An in-cell value list: shown over its cell, preselected from the cell's text, reporting the user's
// choice through `chosen` and the focus going elsewhere in the window through `focusLost`.
class TCellList : public QComboBox {
    Q_OBJECT
public:
    TCellList(CellList list, QWidget* parent);
    CellList List() const { return m_list; }
    std::function<void(int item)> chosen;
    std::function<void()> focusLost;
    // Selects the item of the cell's text (item 0 when none) without reporting it.
    void Preselect(const QString& cellText);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    CellList m_list;
};

// Creates the editor of the current cell: an in-cell list where the cell takes its text from one
// (and the list may open there), otherwise a text editor with the cell's key rule.
class TCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TCellDelegate(TableId id, QObject* parent);

    std::function<CellList(int col, int row)> listFor;
    std::function<void(int col, int row, int item)> listChosen;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    // Editors take their keys themselves; Tab is left to the view, which moves or not per grid.
    bool eventFilter(QObject*, QEvent*) override { return false; }

private:
    TableId m_id;
};
