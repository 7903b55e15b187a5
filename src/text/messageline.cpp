#include "text/messageline.h"

QString StatusLine(const QString& message)
{
    QString line = message;
    for (const QString& lead : {QStringLiteral("Внимание!\r\n"), QStringLiteral("ВНИМАНИЕ!\r\n")})
        if (line.startsWith(lead))
            line.remove(0, lead.size());
    return line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}
