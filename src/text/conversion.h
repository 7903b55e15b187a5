#pragma once
#include <QString>
#include <cstdint>
#include <stdexcept>

// A text that has to be a number and is not. Actions that convert user text throw it; the caller
// abandons the action and shows message() — the same words wherever such a text is met.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text);
    QString message() const { return m_message; }
    QString text() const { return m_text; }

private:
    QString m_text;
    QString m_message;
};

// Decimal integers with an optional sign and leading blanks; nothing else is a number.
bool TryStrToInt64(const QString& text, int64_t& value);
bool TryStrToInt32(const QString& text, int32_t& value);
int64_t StrToInt64(const QString& text);  // throws ConversionError
int32_t StrToInt(const QString& text);    // throws ConversionError
