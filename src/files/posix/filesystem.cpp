#include "files/filesystem.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

QString ReplaceFileAtomically(const QString& source, const QString& target)
{
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        return QString::fromLocal8Bit(strerror(errno));
    return {};
}

QByteArray LibraryFileName(const QString& path)
{
    return QFile::encodeName(path);
}

QByteArray LibraryTempFolder()
{
    return {};
}

unzFile OpenZipForReading(const QString& fileName)
{
    return unzOpen64(QFile::encodeName(fileName).constData());
}
