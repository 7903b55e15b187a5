#pragma once
#include <QString>

// What the link check tells the user, the same from the link dialog and the command line.
inline QString LinkCheckPassedText()
{
    return QStringLiteral("Связь с ККТ установленна!");
}

inline QString LinkCheckFailedText()
{
    return QStringLiteral("ВНИМАНИЕ!\r\nНе удалось подключиться к ККТ!");
}
