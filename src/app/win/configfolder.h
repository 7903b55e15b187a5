#pragma once
#include <QString>

// The settings folder rule: `programFolder` when a file can be created there, otherwise
// `userFolder` + "/kkt-config" (created on demand).
QString ChooseConfigFolder(const QString& programFolder, const QString& userFolder);
