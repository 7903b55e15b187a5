#include "fuzzinput.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

QString WriteFuzzFile(const char* name, const uint8_t* data, size_t size)
{
    const QString path =
        QDir::temp().filePath(QStringLiteral("kkt-fuzz-%1-%2").arg(::getpid()).arg(QLatin1String(name)));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}
