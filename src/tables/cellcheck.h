#pragma once
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"

#include <QString>

// A file's cells go through the same gates as the user's typing: the grid's key rules, the value
// lists and the conversions of the write. Then the agents' signs are chosen as in the grid, which puts
// "Не используется" into the fields a sign does not use.

// Why `text` cannot stand in cell `col` of a data row, or an empty text when it can.
QString CellTextProblem(TableId id, int col, const QString& text);

// Checks every cell of `row` and, for agents, chooses the row's sign. The problem, or empty.
QString TakeFileRow(TableId id, TGridData& grid, TAgentLocks& locks, int row);

// What the write of row `row` would refuse before sending (an item that does not convert, an agent's
// malformed phone or INN, a section type of no list), or empty.
QString WriteRowProblem(TableId id, const TGridData& grid, int row);

// The first row of first..last that a file's cells or the write would refuse, as "строка таблицы
// "N": столбец "...": problem", or empty: what a write from a file checks before its first exchange.
QString GridWriteProblem(TableId id, const TGridData& grid, int first, int last);
