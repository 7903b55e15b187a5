#include "fiscal/ui/ufiscalization.h"

#include "app/session.h"
#include "app/ui/messages.h"
#include "app/ui/uwait.h"
#include "fiscal/keypresskomponents.h"
#include "fiscal/memolines.h"
#include "fiscal/registration.h"
#include "fiscal/ui/scrollbox.h"
#include "fiscal/ui/ufiscalizationreason.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// Closes the wait window on every way out.
struct WaitGuard {
    ~WaitGuard() { HideWait(); }
};

template <size_t N>
void AddFlagGroup(QVBoxLayout* layout, QWidget* parent, const FlagGroup& group, std::array<QCheckBox*, N>& boxes,
                  const char* name)
{
    auto* box = new QGroupBox(group.title, parent);
    auto* inner = new QVBoxLayout(box);
    for (size_t i = 0; i < N; ++i) {
        boxes[i] = new QCheckBox(group.captions.at(static_cast<qsizetype>(i)), box);
        boxes[i]->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(i + 1));
        inner->addWidget(boxes[i]);
    }
    layout->addWidget(box);
}

template <size_t N>
std::array<bool, N> Ticks(const std::array<QCheckBox*, N>& boxes)
{
    std::array<bool, N> ticks{};
    for (size_t i = 0; i < N; ++i)
        ticks[i] = boxes[i]->isChecked();
    return ticks;
}

template <size_t N>
void SetTicks(const std::array<QCheckBox*, N>& boxes, const std::array<bool, N>& ticks)
{
    for (size_t i = 0; i < N; ++i)
        boxes[i]->setChecked(ticks[i]);
}

enum FlagState { FlagRegistered, FlagNotRegistered, FlagUnknown };

}  // namespace

TfrmFiscalization::TfrmFiscalization(KktSession& session, TfrmRegistratiobReason& reasons, QWidget* parent)
    : QDialog(parent), m_session(session), m_reasonDialog(reasons)
{
    setWindowTitle(QStringLiteral("Фискализация"));
    resize(620, 640);

    pnlHeader = new QFrame(this);
    pnlHeader->setFrameShape(QFrame::StyledPanel);
    btnFiscalDataRequest = new QPushButton(QStringLiteral("Запрос регистрационных данных"), pnlHeader);
    btnRegistration = new QPushButton(QStringLiteral("Регистрация"), pnlHeader);
    btnReRegistration = new QPushButton(QStringLiteral("Перерегистрация"), pnlHeader);
    lblFlagReg = new QLabel(QStringLiteral("Флаг регистрации"), pnlHeader);
    QFont bold = lblFlagReg->font();
    bold.setBold(true);
    lblFlagReg->setFont(bold);
    auto* header = new QVBoxLayout(pnlHeader);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnFiscalDataRequest);
    buttons->addWidget(btnRegistration);
    buttons->addWidget(btnReRegistration);
    buttons->addStretch(1);
    header->addLayout(buttons);
    header->addWidget(lblFlagReg);
    // Enter in an edit must not press a header button: a request would replace what was typed.
    for (QPushButton* b : {btnFiscalDataRequest, btnRegistration, btnReRegistration})
        b->setAutoDefault(false);
    // Registration starts only from a window filled by a successful request.
    btnRegistration->setEnabled(false);
    btnReRegistration->setEnabled(false);
    connect(btnFiscalDataRequest, &QPushButton::clicked, this, &TfrmFiscalization::FiscalDataRequest);
    connect(btnRegistration, &QPushButton::clicked, this, &TfrmFiscalization::btnRegistrationClick);
    connect(btnReRegistration, &QPushButton::clicked, this, &TfrmFiscalization::btnReRegistrationClick);

    ScrollBox = new TScrollBox(this);
    ScrollBox->setWidgetResizable(true);
    ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(ScrollBox);
    auto* fields = new QVBoxLayout(content);

    lbledtSerialNumber = AddLabeledEdit(fields, QStringLiteral("Серийный номер"), 9);
    lbledtRegNum = AddLabeledEdit(fields, QStringLiteral("Регистрационные номер"), 16);
    lbledtNameCassir = AddLabeledEdit(fields, QStringLiteral("Имя кассира Г"), 0);
    lbledtPosCassir = AddLabeledEdit(fields, QStringLiteral("Должность кассира Г"), 0);
    lbledtInnCassir = AddLabeledEdit(fields, QStringLiteral("ИНН кассира Г"), 12);
    memoWebsiteFNS = AddMemo(fields, QStringLiteral("Адрес сайта ФНС"), 2);
    memoEmailSender = AddMemo(fields, QStringLiteral("Электронный адрес отправителя"), 2);

    auto* grpOrg = new QGroupBox(QStringLiteral("Реквизиты организации"), content);
    auto* org = new QVBoxLayout(grpOrg);
    memoNameUser = AddMemo(org, QStringLiteral("Имя пользователя"), 5);
    memoAdress = AddMemo(org, QStringLiteral("Адресс расчета"), 5);
    memoPlace = AddMemo(org, QStringLiteral("Место расчета"), 4);
    lbledtINNUser = AddLabeledEdit(org, QStringLiteral("ИНН пользователя"), 12);
    fields->addWidget(grpOrg);

    AddFlagGroup(fields, content, TaxGroup(), chkTax, "chkTax");
    AddFlagGroup(fields, content, ModeGroup(), chkMode, "chkMode");
    AddFlagGroup(fields, content, AgentGroup(), chkAgent, "chkAgent");

    auto* grpOfd = new QGroupBox(QStringLiteral("Оператор фискальных данных"), content);
    auto* ofd = new QVBoxLayout(grpOfd);
    memoNameOFD = AddMemo(ofd, QStringLiteral("Наименование ОФД"), 2);
    lbledtINNOFD = AddLabeledEdit(ofd, QStringLiteral("ИНН ОФД"), 12);
    fields->addWidget(grpOfd);

    auto* grpKkt = new QGroupBox(QStringLiteral("Настройки ККТ"), content);
    auto* kkt = new QVBoxLayout(grpKkt);
    chkSetPrinter = new QCheckBox(QStringLiteral("Признак установки принтера в автомате"), grpKkt);
    chkAkcizGood = new QCheckBox(QStringLiteral("Признак подакцизного товара"), grpKkt);
    kkt->addWidget(chkSetPrinter);
    kkt->addWidget(chkAkcizGood);
    lbledtNumAuto = AddLabeledEdit(kkt, QStringLiteral("Номер автомата"), 0);
    fields->addWidget(grpKkt);
    fields->addStretch(1);
    ScrollBox->setWidget(content);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlHeader);
    layout->addWidget(ScrollBox, 1);
}

