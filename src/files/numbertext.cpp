#include "files/numbertext.h"

#include <QLocale>
#include <cmath>

bool IsDotFloat(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isDigit = [&](qsizetype k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (!isDigit(i))
            return false;
        while (isDigit(i))
            ++i;
    }
    return i == n;
}

QString NumberToText(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0");
    const double magnitude = std::floor(std::log10(std::fabs(value)));
    const int decimals = std::max(0, 14 - static_cast<int>(magnitude));
    QString text = QLocale::c().toString(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        return QStringLiteral("0");
    return text;
}
