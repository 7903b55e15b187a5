#pragma once
#include <QString>

#include <windows.h>

// The system's own text for an error code of GetLastError(), with the code: "Отказано в доступе. (5)".
QString WindowsErrorText(DWORD code);

// The Win32 name of a file or device as the wide-character functions take it.
inline const wchar_t* WideName(const QString& name)
{
    return reinterpret_cast<const wchar_t*>(name.utf16());
}
