#include "text/conversion.h"

#include <limits>

ConversionError::ConversionError(const QString& text)
    : std::runtime_error(("'" + text + "' is not a valid integer value").toStdString()),
      m_text(text),
      m_message("'" + text + "' is not a valid integer value")
{
}

bool TryStrToInt64(const QString& text, int64_t& value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return false;
    // Accumulate as a negative number so that INT64_MIN fits.
    int64_t acc = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        const int digit = c - u'0';
        if (acc < (std::numeric_limits<int64_t>::min() + digit) / 10)
            return false;
        acc = acc * 10 - digit;
    }
    if (!negative) {
        if (acc == std::numeric_limits<int64_t>::min())
            return false;
        acc = -acc;
    }
    value = acc;
    return true;
}

bool TryStrToInt32(const QString& text, int32_t& value)
{
    int64_t wide = 0;
    if (!TryStrToInt64(text, wide) || wide < std::numeric_limits<int32_t>::min()
        || wide > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(wide);
    return true;
}

int64_t StrToInt64(const QString& text)
{
    int64_t value = 0;
    if (!TryStrToInt64(text, value))
        throw ConversionError(text);
    return value;
}

int32_t StrToInt(const QString& text)
{
    int32_t value = 0;
    if (!TryStrToInt32(text, value))
        throw ConversionError(text);
    return value;
}
