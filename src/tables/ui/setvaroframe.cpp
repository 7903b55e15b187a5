#include "tables/ui/setvaroframe.h"

#include "app/session.h"
#include "app/ui/messages.h"
#include "app/ui/uwait.h"
#include "tables/celleditors.h"
#include "tables/goodsfind.h"
#include "tables/maintenance.h"
#include "tables/rangecheck.h"
#include "tables/ui/gridmodel.h"
#include "tables/ui/gridview.h"
#include "tables/ui/shapecircle.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>

namespace {

// The names the range boxes go by, first and last per tab.
const char* const kBoxNames[kTableCount][2] = {
    {"Edit1", "Edit2"}, {"Edit3", "Edit4"}, {"Edit5", "Edit6"}, {"Edit7", "Edit8"},
    {"Edit9", "Edit10"}, {"edtFirstElement", "edtLastElement"}, {"edtFirstRange", "edtLastRange"},
};

MsgKind KindOf(RunSeverity severity)
{
    switch (severity) {
    case RunSeverity::Warning: return MsgKind::Warning;
    case RunSeverity::Error: return MsgKind::Error;
    default: return MsgKind::Information;
    }
}

QLabel* MaroonLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #800000; font-weight: bold;"));
    return label;
}

// Lets the window repaint and take "Прервать" while a run waits.
void PauseWithEvents(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
}

// The tab caption as specified, followed by the count of marked rows when there are any.
QString MarkedCaption(TableId id, int marked)
{
    const QString& caption = TableDef(id).caption;
    return marked == 0 ? caption : QStringLiteral("%1 (изм. %2)").arg(caption).arg(marked);
}

}  // namespace

TFrameSetVaro::TFrameSetVaro(TKktRegister& reg, QWidget* parent) : QFrame(parent), m_reg(reg)
{
    for (int t = 0; t < kTableCount; ++t)
        m_current[t] = QPoint(1, 1);

    btnTestData = new QPushButton(QStringLiteral("Тестовые данные"), this);
    auto* title = new QLabel(QStringLiteral("Параметры"), this);
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setBold(true);
    titleFont.setPointSize(14);
    title->setFont(titleFont);
    auto* top = new QHBoxLayout;
    top->addWidget(btnTestData);
    top->addStretch();
    top->addWidget(title);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    for (int t = 0; t < kTableCount; ++t)
        PageControl1->addTab(BuildTab(TableId(t)), TableDef(t).caption);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();
    btnCleanTable = new QPushButton(QStringLiteral("Очистить таблицу"), this);
    Button3 = new QPushButton(QStringLiteral("Записать в ККТ"), this);
    btnWriteChanged = new QPushButton(QStringLiteral("Записать изменённые"), this);
    btnWriteChanged->setObjectName(QStringLiteral("btnWriteChanged"));
    Button4 = new QPushButton(QStringLiteral("Прочитать из ККТ"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addStretch();
    bottom->addWidget(btnCleanTable);
    bottom->addWidget(Button3);
    bottom->addWidget(btnWriteChanged);
    bottom->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);

    connect(btnTestData, &QPushButton::clicked, this, &TFrameSetVaro::FillTestData);
    connect(btnCleanTable, &QPushButton::clicked, this, &TFrameSetVaro::CleanActiveTable);
    connect(Button3, &QPushButton::clicked, this, &TFrameSetVaro::WriteActiveTable);
    connect(btnWriteChanged, &QPushButton::clicked, this, &TFrameSetVaro::WriteChangedRows);
    connect(Button4, &QPushButton::clicked, this, &TFrameSetVaro::ReadActiveTable);
    connect(Button5, &QPushButton::clicked, this, &TFrameSetVaro::ClearBaseInKkt);
    connect(Button6, &QPushButton::clicked, this, &TFrameSetVaro::GoToItem);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFrameSetVaro::TabShown);
}

TFrameSetVaro::~TFrameSetVaro()
{
    // The views and their models read the grids, which die before the base class deletes children.
    delete PageControl1;
    for (TGridModel* model : m_models)
        delete model;
}