QLineEdit* TfrmFiscalization::AddLabeledEdit(QVBoxLayout* layout, const QString& caption, int digitLimit)
{
    auto* label = new QLabel(caption);
    auto* edit = new QLineEdit;
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    if (digitLimit > 0) {
        m_digitLimits.insert(edit, digitLimit);
        edit->installEventFilter(this);
    }
    return edit;
}

QPlainTextEdit* TfrmFiscalization::AddMemo(QVBoxLayout* layout, const QString& caption, int lines)
{
    auto* label = new QLabel(caption);
    auto* memo = new QPlainTextEdit;
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setTabChangesFocus(true);
    const QFontMetrics fm(memo->font());
    memo->setFixedHeight(fm.lineSpacing() * lines + 2 * memo->frameWidth() +
                         static_cast<int>(2 * memo->document()->documentMargin()) + 2);
    memo->setFixedWidth(fm.horizontalAdvance(QString(kMemoLineWidth + 4, QLatin1Char('W'))));
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    label->setBuddy(memo);
    layout->addWidget(label);
    layout->addWidget(memo);
    m_memoLimits.insert(memo, lines);
    memo->installEventFilter(this);
    connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] { MemoChanged(memo); });
    return memo;
}

// memo...Change: pasted lines beyond the limit or beyond 24 characters are cut.
void TfrmFiscalization::MemoChanged(QPlainTextEdit* memo)
{
    const MemoTrim trim =
        TrimMemoLines(memo->toPlainText(), memo->textCursor().position(), m_memoLimits.value(memo));
    if (!trim.changed)
        return;
    memo->setPlainText(trim.text);
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(trim.caret);
    memo->setTextCursor(cursor);
}

// The digit edits (KeyPressDigitEdit) and the memos (MemoLineKeyFilter) filter typed keys.
bool TfrmFiscalization::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QChar ch = KeyEventChar(key->key(), key->modifiers(), key->text());
    if (ch.isNull())
        return false;
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && m_digitLimits.contains(edit))
        return KeyPressDigitEdit(edit->text(), edit->hasSelectedText(), ch, m_digitLimits.value(edit)).isNull();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(watched); memo && m_memoLimits.contains(memo))
        return MemoLineKeyFilter(memo->toPlainText(), memo->textCursor().position(), ch, m_memoLimits.value(memo))
            .isNull();
    return false;
}

