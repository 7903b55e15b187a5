#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// The workbook stream of an ".xls" compound document ("Workbook" as Excel 97 and later write it,
// "Book" for Excel 5.0/95), read whole: through libgsf (posix/), through the structured-storage
// functions on Windows (win/). Empty with why set when the file is no compound
// document or holds no workbook stream.
std::optional<QByteArray> ReadWorkbookStream(const QString& fileName, QString& why);
