#pragma once
#include <QString>
#include <QStringList>

// The usage texts: the tool's, and one per command ("module" covers both of its actions).
QString ToolHelp();
QString CommandHelp(const QString& command);
const QStringList& CommandNames();
