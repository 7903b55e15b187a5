#pragma once
#include <QString>

// A message box's text as one line (a status bar, a table cell): without its "Внимание!" lead, its
// lines joined by spaces.
QString StatusLine(const QString& message);
