#include "fuzzentries.h"
#include "fuzzinput.h"

#include "files/csvtable.h"
#include "tables/tabledefs.h"

// First byte: the table whose grid takes the records; the rest is the file.
int FuzzCsv(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const TableId id = TableId(in.byte() % kTableCount);
    const QByteArray bytes = in.rest();
    TGridData grid = InitGrid(id);
    const TGridData before = grid;
    // A file of a spreadsheet program, its encoding and separator told by the grid's heading row.
    TGridData detected = grid;
    if (!ApplyCsvRecords(ParseCsvWithHeading(bytes, GridCsvRecords(grid, 1, 0).first()), detected).ok()) {
        for (int r = 0; r < grid.RowCount(); ++r)
            for (int c = 0; c < grid.ColCount(); ++c)
                if (detected.Cell(c, r) != before.Cell(c, r))
                    __builtin_trap();
    }

    const TCsvRead csv = ParseCsv(bytes);
    if (!csv.ok())
        return 0;
    // Records written out read back as the same fields. A record of one field is left out (one empty
    // field is written as an empty line, which carries no record), and so is a file whose first field
    // starts with U+FEFF (read back as a byte-order mark): the first record of a grid's file is its
    // heading row, and grids have more than one column.
    QList<QStringList> fields;
    for (const TCsvRecord& record : csv.records)
        if (record.fields.size() > 1)
            fields.append(record.fields);
    while (!fields.isEmpty() && fields.front().front().startsWith(QChar(0xFEFF)))
        fields.removeFirst();
    const TCsvRead again = ParseCsv(FormatCsv(fields));
    if (!again.ok() || again.records.size() != fields.size())
        __builtin_trap();
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (again.records[i].fields != fields[i])
            __builtin_trap();

    const TCsvApply applied = ApplyCsvRecords(csv, grid);
    if (!applied.ok()) {
        // A refused file leaves the grid as it was.
        for (int r = 0; r < grid.RowCount(); ++r)
            for (int c = 0; c < grid.ColCount(); ++c)
                if (grid.Cell(c, r) != before.Cell(c, r))
                    __builtin_trap();
    }
    return 0;
}
