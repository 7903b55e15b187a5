#include "files/filesystem.h"

#include "link/win/winerror.h"

#include <QDir>
#include <iowin32.h>
#include <windows.h>

QString ReplaceFileAtomically(const QString& source, const QString& target)
{
    // Write-through: the call returns once the new name is on the disk, not in a cache.
    if (!MoveFileExW(WideName(QDir::toNativeSeparators(source)), WideName(QDir::toNativeSeparators(target)),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return WindowsErrorText(GetLastError());
    return {};
}

QByteArray LibraryFileName(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    const auto tryCodePage = [](const QString& name) -> QByteArray {
        BOOL lost = FALSE;
        const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, WideName(name), -1, nullptr, 0, nullptr,
                                             &lost);
        if (size <= 0 || lost)
            return {};
        QByteArray bytes(size, '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, WideName(name), -1, bytes.data(), size, nullptr, &lost);
        bytes.chop(1);  // the terminating zero
        return lost ? QByteArray() : bytes;
    };
    if (QByteArray named = tryCodePage(native); !named.isEmpty())
        return named;
    wchar_t shortName[MAX_PATH + 1] = {};
    const DWORD length = GetShortPathNameW(WideName(native), shortName, MAX_PATH);
    if (length == 0 || length > MAX_PATH)
        return {};
    return tryCodePage(QString::fromWCharArray(shortName, int(length)));
}

QByteArray LibraryTempFolder()
{
    // The C library's tmpfile() writes to the root of the system drive, which ordinary users may not.
    return LibraryFileName(QDir::tempPath());
}

unzFile OpenZipForReading(const QString& fileName)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    return unzOpen2_64(WideName(QDir::toNativeSeparators(fileName)), &functions);
}
