#pragma once
#include <QByteArray>
#include <QString>

// Windows-1251, the register's and the files' single-byte code page. A table of our own rather than
// QStringEncoder: it is the same on every Qt build (ICU or not) and costs nothing per call.
namespace codepage {

// Characters without a Windows-1251 code become '?', as the code page's own default character.
QByteArray toCp1251(const QString& text, bool* lossy = nullptr);
QString fromCp1251(const QByteArray& bytes);
QString fromCp1251(const char* bytes, qsizetype size);

}  // namespace codepage
