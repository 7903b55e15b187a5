#pragma once
#include <QString>
#include <functional>

class QWidget;

// The system's modal message boxes. Information, Warning, Error and Confirmation (question icon) have
// one OK button; Question has Yes and No.
enum class MsgKind { Information, Warning, Error, Confirmation, Question };

// Shows a modal box; true for OK or Yes.
bool ShowMessage(QWidget* parent, MsgKind kind, const QString& text);

// Tests and the command line replace the boxes: the handler gets every message and gives the answer.
// An empty handler restores the real boxes.
using MessageHandler = std::function<bool(MsgKind, const QString&)>;
void SetMessageHandler(MessageHandler handler);
