#include "tables/ui/gridview.h"

#include "tables/cellkeys.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace {
constexpr int kRowHeight = 16;
// Room a heading needs beside its text: the header's margins and the section line.
constexpr int kHeadingPadding = 10;
}

TGridView::TGridView(TGridModel* model, QWidget* parent)
    : QTableView(parent),
      m_model(model),
      m_delegate(new TCellDelegate(model->Table(), this)),
      m_corner(new QLabel(this))
{
    const TTableDef& def = TableDef(model->Table());
    setCornerButtonEnabled(false);
    m_corner->setText(def.columns[0].heading);
    m_corner->setAlignment(Qt::AlignCenter);
    m_corner->setAutoFillBackground(true);
    m_corner->setBackgroundRole(QPalette::Button);
    setModel(model);
    connect(model, &TGridModel::markChanged, this, [this](int row) {
        // Only that label is painted again; the header keeps its measures.
        if (row > 0)
            verticalHeader()->viewport()->update(0, verticalHeader()->sectionViewportPosition(row - 1),
                                                 verticalHeader()->width(), verticalHeader()->sectionSize(row - 1));
    });
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(def.tabMovesToCell);
    setWordWrap(false);

    // Rows never resize to their contents: 6000 rows must load at once.
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The widths are the table's own; where the screen's font is wider, a heading still shows whole,
    // and so does a full number (an INN, a telephone) in the columns that take only digits.
    rows->setFixedWidth(std::max(def.columns[0].width,
                                 m_corner->fontMetrics().horizontalAdvance(def.columns[0].heading) + kHeadingPadding));

    QHeaderView* cols = horizontalHeader();
    cols->setSectionResizeMode(def.resizableColumns ? QHeaderView::Interactive : QHeaderView::Fixed);
    cols->setStretchLastSection(false);
    cols->setHighlightSections(false);
    const auto fitting = [&](int c) {
        int width = std::max(def.columns[c].width,
                             cols->fontMetrics().horizontalAdvance(def.columns[c].heading) + kHeadingPadding);
        const TCellRule rule = CellKeyRule(def.id, c);
        if (rule.kind == CellRule::Digits || rule.kind == CellRule::Phone)
            width = std::max(width, fontMetrics().horizontalAdvance(QString(rule.limit, u'0')) + kHeadingPadding);
        return width;
    };
    for (int c = 1; c < def.ColCount(); ++c)
        setColumnWidth(c - 1, fitting(c));
}

bool TGridView::SelectCell(int col, int row)
{
    const QModelIndex index = m_model->CellIndex(col, row);
    if (!index.isValid() || (canSelect && !canSelect(col, row)))
        return false;
    setCurrentIndex(index);
    scrollTo(index);
    return currentIndex() == index;
}

void TGridView::CloseEditor()
{
    if (!m_editorAt.isValid())
        return;
    // A focused editor that hides hands the focus on with a Tab, which the view would take as a move.
    if (QWidget* editor = CurrentEditor(); editor && editor->hasFocus())
        setFocus();
    closePersistentEditor(m_editorAt);
    m_editorAt = QPersistentModelIndex();
}

void TGridView::ClearCurrent()
{
    CloseEditor();
    selectionModel()->clearCurrentIndex();
    clearSelection();
}

QWidget* TGridView::CurrentEditor() const
{
    return m_editorAt.isValid() ? indexWidget(m_editorAt) : nullptr;
}

void TGridView::updateGeometries()
{
    QTableView::updateGeometries();
    m_corner->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(), horizontalHeader()->height());
    m_corner->raise();
}

void TGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (m_reverting)
        return;
    if (current.isValid() && canSelect && !canSelect(TGridModel::GridCol(current), TGridModel::GridRow(current))) {
        // Refused: the current cell stays where it was.
        m_reverting = true;
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
        m_reverting = false;
        return;
    }
    QTableView::currentChanged(current, previous);
    const bool focus = hasFocus() || (CurrentEditor() && CurrentEditor()->hasFocus());
    CloseEditor();
    if (current.isValid())
        OpenEditor(current, focus);
}

void TGridView::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    // A click on the current cell whose list was closed opens it again.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && at == currentIndex() && !CurrentEditor())
        OpenEditor(at, true);
}

void TGridView::OpenEditor(const QModelIndex& index, bool focus)
{
    openPersistentEditor(index);
    m_editorAt = index;
    QWidget* editor = indexWidget(index);
    if (!editor)
        return;
    if (focus)
        editor->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(editor))
        edit->end(false);
    if (auto* list = qobject_cast<TCellList*>(editor)) {
        // Closed once the event that took the focus is over: a click that moved the current cell has
        // opened the next editor by then, and this list is no longer the current one.
        const QPointer<TCellList> left(list);
        list->focusLost = [this, left] {
            QTimer::singleShot(0, this, [this, left] {
                if (left && left == CurrentEditor() && !left->hasFocus())
                    ListLeft();
            });
        };
    }
}

void TGridView::ListLeft()
{
    CloseEditor();
    // The grid shows the row of the closed list selected, from column 1 to the last.
    const int row = currentIndex().row();
    const QItemSelection whole(m_model->index(row, 0), m_model->index(row, m_model->columnCount() - 1));
    selectionModel()->select(whole, QItemSelectionModel::ClearAndSelect);
}
