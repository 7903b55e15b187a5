#include "app/ui/messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}

AnswerHandler& answerHandler()
{
    static AnswerHandler h;
    return h;
}

const QString kTitle = QStringLiteral("kkt-config");

// The system's texts use CR LF; a label shows LF.
QString Shown(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// The window speaks Russian on any system: the buttons say so whatever translation Qt has loaded.
void RussianButtons(QMessageBox& box)
{
    const std::pair<QMessageBox::StandardButton, const char16_t*> texts[] = {
        {QMessageBox::Ok, u"OK"}, {QMessageBox::Yes, u"Да"}, {QMessageBox::No, u"Нет"}, {QMessageBox::Cancel, u"Отмена"}};
    for (const auto& [which, text] : texts) {
        if (QAbstractButton* button = box.button(which))
            button->setText(QString::fromUtf16(text));
    }
}

QMessageBox::StandardButton Exec(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault,
                                 QMessageBox::StandardButton byEscape)
{
    QMessageBox box(icon, kTitle, Shown(text), buttons, parent);
    box.setDefaultButton(byDefault);
    box.setEscapeButton(byEscape);
    RussianButtons(box);
    box.exec();
    // Closed by its window's close button without an escape button: no answer.
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : byEscape;
}

}  // namespace

void SetMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}

void SetAnswerHandler(AnswerHandler h)
{
    answerHandler() = std::move(h);
}

bool ShowMessage(QWidget* parent, MsgKind kind, const QString& text)
{
    if (handler())
        return handler()(kind, text);
    switch (kind) {
    case MsgKind::Information:
        return Exec(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok) == QMessageBox::Ok;
    case MsgKind::Warning:
        return Exec(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok) == QMessageBox::Ok;
    case MsgKind::Error:
        return Exec(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok) == QMessageBox::Ok;
    case MsgKind::Confirmation:
        return Exec(parent, QMessageBox::Question, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok) == QMessageBox::Ok;
    case MsgKind::Question:
        return Exec(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                    QMessageBox::No) == QMessageBox::Yes;
    }
    return false;
}

MsgAnswer AskYesNoCancel(QWidget* parent, const QString& text)
{
    if (answerHandler())
        return answerHandler()(text);
    if (handler())
        return handler()(MsgKind::Question, text) ? MsgAnswer::Yes : MsgAnswer::No;
    switch (Exec(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                 QMessageBox::Yes, QMessageBox::Cancel)) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}
