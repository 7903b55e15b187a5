#include "app/ui/messages.h"

#include <QMessageBox>

namespace {

MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}

}  // namespace

void SetMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}

bool ShowMessage(QWidget* parent, MsgKind kind, const QString& text)
{
    if (handler())
        return handler()(kind, text);
    // The system's texts use CR LF; a label shows LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString title = QStringLiteral("kkt-config");
    switch (kind) {
    case MsgKind::Information:
        return QMessageBox::information(parent, title, shown) == QMessageBox::Ok;
    case MsgKind::Warning:
        return QMessageBox::warning(parent, title, shown) == QMessageBox::Ok;
    case MsgKind::Error:
        return QMessageBox::critical(parent, title, shown) == QMessageBox::Ok;
    case MsgKind::Confirmation: {
        QMessageBox box(QMessageBox::Question, title, shown, QMessageBox::Ok, parent);
        return box.exec() == QMessageBox::Ok;
    }
    case MsgKind::Question:
        return QMessageBox::question(parent, title, shown, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    return false;
}
