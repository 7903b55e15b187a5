#include "app/ui/settform.h"

#include "app/session.h"
#include "app/ui/messages.h"
#include "app/ui/searchpanel.h"
#include "text/conversion.h"
#include "link/linkchecktexts.h"
#include "link/portnames.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The hourglass for the length of a blocking command.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

TFormSett::TFormSett(KktSession& session, const QStringList& ports, QWidget* parent)
    // A caption and no title-bar buttons; a platform close request still counts as "Отмена".
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_session(session),
      m_ports(ports)
{
    setWindowTitle(QStringLiteral("Настройки связи с ККТ"));

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    ComboBox1 = new QComboBox(Panel1);
    ComboBox2 = new QComboBox(Panel1);
    ComboBox2->addItems(SettSpeeds());
    Edit1 = new QLineEdit(QStringLiteral("0"), Panel1);
    Edit2 = new QLineEdit(QStringLiteral("0"), Panel1);
    Button3 = new QPushButton(QStringLiteral("Проверить связь с ККТ"), Panel1);
    Button4 = new QPushButton(QStringLiteral("Найти ККТ"), Panel1);
    Button4->setToolTip(QStringLiteral("Опросить все порты списка на всех скоростях"));
    SearchPanel = new TKktSearchPanel(session.Link, Panel1);
    Button2 = new QPushButton(QStringLiteral("Применить"), this);
    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    for (QWidget* w : {static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(ComboBox2),
                       static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2)})
        w->setMinimumWidth(150);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);

    auto* grid = new QGridLayout(Panel1);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    const auto addRow = [&](int row, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, Panel1);
        label->setBuddy(field);
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(field, row, 1);
    };
    addRow(0, QStringLiteral("COM порт:"), ComboBox1);
    addRow(1, QStringLiteral("Скорость:"), ComboBox2);
    addRow(2, QStringLiteral("Тайм-аут:"), Edit1);
    addRow(3, QStringLiteral("Номер ККМ:"), Edit2);
    // Room for "Остановить поиск" from the start: a search must not squeeze "Проверить связь с ККТ".
    Button4->setText(QStringLiteral("Остановить поиск"));
    Button4->setMinimumWidth(Button4->sizeHint().width());
    Button4->setText(QStringLiteral("Найти ККТ"));
    auto* linkButtons = new QHBoxLayout;
    linkButtons->setSpacing(6);
    linkButtons->addWidget(Button3);
    linkButtons->addWidget(Button4);
    grid->addLayout(linkButtons, 4, 0, 1, 2);
    grid->addWidget(SearchPanel, 5, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->addWidget(Panel1);
    root->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // "Применить" comes first, the way the user finishes the dialog.
    setTabOrder(Button2, Button1);
    setTabOrder(Button1, ComboBox1);
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button3);
    setTabOrder(Button3, Button4);

    // activated: only the user's choice counts as a change, not the selection made by FormShow.
    connect(ComboBox1, &QComboBox::activated, this, &TFormSett::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &TFormSett::ComboBox2Change);
    connect(Edit1, &QLineEdit::textChanged, this, &TFormSett::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TFormSett::Edit2Change);
    connect(Button1, &QPushButton::clicked, this, &TFormSett::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormSett::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormSett::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFormSett::Button4Click);
    connect(SearchPanel, &TKktSearchPanel::FirstFound, this, &TFormSett::SearchFirstFound);
    connect(SearchPanel, &TKktSearchPanel::Finished, this, &TFormSett::SearchFinished);
    // The device behind the chosen port, as far as the system knows it.
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        ComboBox1->setToolTip(index >= 0 ? ComboBox1->itemData(index, Qt::ToolTipRole).toString() : QString());
    });
}

TSettFields TFormSett::Fields() const
{
    TSettFields f;
    if (ComboBox1->currentIndex() >= 0)
        f.port = ComboBox1->currentText();
    if (ComboBox2->currentIndex() >= 0)
        f.speed = ComboBox2->currentText();
    f.timeOut = Edit1->text();
    f.number = Edit2->text();
    return f;
}

void TFormSett::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    FormShow();
}

void TFormSett::FormShow()
{
    const TStructSetting& sett = m_session.StructSett;
    ComboBox1->clear();
    ComboBox1->addItems(m_ports);
    for (int i = 0; i < m_ports.size(); ++i)
        ComboBox1->setItemData(i, PortDescription(m_ports[i]), Qt::ToolTipRole);
    ComboBox1->setCurrentIndex(m_ports.indexOf(sett.PortSett.Name));  // exact, case-sensitive; -1 when absent
    ComboBox2->setCurrentIndex(SettSpeeds().indexOf(QString::number(sett.PortSett.Speed)));
    Edit1->setText(QString::number(sett.PortSett.TimeOut));
    Edit2->setText(QString::number(sett.NumKKT));

    if (ComboBox1->currentIndex() >= 0 && ComboBox2->currentIndex() >= 0 && !Edit1->text().isEmpty()
        && Edit1->text() != QLatin1String("0"))
        Button2->setFocus();
    else
        Button2->setEnabled(false);
}

