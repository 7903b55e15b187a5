#pragma once
#include "text/codepage.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh folder per test with raw access to the bytes on disk.
class FileFolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    static void writeText(const QString& file, const QString& text)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QByteArray bytes = codepage::toCp1251(text);
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    static QByteArray readBytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QString readText(const QString& file) { return codepage::fromCp1251(readBytes(file)); }
};
