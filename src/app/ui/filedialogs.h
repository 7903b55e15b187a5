#pragma once
#include <QString>
#include <functional>

class QWidget;

enum class FileDialogMode { Open, Save };

// Asks for a file name; empty when the user cancels. Save dialogs replace a file without asking and
// open dialogs accept a name that does not exist, as the system's file operations expect.
QString ChooseFileName(QWidget* parent, FileDialogMode mode, const QString& filter, const QString& defaultSuffix);

// Tests and scripted runs answer the dialogs: the handler gets mode, filter and suffix and gives the name.
using FileNameHandler = std::function<QString(FileDialogMode, const QString& filter, const QString& suffix)>;
void SetFileNameHandler(FileNameHandler handler);
