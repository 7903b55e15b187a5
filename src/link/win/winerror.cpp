#include "link/win/winerror.h"

QString WindowsErrorText(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message;
    if (length > 0 && text)
        message = QString::fromWCharArray(text, int(length)).trimmed();
    LocalFree(text);
    return message.isEmpty() ? QStringLiteral("ошибка %1").arg(code) : QStringLiteral("%1 (%2)").arg(message).arg(code);
}
