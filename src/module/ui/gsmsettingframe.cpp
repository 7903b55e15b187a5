#include "module/ui/gsmsettingframe.h"

#include "app/session.h"
#include "app/ui/messages.h"
#include "fiscal/keypresskomponents.h"
#include "module/gsmgrid.h"
#include "module/gsmtransfer.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kCaptionWidth = 250;
constexpr int kValueWidth = 595;
constexpr int kRowHeight = 24;

const char* const kInfoLines[] = {
    "",
    "Для ККТ с GSM модулем заполняются следующие поля:",
    " * PIN-код сим карты",
    " * APN строка для подключения к Internet. Уточняйте у оператора сотовой связи.",
    " * Логин для подключения к Internet. Уточняйте у оператора сотовой связи.",
    " * Пароль для подключения к Intenet. Уточняйте у оператора сотовой связи.",
    "",
    "Для ККТ с Wi-Fi модулем заполняются следующие поля:",
    " * PIN-код сим карты не заполняется.",
    " * APN строка для подключения к Internet. Наименование Wi-Fi сети. ",
    " * Логин для подключения к Internet. Логин Wi-Fi сети.",
    " * Пароль для подключения к Intenet. Пароль Wi-Fi сети.",
};

// The tint of a marked row, as in the tables frame.
constexpr QRgb kMarkedRowTint = 0xFFF2C6;

// Cell editors pass every key through the frame's row rule first; marked rows are tinted.
class GsmCellDelegate : public QStyledItemDelegate {
public:
    GsmCellDelegate(QObject* filter, QObject* parent) : QStyledItemDelegate(parent), m_filter(filter) {}
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (const auto* grid = qobject_cast<const GsmGridModel*>(index.model());
            grid && grid->IsMarked(GsmGridModel::GridRow(index)))
            option->backgroundBrush = QColor(kMarkedRowTint);
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->installEventFilter(m_filter);
        return editor;
    }

private:
    QObject* m_filter;
};

}  // namespace

TFrameGsmSetting::TFrameGsmSetting(TKktRegister& reg, QWidget* parent) : QFrame(parent), m_reg(reg)
{
    m_grid = new GsmGridModel(reg.Grid(TableId::Module), reg.Known(TableId::Module), this);

    lblTitle = new QLabel(QStringLiteral("Параметры GSM/Wi-Fi"), this);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 2);
    lblTitle->setFont(titleFont);

    sgGsm = new QTableView(this);
    sgGsm->setObjectName(QStringLiteral("sgGsm"));
    sgGsm->setModel(m_grid);
    sgGsm->setItemDelegate(new GsmCellDelegate(this, sgGsm));
    sgGsm->setSelectionMode(QAbstractItemView::SingleSelection);
    sgGsm->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgGsm->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    sgGsm->verticalHeader()->hide();
    sgGsm->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgGsm->verticalHeader()->setDefaultSectionSize(kRowHeight);
    sgGsm->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgGsm->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    sgGsm->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgGsm->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgGsm->installEventFilter(this);
    connect(sgGsm->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { sgGsmSelectCell(current); });

    cbbDevice = new QComboBox(this);
    cbbDevice->setObjectName(QStringLiteral("cbbDevice"));
    cbbDevice->addItems({QStringLiteral("GSM"), QStringLiteral("WI-FI")});
    cbbDevice->setCurrentIndex(0);
    cbbDevice->hide();
    cbbDevice->installEventFilter(this);
    connect(cbbDevice, &QComboBox::activated, this, [this](int item) { cbbDeviceChange(item); });

    memoInfo = new QPlainTextEdit(this);
    memoInfo->setReadOnly(true);
    memoInfo->setFrameShape(QFrame::NoFrame);
    memoInfo->setFocusPolicy(Qt::NoFocus);
    memoInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette infoPalette = memoInfo->palette();
    infoPalette.setColor(QPalette::Base, infoPalette.color(QPalette::Window));
    memoInfo->setPalette(infoPalette);
    QStringList info;
    for (const char* line : kInfoLines)
        info << QString::fromUtf8(line);
    memoInfo->setPlainText(info.join(QLatin1Char('\n')));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();
    Button3 = new QPushButton(QStringLiteral("Записать в ККТ"), this);
    btnWriteChanged = new QPushButton(QStringLiteral("Записать изменённые"), this);
    btnWriteChanged->setObjectName(QStringLiteral("btnWriteChanged"));
    Button4 = new QPushButton(QStringLiteral("Прочитать из ККТ"), this);
    lblChanged = new QLabel(this);
    lblChanged->hide();
    connect(Button3, &QPushButton::clicked, this, &TFrameGsmSetting::Button3Click);
    connect(btnWriteChanged, &QPushButton::clicked, this, &TFrameGsmSetting::WriteChangedClick);
    connect(m_grid, &GsmGridModel::marksChanged, this, &TFrameGsmSetting::ShowMarkCount);
    connect(Button4, &QPushButton::clicked, this, &TFrameGsmSetting::Button4Click);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblChanged);
    bottom->addStretch(1);
    bottom->addWidget(ProgressBar1, 1);
    bottom->addWidget(Button3);
    bottom->addWidget(btnWriteChanged);
    bottom->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(sgGsm, 0, Qt::AlignLeft);
    layout->addWidget(memoInfo, 1);
    layout->addLayout(bottom);
}