void TFormSett::ComboBox1Change()
{
    Button2->setEnabled(true);
}

void TFormSett::ComboBox2Change()
{
    Button2->setEnabled(true);
}

void TFormSett::Edit1Change()
{
    Button2->setEnabled(SettTimeOutAllowsApply(Edit1->text()));
}

void TFormSett::Edit2Change()
{
    const bool filled = !Edit2->text().isEmpty();
    Button2->setEnabled(filled);
    Button3->setEnabled(filled);
}

bool TFormSett::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyPress)
        return Edit1KeyPress(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

// True when the key is dropped. Typed characters other than digits never reach the edits; editing
// and navigation keys (Backspace, Delete, arrows, Tab, Enter, Esc) keep their usual meaning.
bool TFormSett::Edit1KeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace)
        return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    for (QChar c : text) {
        if (!SettKeyAllowed(c))
            return true;
    }
    return false;
}

void TFormSett::Button1Click()
{
    reject();
}

void TFormSett::Button2Click()
{
    // Every field is converted before any is applied: a bad one leaves the settings as they were.
    try {
        ApplySettFields(Fields(), m_session.StructSett);
    } catch (const ConversionError& e) {
        ShowMessage(this, MsgKind::Error, e.message());
        return;
    }
    accept();
}

void TFormSett::Button3Click()
{
    KktLinkArgs args;
    try {
        args = SettFieldsLinkArgs(Fields());
    } catch (const ConversionError&) {
        ShowMessage(this, MsgKind::Information, QStringLiteral("ВНИМАНИЕ!\r\nНеккоректный параметр!"));
        return;
    }
    KktStatusInfo info;
    KktResult result;
    {
        WaitCursor wait;
        result = m_session.Link.KktStatus(args, info);
    }
    if (result == KKT_OK)
        ShowMessage(this, MsgKind::Information, LinkCheckPassedText());
    else
        ShowMessage(this, MsgKind::Confirmation, LinkCheckFailedText());
}

void TFormSett::Button4Click()
{
    // The last search's verdict is still to be read: a key press meant for its box starts nothing.
    if (m_reportPending)
        return;
    if (SearchPanel->Running()) {
        SearchPanel->Stop();
        return;
    }
    int32_t number = 0;
    try {
        number = StrToInt(Edit2->text());
    } catch (const ConversionError&) {
        ShowMessage(this, MsgKind::Information, QStringLiteral("ВНИМАНИЕ!\r\nНеккоректный параметр!"));
        return;
    }
    m_beforeSearch = {ComboBox1->currentIndex(), ComboBox2->currentIndex(), Button2->isEnabled(), Button3->isEnabled()};
    SetSearching(true);
    QList<int32_t> speeds;
    for (const QString& speed : SettSpeeds())
        speeds << speed.toInt();
    SearchPanel->Start(m_ports, speeds, number);
}

void TFormSett::SearchFirstFound(const QString& port, int32_t speed)
{
    // The user still confirms with "Применить".
    ComboBox1->setCurrentIndex(m_ports.indexOf(port));
    ComboBox2->setCurrentIndex(SettSpeeds().indexOf(QString::number(speed)));
}

void TFormSett::SearchFinished(bool stopped)
{
    SetSearching(false);
    Button2->setEnabled(m_beforeSearch.apply);
    Button3->setEnabled(m_beforeSearch.check);
    const KktSearch* search = SearchPanel->Search();
    if (stopped) {
        ComboBox1->setCurrentIndex(m_beforeSearch.port);
        ComboBox2->setCurrentIndex(m_beforeSearch.speed);
        return;
    }
    if (!search->found().isEmpty()) {
        ComboBox2Change();  // a new choice of port and speed, as if the user had made it
        Button2->setFocus();
        return;
    }
    QStringList lines{QStringLiteral("ВНИМАНИЕ!"), QStringLiteral("ККТ не найдена!")};
    if (search->reports().isEmpty())
        lines << QStringLiteral("В списке нет ни одного порта.");
    for (const KktPortReport& r : search->reports())
        lines << QStringLiteral("%1: %2").arg(r.port, PortVerdictText(r));
    // Shown from the event loop, not from inside the search's last step: the box's own event loop
    // must not run a new search (or its stop) nested in the one that just ended.
    m_reportPending = true;
    const QString text = lines.join(QStringLiteral("\r\n"));
    QTimer::singleShot(0, this, [this, text] {
        ShowMessage(this, MsgKind::Information, text);
        m_reportPending = false;
    });
}

void TFormSett::SetSearching(bool searching)
{
    for (QWidget* w : {static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(ComboBox2),
                       static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Button1),
                       static_cast<QWidget*>(Button2), static_cast<QWidget*>(Button3)})
        w->setEnabled(!searching);
    Button4->setText(searching ? QStringLiteral("Остановить поиск") : QStringLiteral("Найти ККТ"));
}

void TFormSett::reject()
{
    SearchPanel->Stop();
    QDialog::reject();
}
