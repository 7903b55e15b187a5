#include "tables/ui/celleditor.h"

#include "tables/keydigits.h"
#include "tables/ui/gridmodel.h"

#include <QFocusEvent>
#include <QKeyEvent>

TCellEdit::TCellEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
}

TCellEditState TCellEdit::EditState() const
{
    // The rules see the selection as starting at the caret.
    if (hasSelectedText())
        return {text(), selectionStart(), int(selectedText().size())};
    return {text(), cursorPosition(), 0};
}

void TCellEdit::keyPressEvent(QKeyEvent* event)
{
    QChar key;
    if (event->key() == Qt::Key_Backspace)
        key = QChar(keycode::Backspace);
    else if (event->matches(QKeySequence::Copy))
        key = QChar(keycode::Copy);
    else if (event->matches(QKeySequence::Paste))
        key = QChar(keycode::Paste);
    else if (event->matches(QKeySequence::Cut))
        key = QChar(keycode::Cut);
    else if (event->key() == Qt::Key_Delete && swallowDelete) {
        event->accept();
        return;
    } else if (!event->text().isEmpty() && event->text().at(0).isPrint())
        key = event->text().at(0);
    if (key.isNull() || !keyHandler) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const TKeyOutcome outcome = keyHandler(EditState(), key);
    switch (outcome.action) {
    case KeyAction::Pass:
        QLineEdit::keyPressEvent(event);
        return;
    case KeyAction::Swallow:
        event->accept();
        return;
    case KeyAction::Replace:
        setText(outcome.state.text);
        setCursorPosition(outcome.state.caret);
        event->accept();
        return;
    }
}

TCellList::TCellList(CellList list, QWidget* parent) : QComboBox(parent), m_list(list)
{
    addItems(ListItems(list));
    connect(this, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (chosen && item >= 0)
            chosen(item);
    });
}

void TCellList::Preselect(const QString& cellText)
{
    const QSignalBlocker block(this);
    setCurrentIndex(PreselectedItem(m_list, cellText));
}

void TCellList::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Its own drop-down and another window taking over leave the list open.
    const Qt::FocusReason reason = event->reason();
    if (focusLost && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        focusLost();
}

TCellDelegate::TCellDelegate(TableId id, QObject* parent) : QStyledItemDelegate(parent), m_id(id) {}

QWidget* TCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int col = TGridModel::GridCol(index);
    const int row = TGridModel::GridRow(index);
    const CellList list = listFor ? listFor(col, row) : CellList::None;
    if (list != CellList::None) {
        auto* combo = new TCellList(list, parent);
        combo->Preselect(index.data(Qt::EditRole).toString());
        combo->chosen = [this, col, row](int item) {
            if (listChosen)
                listChosen(col, row, item);
        };
        return combo;
    }
    auto* edit = new TCellEdit(parent);
    const TableId id = m_id;
    edit->keyHandler = [id, col](const TCellEditState& state, QChar key) { return CellKeyPress(id, col, state, key); };
    edit->swallowDelete = SwallowsDelete(id);
    auto* model = const_cast<QAbstractItemModel*>(index.model());
    const QPersistentModelIndex at(index);
    connect(edit, &QLineEdit::textChanged, edit, [model, at](const QString& text) {
        if (at.isValid())
            model->setData(at, text, Qt::EditRole);
    });
    return edit;
}

void TCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<TCellList*>(editor)) {
        combo->Preselect(text);
    } else if (auto* edit = qobject_cast<TCellEdit*>(editor)) {
        if (edit->text() != text)
            edit->setText(text);
    }
}

void TCellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const
{
    // Text editors write on every change and lists through listChosen: nothing is left to commit.
}

void TCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}
