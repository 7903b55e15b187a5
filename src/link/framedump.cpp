#include "link/framedump.h"

QString ByteToHex(uint8_t b)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const QChar digits[2] = {QLatin1Char(kDigits[b >> 4]), QLatin1Char(kDigits[b & 0x0F])};
    return QString(digits, 2);
}

QString FrameDumpItems(const uint8_t* frame, uint32_t count)
{
    static const char kDigits[] = "0123456789ABCDEF";
    // Each item is "NNN-HHH;  ": ten characters (positions above 999 take one more digit).
    QString out;
    out.reserve(static_cast<qsizetype>(count) * 11);
    for (uint32_t i = 0; i < count; ++i) {
        out += QString::number(i).rightJustified(3, QLatin1Char('0'));
        out += QLatin1Char('-');
        out += QLatin1Char(kDigits[frame[i] >> 4]);
        out += QLatin1Char(kDigits[frame[i] & 0x0F]);
        out += QLatin1String("H;  ");
    }
    return out;
}

QString FrameDumpEntry(const uint8_t* frame, uint32_t count, bool isAnswer)
{
    if (count == 0)
        return isAnswer ? QStringLiteral("Ответ пуст\r\n") : QStringLiteral("Запрос пуст\r\n");
    if (isAnswer)
        return QStringLiteral("Ответ: \r\n") + FrameDumpItems(frame, count) + QStringLiteral("\r\n");
    return QStringLiteral("Запрос: \r\n") + FrameDumpItems(frame, count);
}
