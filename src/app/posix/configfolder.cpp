#include "app/settings.h"

#include <QDir>
#include <QStandardPaths>

QString ConfigFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/kkt-config");
    QDir().mkpath(folder);
    return folder;
}
