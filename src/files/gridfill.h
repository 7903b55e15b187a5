#pragma once
#include "files/csvtable.h"
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"

// Records read from a file (a CSV file, a workbook's sheet) into the grids, by one set of rules: the
// first record holds the headings, column 0 names the row, and every named row's cells pass the
// grid's input rules. The records' line numbers name the place of a problem. Nothing changes on failure.

// A CSV file meant for `grid`, in whatever encoding and separator a spreadsheet program saved it:
// they are told from the grid's heading row (ParseCsvWithHeading).
TCsvRead ParseGridCsv(const QByteArray& bytes, const TGridData& grid);

// Into the grid of any part of the register, which already holds its start-up content: agents get
// their signs chosen; the module's rows are named by caption and typed as its grid's filter lets
// them through, the type row taking "GSM", "WI-FI", nothing, or the text a read shows for a type the
// register does not know. Empty on success, else the error with its line.
QString FillTableGrid(const TCsvRead& records, TableId id, TGridData& grid, TAgentLocks& locks);