QWidget* TFrameSetVaro::BuildTab(TableId id)
{
    const size_t t = size_t(id);
    const TTableDef& def = TableDef(id);
    auto* page = new QWidget;
    m_models[t] = new TGridModel(id, &m_reg.grids[t], this);
    m_models[t]->SetKnown(&m_reg.known[t]);
    connect(m_models[t], &TGridModel::markChanged, this, [this, id] { ShowMarkCount(id); });
    if (id == TableId::Agents)
        m_models[t]->isLocked = [this](int col, int row) { return m_reg.locks.IsLocked(col, row); };
    TGridView* view = new TGridView(m_models[t], page);
    m_views[t] = view;
    view->canSelect = [this, id](int col, int row) { return SelectCell(id, col, row); };
    view->Delegate()->listFor = [this, id](int col, int row) { return ListFor(id, col, row); };
    view->Delegate()->listChosen = [this, id](int col, int row, int item) { ListChosen(id, col, row, item); };

    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("Диапазон:  с"), page));
    for (int k = 0; k < 2; ++k) {
        auto* box = new QLineEdit(k == 0 ? def.firstDefault : def.lastDefault, page);
        box->setObjectName(QString::fromLatin1(kBoxNames[t][k]));
        box->setMaxLength(def.boxLength);
        box->setFixedWidth(60);
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->installEventFilter(this);
        (k == 0 ? m_first : m_last)[t] = box;
        if (k == 0)
            range->addWidget(box), range->addWidget(new QLabel(QStringLiteral("по"), page));
        else
            range->addWidget(box);
    }
    range->addStretch();

    auto* column = new QVBoxLayout;
    column->addWidget(view, 1);
    column->addLayout(range);
    if (id != TableId::Goods) {
        page->setLayout(column);
        return page;
    }
    auto* row = new QHBoxLayout(page);
    row->addLayout(column, 1);
    row->addWidget(BuildGoodsPanel());
    const auto shortcut = [this, page](const QKeySequence& keys, auto action) {
        auto* s = new QShortcut(keys, page);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence::Find, [this] { OpenFind(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { FindNext(true); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindNext(false); });
    return page;
}

QWidget* TFrameSetVaro::BuildGoodsPanel()
{
    auto* panel = new QWidget;
    auto* v = new QVBoxLayout(panel);
    btnSaveBase = new QPushButton(QStringLiteral("Сохранить в файл"), panel);
    btnLoadBase = new QPushButton(QStringLiteral("Загрузить из файла"), panel);
    Edit11 = new QLineEdit(QStringLiteral("1"), panel);
    Edit11->setObjectName(QStringLiteral("Edit11"));
    Edit11->setMaxLength(4);
    Edit11->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit11));
    Edit11->setContextMenuPolicy(Qt::NoContextMenu);
    Edit11->installEventFilter(this);
    Button6 = new QPushButton(QStringLiteral("Перейти к товару"), panel);
    edtFind = new QLineEdit(panel);
    edtFind->setObjectName(QStringLiteral("edtFind"));
    edtFind->setPlaceholderText(QStringLiteral("Поиск (Ctrl+F, F3)"));
    edtFind->setToolTip(QStringLiteral("Часть наименования или штрих-кода. Enter, F3 - следующий, Shift+F3 - предыдущий"));
    edtFind->setClearButtonEnabled(true);
    // Says "nothing found" inside the field, at its right end, where the query text does not reach.
    lblNotFound = new QLabel(QStringLiteral("не найдено"), edtFind);
    lblNotFound->setStyleSheet(QStringLiteral("color: #b00000; background: transparent;"));
    lblNotFound->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblNotFound->hide();
    connect(edtFind, &QLineEdit::returnPressed, this, [this] { FindNext(true); });
    connect(edtFind, &QLineEdit::textChanged, this, [this] { ShowNotFound(false); });
    Button5 = new QPushButton(QStringLiteral("Очистить базу в ККТ"), panel);
    Button7 = new QPushButton(QStringLiteral("1C: Предприятие"), panel);
    Button7->setContextMenuPolicy(Qt::CustomContextMenu);

    pm1C = new QMenu(this);
    actLoad1cdb = pm1C->addAction(QStringLiteral("Загрузить из 1С (формат *.1cdb)"));
    actSave1cdb = pm1C->addAction(QStringLiteral("Выгрузить в 1С (формат *.1cdb)"));
    pm1C->addSeparator();
    actLoadXls = pm1C->addAction(QStringLiteral("Загрузить из 1С (формат *.xls)"));
    pm1C->addSeparator();
    pm1C->addAction(QStringLiteral("Отмена"));  // closes the menu, nothing more
    connect(Button7, &QPushButton::clicked, this, &TFrameSetVaro::Popup1C);
    connect(Button7, &QPushButton::customContextMenuRequested, this, &TFrameSetVaro::Popup1C);

    Shape1 = new TShapeCircle(panel);
    Label14 = new QLabel(QStringLiteral("Сканер штрих-кода"), panel);
    lblCorrectShtrihCode = new QLabel(panel);
    lblCorrectShtrihCode->setStyleSheet(QStringLiteral("color: green; font-weight: bold;"));
    // The result with its goods code is wider than the panel.
    lblCorrectShtrihCode->setWordWrap(true);
    auto* scanner = new QHBoxLayout;
    scanner->addWidget(Shape1);
    scanner->addWidget(Label14);
    scanner->addStretch();

    v->addWidget(btnSaveBase);
    v->addWidget(btnLoadBase);
    v->addSpacing(12);
    v->addWidget(Edit11);
    v->addWidget(Button6);
    v->addWidget(edtFind);
    v->addWidget(Button5);
    v->addSpacing(12);
    v->addWidget(Button7);
    v->addSpacing(12);
    v->addLayout(scanner);
    v->addWidget(lblCorrectShtrihCode);
    v->addStretch();
    v->addWidget(MaroonLabel(QStringLiteral("Внимание!"), panel));
    v->addWidget(MaroonLabel(QStringLiteral("Разделитель цены - \"ТОЧКА!\""), panel));
    panel->setFixedWidth(220);
    return panel;
}