TFiscalForm TfrmFiscalization::CollectForm() const
{
    TFiscalForm f;
    f.SerialNumber = lbledtSerialNumber->text();
    f.RegNum = lbledtRegNum->text();
    f.NameCassir = lbledtNameCassir->text();
    f.PosCassir = lbledtPosCassir->text();
    f.InnCassir = lbledtInnCassir->text();
    f.WebsiteFNS = memoWebsiteFNS->toPlainText();
    f.EmailSender = memoEmailSender->toPlainText();
    f.NameUser = memoNameUser->toPlainText();
    f.Adress = memoAdress->toPlainText();
    f.Place = memoPlace->toPlainText();
    f.InnUser = lbledtINNUser->text();
    f.Tax = Ticks(chkTax);
    f.Mode = Ticks(chkMode);
    f.Agent = Ticks(chkAgent);
    f.NameOFD = memoNameOFD->toPlainText();
    f.InnOFD = lbledtINNOFD->text();
    f.SetPrinter = chkSetPrinter->isChecked();
    f.AkcizGood = chkAkcizGood->isChecked();
    f.NumAuto = lbledtNumAuto->text();
    return f;
}

void TfrmFiscalization::ShowForm(const TFiscalForm& f)
{
    lbledtSerialNumber->setText(f.SerialNumber);
    lbledtRegNum->setText(f.RegNum);
    lbledtINNUser->setText(f.InnUser);
    lbledtINNOFD->setText(f.InnOFD);
    SetTicks(chkMode, f.Mode);
    SetTicks(chkAgent, f.Agent);
    SetTicks(chkTax, f.Tax);
    chkSetPrinter->setChecked(f.SetPrinter);
    chkAkcizGood->setChecked(f.AkcizGood);
    lbledtNameCassir->setText(f.NameCassir);
    lbledtPosCassir->setText(f.PosCassir);
    memoNameUser->setPlainText(f.NameUser);
    memoAdress->setPlainText(f.Adress);
    memoPlace->setPlainText(f.Place);
    memoWebsiteFNS->setPlainText(f.WebsiteFNS);
    memoEmailSender->setPlainText(f.EmailSender);
    memoNameOFD->setPlainText(f.NameOFD);
    lbledtNumAuto->setText(f.NumAuto);
    lbledtInnCassir->setText(f.InnCassir);
}

void TfrmFiscalization::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // FormShow: the window always opens on the register's current data.
    if (!event->spontaneous())
        FiscalDataRequest();
}

void TfrmFiscalization::FiscalDataRequest()
{
    setDefaultMemo();
    const bool ok = FiscalDataRequestFun();
    btnRegistration->setEnabled(ok);
    btnReRegistration->setEnabled(ok);
}

void TfrmFiscalization::setDefaultMemo()
{
    for (auto it = m_memoLimits.cbegin(); it != m_memoLimits.cend(); ++it)
        static_cast<QPlainTextEdit*>(it.key())->setPlainText(ResetMemoLines(it.value()));
}

void TfrmFiscalization::SetFlagState(int state)
{
    const RegState s = state == FlagRegistered      ? RegState::Registered
                       : state == FlagNotRegistered ? RegState::NotRegistered
                                                    : RegState::Unknown;
    const Rgb c = RegStateColour(s);
    lblFlagReg->setText(RegStateText(s));
    QPalette p = lblFlagReg->palette();
    p.setColor(QPalette::WindowText, QColor(c.r, c.g, c.b));
    lblFlagReg->setPalette(p);
}

bool TfrmFiscalization::FiscalDataRequestFun()
{
    WaitGuard wait;
    ShowWait(QStringLiteral("Выполняется запрос регистрационных данных... Подождите..."));
    const DataRequestReport report = ::FiscalDataRequestFun(m_session.Link, m_session.LinkArgs(), m_data);
    if (!report.ok()) {
        ShowMessage(this, MsgKind::Error, report.message);
        SetFlagState(FlagUnknown);
        return false;
    }
    SetFlagState(m_data.Registered == 1 ? FlagRegistered : FlagNotRegistered);
    ShowForm(FormFromRegistration(m_data));
    return true;
}

void TfrmFiscalization::btnRegistrationClick()
{
    m_reregistration = 0;
    m_reasons = {0, 0, 0, 0};
    RegistrationFun();
}

void TfrmFiscalization::btnReRegistrationClick()
{
    m_reasonDialog.exec();
    if (m_reasonDialog.ReasonCancelled)
        return;
    m_reasons = m_reasonDialog.Reasons();
    m_reregistration = 1;
    RegistrationFun();
}

bool TfrmFiscalization::RegistrationFun()
{
    WaitGuard wait;
    ShowWait(QStringLiteral("Выпонляется регистрация... Подождите..."));
    const RegistrationReport report = ::RegistrationFun(m_session.Link, m_session.LinkArgs(), m_reregistration,
                                                        m_reasons, CollectForm(), m_data);
    if (report.outcome == RegistrationReport::InputRejected) {
        // Nothing was sent: the wait window goes before the box.
        HideWait();
        ShowMessage(this, MsgKind::Error, report.message);
        return false;
    }
    const bool done = report.outcome == RegistrationReport::Done;
    ShowMessage(this, done ? MsgKind::Information : MsgKind::Error, report.message);
    return done;
}
