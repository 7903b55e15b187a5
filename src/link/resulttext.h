#pragma once
#include "link/kktlink.h"

#include <QString>

// One register command's result in words, with the port and speed it used; when the line itself
// failed, it points to "Найти ККТ". For the main window's status bar.
QString KktResultText(const KktCommandReport& report);

// The command's name as the user knows it ("Запрос состояния ККТ", ...).
QString KktCommandName(char command);