void TFrameSetVaro::Init(KktSession& session)
{
    m_session = &session;
    for (auto& c : m_current)
        c = QPoint(1, 1);
    PageControl1->setCurrentIndex(int(TableId::Operators));
}

void TFrameSetVaro::SetScannerIndicatorVisible(bool visible)
{
    Shape1->setVisible(visible);
    Label14->setVisible(visible);
}

void TFrameSetVaro::EnableKktButtons(bool enabled)
{
    Button5->setEnabled(enabled);
    Button3->setEnabled(enabled);
    btnWriteChanged->setEnabled(enabled);
    Button4->setEnabled(enabled);
}

void TFrameSetVaro::RefreshGrid(TableId id)
{
    m_models[size_t(id)]->Refresh();
}

void TFrameSetVaro::RowKnown(TableId id, int row)
{
    m_models[size_t(id)]->RowKnown(row);
}

void TFrameSetVaro::ShowMarkCount(TableId id)
{
    const QString caption = MarkedCaption(id, m_reg.Known(id).MarkedCount());
    // The tab bar lays itself out again on every new text.
    if (PageControl1->tabText(int(id)) != caption)
        PageControl1->setTabText(int(id), caption);
}

void TFrameSetVaro::SetCell(TableId id, int col, int row, const QString& text)
{
    m_reg.Grid(id).SetCell(col, row, text);
    m_models[size_t(id)]->CellChanged(col, row);
}

TableId TFrameSetVaro::ActiveTable() const
{
    return TableId(PageControl1->currentIndex());
}

void TFrameSetVaro::ShowTable(TableId id)
{
    PageControl1->setCurrentIndex(int(id));
}

bool TFrameSetVaro::SelectCell(TableId id, int col, int row)
{
    if (id == TableId::Agents && m_reg.locks.IsLocked(col, row))
        return false;
    m_current[size_t(id)] = QPoint(col, row);
    return true;
}

CellList TFrameSetVaro::ListFor(TableId id, int col, int row) const
{
    return ListToOpen(id, m_reg.Grid(id), col, row);
}

void TFrameSetVaro::ListChosen(TableId id, int col, int row, int item)
{
    TGridData& grid = Grid(id);
    const CellList list = ColumnList(id, col);
    if (list == CellList::AgentSign) {
        ChooseAgentSign(grid, m_reg.locks, row, item);
    } else {
        grid.SetCell(col, row, ListItems(list).value(item));
        // The bank agent types carry no VAT.
        if (list == CellList::SectionType && (item == kSectionTypeBankAgent || item == kSectionTypeBankSubagent))
            grid.SetCell(3, row, VatRates()[kVatNone]);
    }
    m_models[size_t(id)]->RowChanged(row);
}

