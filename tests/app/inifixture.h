#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure messages: texts as UTF-8, bytes with the non-printable ones escaped.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    static const char hex[] = "0123456789ABCDEF";
    *os << '"';
    for (char c : b) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && u != '\\')
            *os << c;
        else
            *os << "\\x" << hex[u >> 4] << hex[u & 15];
    }
    *os << '"';
}

// A fresh folder per test and raw file access, so the tests see the bytes on disk.
class IniFolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    static void writeBytes(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    static QByteArray readBytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