void TFrameGsmSetting::Init(KktSession& session)
{
    m_session = &session;
    sgGsm->setColumnWidth(0, kCaptionWidth);
    sgGsm->setColumnWidth(1, kValueWidth);
    const int frame = 2 * sgGsm->frameWidth();
    sgGsm->setFixedSize(kCaptionWidth + kValueWidth + frame,
                        sgGsm->horizontalHeader()->sizeHint().height() + gsm::kRows * kRowHeight + frame);
    CurrentGsmRow = 1;
}

void TFrameGsmSetting::sgGsmSelectCell(const QModelIndex& current)
{
    if (!current.isValid())
        return;
    // The caption column is fixed: a click there lands on the row's value.
    if (current.column() == 0) {
        sgGsm->setCurrentIndex(m_grid->index(current.row(), 1));
        return;
    }
    CurrentGsmRow = GsmGridModel::GridRow(current);
    if (CurrentGsmRow != gsm::DeviceRow)
        return;
    const QRect cell = sgGsm->visualRect(current);
    const QPoint topLeft = sgGsm->viewport()->mapTo(this, cell.topLeft());
    cbbDevice->setGeometry(topLeft.x() + 1, topLeft.y() + 1, cell.width() + 1, cell.height() + 1);
    cbbDevice->raise();
    cbbDevice->show();
    cbbDevice->setFocus(Qt::OtherFocusReason);
}

void TFrameGsmSetting::cbbDeviceEnter()
{
    cbbDevice->setCurrentIndex(cbbDevice->findText(m_grid->Value(gsm::DeviceRow), Qt::MatchExactly));
}

void TFrameGsmSetting::cbbDeviceChange(int item)
{
    if (item >= 0)
        m_grid->SetValue(CurrentGsmRow, cbbDevice->itemText(item));
}

void TFrameGsmSetting::cbbDeviceExit()
{
    cbbDevice->hide();
    sgGsm->setCurrentIndex(m_grid->index(CurrentGsmRow - 1, 1));
}

bool TFrameGsmSetting::sgGsmKeyPress(QObject* watched, QKeyEvent* event)
{
    const QChar key = KeyEventChar(event->key(), event->modifiers(), event->text());
    // Enter commits the cell and moves on, as in any grid: it is not a character of the value.
    if (key.isNull() || key == QChar(keycode::Enter))
        return false;
    QString text = m_grid->Value(CurrentGsmRow);
    // A key typed on a cell that is not being edited opens the editor with the whole text selected.
    bool hasSelection = !text.isEmpty();
    if (auto* editor = qobject_cast<QLineEdit*>(watched)) {
        text = editor->text();
        hasSelection = editor->hasSelectedText();
    }
    return !GsmKeyAllowed(CurrentGsmRow, text, hasSelection, key);
}

bool TFrameGsmSetting::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cbbDevice) {
        // The drop-down list takes the focus for a moment; that is neither entering nor leaving.
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            cbbDeviceEnter();
        else if (event->type() == QEvent::FocusOut &&
                 static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            cbbDeviceExit();
        return false;
    }
    if (event->type() == QEvent::KeyPress)
        return sgGsmKeyPress(watched, static_cast<QKeyEvent*>(event));
    return false;
}

void TFrameGsmSetting::BeginTransfer()
{
    // A second run must not start between the exchanges of this one.
    Button3->setEnabled(false);
    btnWriteChanged->setEnabled(false);
    Button4->setEnabled(false);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    QApplication::processEvents();
}

void TFrameGsmSetting::ShowProgress(int percent)
{
    ProgressBar1->setValue(percent);
    QApplication::processEvents();
}

void TFrameGsmSetting::EndTransfer()
{
    ProgressBar1->hide();
    Button3->setEnabled(true);
    btnWriteChanged->setEnabled(true);
    Button4->setEnabled(true);
}

void TFrameGsmSetting::Button3Click()
{
    WriteRows(WholeRange(TableId::Module));
}

void TFrameGsmSetting::WriteChangedClick()
{
    if (!m_session)
        return;
    const QList<int> rows = m_grid->MarkedRows();
    if (rows.isEmpty()) {
        ShowMessage(this, MsgKind::Information,
                    QStringLiteral("Внимание!\r\nНет изменённых параметров. Ничего не записано."));
        return;
    }
    WriteRows(rows);
}

TRunHooks TFrameGsmSetting::RunHooks()
{
    TRunHooks hooks;
    hooks.entryDone = [this](int row) { m_grid->RowKnown(row); };
    return hooks;
}

void TFrameGsmSetting::WriteRows(const QList<int>& rows)
{
    if (!m_session)
        return;
    BeginTransfer();
    TRunHooks hooks = RunHooks();
    hooks.progress = [this](int done, int total) { ShowProgress(ProgressPercent(done, total)); };
    const TRunResult r = WriteGsmRows(m_session->Link, m_session->LinkArgs(), m_reg.Grid(TableId::Module), rows, hooks);
    if (!r.ok())
        ShowMessage(this, MsgKind::Error, r.message);
    EndTransfer();
}

void TFrameGsmSetting::ShowMarkCount()
{
    const int marked = m_grid->MarkedCount();
    lblChanged->setText(QStringLiteral("Изменено строк: %1 (отмечены «*»)").arg(marked));
    lblChanged->setVisible(marked > 0);
}

void TFrameGsmSetting::Button4Click()
{
    if (!m_session)
        return;
    BeginTransfer();
    TRunHooks hooks = RunHooks();
    hooks.progress = [this](int done, int total) { ShowProgress(ProgressPercent(done, total)); };
    const TRunResult r = ReadGsmParams(m_session->Link, m_session->LinkArgs(), m_reg.Grid(TableId::Module), hooks);
    if (!r.ok())
        ShowMessage(this, MsgKind::Error, r.message);
    EndTransfer();
}
