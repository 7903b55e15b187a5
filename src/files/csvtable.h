#pragma once
#include "tables/griddata.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A grid as comma-separated text: UTF-8 without byte-order mark, fields quoted where they hold a comma,
// a quote or a line break (quotes doubled inside), records ended by LF. Input may end its records
// with CR LF or LF and may start with a byte-order mark.

struct TCsvRecord {
    int line = 0;  // line of the file the record starts on, from 1
    QStringList fields;
};

struct TCsvRead {
    QString error;  // empty when the text was read; otherwise why not, with the line
    QList<TCsvRecord> records;
    bool ok() const { return error.isEmpty(); }
};

// Empty lines carry no record.
TCsvRead ParseCsv(const QByteArray& bytes);

// A file whose first record must be `heading`, also as spreadsheet programs with Russian regional
// settings save it: UTF-8 (with or without byte-order mark) or Windows-1251, fields separated by ",",
// ";" or TAB. The encoding and the separator are those that make the first record the heading. A
// file that fits no way reads as ParseCsv does (when it is UTF-8); one that fits in both encodings, or
// with several separators and its records do not tell them apart, is refused saying which.
TCsvRead ParseCsvWithHeading(const QByteArray& bytes, const QStringList& heading);

// Plain: the format above. Spreadsheet: for spreadsheet programs with Russian regional settings,
// UTF-8 with byte-order mark, ";" between fields, records ended by CR LF.
enum class CsvStyle { Plain, Spreadsheet };
QByteArray FormatCsv(const QList<QStringList>& records, CsvStyle style = CsvStyle::Plain);

// Row 0 of the grid, then rows first..last, every column.
QList<QStringList> GridCsvRecords(const TGridData& grid, int first, int last);

struct TCsvApply {
    QString error;     // empty when every record was taken
    QList<int> rows;   // the grid rows the records filled, in file order
    QList<int> lines;  // the file line of each of those records
    bool ok() const { return error.isEmpty(); }
};

// Takes a read file into the grid: the first record must be the grid's row 0, every other record a
// data row whose first field is exactly the column 0 text of one grid row, each row at most once,
// with as many fields as the grid has columns. On any failure the grid is left as it was.
TCsvApply ApplyCsvRecords(const TCsvRead& csv, TGridData& grid);
