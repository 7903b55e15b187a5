#pragma once
#include "files/goodstable.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The 1C exchange file (".1cdb"): Windows-1251 lines ended by CR LF; an SOH line, one goods line
// per goods row (STX, six TAB-separated fields Number, Name, TypeFont, Shtr, Price, Section, ETX)
// and an EOT line.

// The export's font field: the goods table has no font column, and the import accepts either name.
inline const QString kExportTypeFont = QStringLiteral("Узкий");

// All 6002 lines of an export of goods rows 1..6000 (columns 1, 2, 4, 5).
QByteArray Export1cdb(const TGoodsTable& goods);

struct T1cdbImport {
    bool accepted = false;
    int count = 0;  // goods lines taken from the file
    TGoodsTable goods;  // when accepted: the reset table with the file's rows applied
};

// Checks the whole file before anything is applied: a rejected file yields no table at all.
T1cdbImport Import1cdb(const QByteArray& bytes);

struct T1cdbSave {
    bool ok = false;
    QString error;
};
// Writes through a temporary file renamed over the target: the old file survives any failure.
T1cdbSave Save1cdbFile(const QString& fileName, const TGoodsTable& goods);

struct T1cdbLoad {
    QString error;                  // the file could not be read: nothing else is set
    std::optional<T1cdbImport> import;
};
T1cdbLoad Load1cdbFile(const QString& fileName);
