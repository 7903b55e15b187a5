#pragma once
#include <QString>
#include <ostream>

// Failure messages with texts as UTF-8 rather than raw bytes.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
