#include "files/xlsprice.h"

#include "files/numbertext.h"
#include "text/conversion.h"

QString XlsPriceToText(const QString& text)
{
    static const QString kZero = QStringLiteral("0.00");
    if (text.contains(u'.') || text.contains(u',')) {
        QString price = text;
        const qsizetype comma = price.indexOf(u',');
        if (comma >= 0)
            price[comma] = u'.';
        return IsDotFloat(price) ? price : kZero;
    }
    const QString whole = text.isEmpty() ? QStringLiteral("0") : text;
    int32_t value = 0;
    return TryStrToInt32(whole, value) ? whole + QStringLiteral(".00") : kZero;
}
