#pragma once
#include "text/messageline.h"

#include <QString>
#include <functional>

class QWidget;

// The system's modal message boxes. Information, Warning, Error and Confirmation (question icon) have
// one OK button; Question has "Да" and "Нет", whatever the system's language.
enum class MsgKind { Information, Warning, Error, Confirmation, Question };

// Shows a modal box; true for OK or Yes.
bool ShowMessage(QWidget* parent, MsgKind kind, const QString& text);


// A question with "Да", "Нет" and "Отмена" (Esc and the close button are "Отмена").
enum class MsgAnswer { Yes, No, Cancel };
MsgAnswer AskYesNoCancel(QWidget* parent, const QString& text);

// Tests and the command line replace the boxes: the handler gets every message and gives the answer.
// An empty handler restores the real boxes.
using MessageHandler = std::function<bool(MsgKind, const QString&)>;
void SetMessageHandler(MessageHandler handler);
// The same for the three-way question; without it, the message handler answers it as a Question
// (true: Yes, false: No).
using AnswerHandler = std::function<MsgAnswer(const QString&)>;
void SetAnswerHandler(AnswerHandler handler);
