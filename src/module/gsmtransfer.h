#pragma once
#include "link/kktlink.h"
#include "tables/griddata.h"
#include "tables/tablerun.h"

#include <QList>

// The module's part of the register (TableId::Module, a grid of rows 1..7) to and from register table
// 5, as runs of the tables go: the hooks' progress after each row (done of total rows), entryDone for
// each row that went through, aborted polled before each row. A run stops at the first failure with
// the module's own message ("Не удалось записать параметр ..."), or before its next row on request.

// Writes the given rows (1..7, ascending; the type row as its device code).
TRunResult WriteGsmRows(KktLink& link, const KktLinkArgs& args, const TGridData& grid, const QList<int>& rows,
                        const TRunHooks& hooks = {});
// All seven rows.
TRunResult WriteGsmParams(KktLink& link, const KktLinkArgs& args, const TGridData& grid, const TRunHooks& hooks = {});
// Reads the seven values into the grid (the type row through the device codes), leaving the rows
// before a failure read and the rest untouched.
TRunResult ReadGsmParams(KktLink& link, const KktLinkArgs& args, TGridData& grid, const TRunHooks& hooks = {});
