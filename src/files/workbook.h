#pragma once
#include "link/kktlink.h"
#include "link/registrationdata.h"
#include "whole/kktregister.h"

#include <QDateTime>
#include <QString>

// The whole register in one ".xlsx" workbook that any spreadsheet program opens: one sheet per part,
// named as the part ("Операторы" ... "Параметры GSM"), holding the grid as it is shown (row 1 the
// headings, column A the labels and numbers, every cell as text exactly as in the grid); "Регистрация" with the
// registration data as read (for reading only); and "Копия", which describes the copy.

inline const QString kRegistrationSheet = QStringLiteral("Регистрация");
inline const QString kCopySheet = QStringLiteral("Копия");

// What the sheet describing the copy says.
struct TCopyDescription {
    QString serialNumber;  // the register's serial number; empty when the registration data was not read
    QDateTime made;
    QString port;
    int speed = 0;
    QString version;  // of this program
};

// Now, the link's port and speed, the serial number when the registration data was read, this program.
TCopyDescription DescribeCopy(const KktLinkArgs& link, const RegistrationData* registration);

// The sheets of `parts`, the registration sheet when `registration` is given, and the description,
// written through a temporary file that replaces `fileName` only when complete. Empty on success,
// else the error.
QString SaveWorkbook(const QString& fileName, const TKktRegister& reg, const TRegisterParts& parts,
                     const RegistrationData* registration, const TCopyDescription& copy);

struct TWorkbookLoad {
    QString error;         // names the sheet, row and column; empty when loaded
    TRegisterParts parts;  // the sheets that were in the book and went into the grids
    bool ok() const { return error.isEmpty(); }
};

// Loads the sheets of `wanted` that the book holds, by the command line's CSV rules (column A names
// the row; headings, row order and cells checked as typed), into the grids. Every sheet is checked
// before any grid changes: on any failure, and for a book with none of the sheets, nothing changes.
TWorkbookLoad LoadWorkbook(const QString& fileName, TKktRegister& reg,
                           const TRegisterParts& wanted = TRegisterParts::All());

// What the register would refuse of a loaded book's parts, as the write runs check rows before the
// first exchange: "лист "...", строка таблицы ..."; empty when every row of `parts` can be written.
QString WorkbookWriteProblem(const TKktRegister& reg, const TRegisterParts& parts);

// The serial number the book's copy sheet names (the register it was made of); empty when it names none.
QString WorkbookSerial(const QString& fileName);

// A name ending in ".xlsx" (case ignored): the only kind of book this program writes.
bool IsWorkbookFile(const QString& fileName);

// Whether the book has a sheet named as the table's tab (a goods sheet of another origin has not).
bool WorkbookHasSheet(const QString& fileName, TableId id);
