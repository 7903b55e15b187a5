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
QByteArray FormatCsv(const QList<QStringList>& records);

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