void TFrameSetVaro::TabShown(int index)
{
    const TableId id = TableId(index);
    if (id == TableId::Goods) {
        if (onGoodsTabShown && onGoodsTabShown())
            EnableKktButtons(false);
        return;
    }
    if (onOtherTabShown)
        onOtherTabShown();
    EnableKktButtons(true);
    // No agent cell selected, so that no sign list opens by itself.
    if (id == TableId::Agents)
        GridView(id)->ClearCurrent();
}

bool TFrameSetVaro::CheckActiveRange(TableId id, int& first, int& last)
{
    const TRangeCheck r = CheckRange(FirstBox(id)->text(), LastBox(id)->text(), TableDef(id).size);
    if (r.ok) {
        first = r.first;
        last = r.last;
        return true;
    }
    HideWait();
    if (!r.message.isEmpty())
        ShowMessage(this, MsgKind::Information, r.message);
    if (r.focus != RangeBox::None)
        (r.focus == RangeBox::First ? FirstBox(id) : LastBox(id))->setFocus();
    return false;
}

TRunHooks TFrameSetVaro::RunHooks(TableId id, bool reading)
{
    TRunHooks hooks;
    hooks.progress = [this, id, reading](int done, int total) {
        ProgressBar1->setValue(ProgressPercent(done, total));
        // The wait window covers the bar: it counts the entries too.
        const int per = ExchangesPerEntry(id);
        const QString count = reading ? QStringLiteral("Прочитано записей: %1 из %2") : QStringLiteral("Записано записей: %1 из %2");
        WaitWindow()->lbl1->setText((reading ? kReadWaitText : kWriteWaitText) + QLatin1Char('\n')
                                    + count.arg(done / per).arg(total / per));
        QCoreApplication::processEvents();
    };
    hooks.aborted = [] { return WaitAborted(); };
    hooks.pause = PauseWithEvents;
    if (reading)
        hooks.rowWritten = [this, id](int row) { m_models[size_t(id)]->RowChanged(row); };
    hooks.entryDone = [this, id](int row) { RowKnown(id, row); };
    return hooks;
}

void TFrameSetVaro::ShowRunResult(const TRunResult& result)
{
    if (!result.ok())
        ShowMessage(this, KindOf(result.severity), result.message);
}

void TFrameSetVaro::WriteActiveTable()
{
    RunActiveTable(RunKind::Write);
}

void TFrameSetVaro::WriteChangedRows()
{
    RunActiveTable(RunKind::WriteChanged);
}

void TFrameSetVaro::ReadActiveTable()
{
    RunActiveTable(RunKind::Read);
}

void TFrameSetVaro::RunActiveTable(RunKind kind)
{
    if (m_running || !m_session)
        return;
    const bool reading = kind == RunKind::Read;
    const TableId id = ActiveTable();
    ShowWait(reading ? kReadWaitText : kWriteWaitText, true);
    int first = 0, last = 0;
    if (!CheckActiveRange(id, first, last))
        return;
    const QList<int> changed = kind == RunKind::WriteChanged ? m_reg.Known(id).MarkedRows(first, last) : QList<int>();
    if (kind == RunKind::WriteChanged && changed.isEmpty()) {
        HideWait();
        ShowMessage(this, MsgKind::Information,
                    QStringLiteral("Внимание!\r\nВ диапазоне с %1 по %2 нет изменённых записей. Ничего не записано.")
                        .arg(first)
                        .arg(last));
        return;
    }
    m_running = true;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    const TRunHooks hooks = RunHooks(id, reading);
    KktLink& link = m_session->Link;
    const KktLinkArgs args = m_session->LinkArgs();
    const TRunResult result = kind == RunKind::Read    ? ReadTable(id, Grid(id), m_reg.locks, first, last, link, args, hooks)
                              : kind == RunKind::Write ? WriteTable(id, Grid(id), first, last, link, args, hooks)
                                                       : WriteTableRows(id, Grid(id), changed, link, args, hooks);
    // A read leaves the bar at 0 behind it; a write leaves it where it stopped.
    if (reading)
        ProgressBar1->setValue(0);
    ProgressBar1->hide();
    HideWait();
    m_running = false;
    // A read may have locked the cell the editor is on.
    TGridView* view = GridView(id);
    const QPoint at = CurrentCell(id);
    if (reading && id == TableId::Agents && view->currentIndex().isValid() && m_reg.locks.IsLocked(at.x(), at.y()))
        view->ClearCurrent();
    // The last command went through, but the run did not: the status bar must not say "выполнено".
    if (result.aborted)
        m_session->Tell(StatusLine(result.message));
    ShowRunResult(result);
}

