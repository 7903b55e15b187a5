#include "app/win/fileversion.h"

#include "app/programversion.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <windows.h>

QString GetFileVersion(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return {};
    const auto* name = reinterpret_cast<const wchar_t*>(fileName.utf16());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(name, &ignored);
    if (size == 0)
        return {};
    QByteArray data(int(size), '\0');
    if (!GetFileVersionInfoW(name, 0, size, data.data()))
        return {};
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes))
        return {};
    for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
        // Language and code page, four hexadecimal digits each: 041904b0 for Russian, Unicode.
        const QString key = QString::asprintf("\\StringFileInfo\\%04x%04x\\FileVersion", translations[i].language,
                                              translations[i].codePage);
        wchar_t* value = nullptr;
        UINT length = 0;
        if (VerQueryValueW(data.data(), reinterpret_cast<const wchar_t*>(key.utf16()), reinterpret_cast<void**>(&value),
                           &length) &&
            value)
            return QString::fromWCharArray(value, int(wcsnlen(value, length)));
    }
    return {};
}

QString ProgramVersion()
{
    return GetFileVersion(QCoreApplication::applicationFilePath());
}