void TFrameSetVaro::CleanActiveTable()
{
    if (m_running)
        return;
    const TableId id = ActiveTable();
    CleanTable(id, Grid(id), m_reg.locks);
    RefreshGrid(id);
}

void TFrameSetVaro::FillTestData()
{
    if (m_running)
        return;
    const QString question = TestDataQuestion(Grid(TableId::Operators), Grid(TableId::Cliche), Grid(TableId::Agents));
    if (!question.isEmpty() && !ShowMessage(this, MsgKind::Question, question))
        return;
    ::FillTestData(Grid(TableId::Operators), Grid(TableId::Cliche), Grid(TableId::Agents));
    for (TableId id : {TableId::Operators, TableId::Cliche, TableId::Agents})
        RefreshGrid(id);
}

void TFrameSetVaro::ClearBaseInKkt()
{
    if (m_running || !m_session)
        return;
    if (!ShowMessage(this, MsgKind::Question, kClearBaseQuestion))
        return;
    m_running = true;
    ShowWait(kClearBaseWaitText, false);
    const TRunResult result = ::ClearBaseInKkt(m_session->Link, m_session->LinkArgs());
    HideWait();
    m_running = false;
    // The register now holds an empty base: every item of the grid that is not empty is a change.
    if (result.severity != RunSeverity::Error) {
        m_reg.Known(TableId::Goods).RememberAll(InitGrid(TableId::Goods));
        RefreshGrid(TableId::Goods);
    }
    ShowMessage(this, KindOf(result.severity), result.message);
}

void TFrameSetVaro::GoToItem()
{
    const TGoToItem target = CheckGoToItem(Edit11->text());
    if (!target.ok) {
        ShowMessage(this, MsgKind::Information, target.message);
        Edit11->setFocus();
        return;
    }
    TGridView* view = GridView(TableId::Goods);
    view->setFocus();
    view->SelectCell(1, target.row);
    if (QWidget* editor = view->CurrentEditor())
        editor->setFocus();
}

void TFrameSetVaro::OpenFind()
{
    edtFind->show();
    edtFind->setFocus(Qt::ShortcutFocusReason);
    edtFind->selectAll();
}

bool TFrameSetVaro::FindNext(bool forward)
{
    const int row = FindGoods(Grid(TableId::Goods), edtFind->text(), CurrentCell(TableId::Goods).y(), forward);
    ShowNotFound(row == 0 && !edtFind->text().isEmpty());
    if (row == 0)
        return false;
    // As "Перейти к товару": the item's name cell becomes current; the focus stays in the field
    // so that Enter goes on to the next match.
    GridView(TableId::Goods)->SelectCell(1, row);
    return true;
}

void TFrameSetVaro::ShowNotFound(bool notFound)
{
    if (notFound == lblNotFound->isVisible())
        return;
    if (notFound) {
        lblNotFound->adjustSize();
        // Left of the clear button.
        const int right = edtFind->width() - edtFind->height();
        lblNotFound->move(right - lblNotFound->width(), (edtFind->height() - lblNotFound->height()) / 2);
    }
    lblNotFound->setVisible(notFound);
    edtFind->setStyleSheet(notFound ? QStringLiteral("QLineEdit { background: #ffe0e0; }") : QString());
}

void TFrameSetVaro::Popup1C()
{
    pm1C->popup(QCursor::pos());
}

bool TFrameSetVaro::eventFilter(QObject* watched, QEvent* event)
{
    // Range boxes and the item-number box: digits and Backspace; clipboard keys are swallowed too.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && !KeyPressRangeBox(text.at(0)))
            return true;
        if (key->matches(QKeySequence::Paste))
            return true;
    }
    return QFrame::eventFilter(watched, event);
}
