#pragma once
#include "link/kktlink.h"
#include "module/gsmgrid.h"

#include <QList>
#include <QString>
#include <functional>


// Outcome of a run over rows 1..7: the first failing row (0 when all went through) and its box text,
// or a run stopped on request before its next row.
struct GsmTransferResult {
    int failedRow = 0;
    KktResult result = KKT_OK;
    QString message;
    bool aborted = false;
    bool ok() const { return failedRow == 0 && !aborted; }
};

// Called after each row with the progress in percent (k * 100 / n rounded over the n rows of the run:
// 14, 29, ... 100 for all seven).
using GsmProgress = std::function<void(int percent)>;
// Called after each row that went through: the grid's row now holds what the register holds.
using GsmRowDone = std::function<void(int row)>;
// Polled before each row; true stops the run there, the rows before it done.
using GsmAborted = std::function<bool()>;

// Writes the seven values to table 5 (row 7 as its device code); stops at the first failure.
GsmTransferResult WriteGsmParams(KktLink& link, const KktLinkArgs& args, const GsmGridModel& grid,
                                 const GsmProgress& progress, const GsmRowDone& rowDone = {},
                                 const GsmAborted& aborted = {});
// The same for the given rows only (1..7, ascending), as "Записать изменённые" sends them.
GsmTransferResult WriteGsmRows(KktLink& link, const KktLinkArgs& args, const GsmGridModel& grid,
                               const QList<int>& rows, const GsmProgress& progress, const GsmRowDone& rowDone = {},
                               const GsmAborted& aborted = {});
// Reads the seven values into the grid (row 7 through the device codes); stops at the first failure,
// leaving the rows before it read and the rest untouched.
GsmTransferResult ReadGsmParams(KktLink& link, const KktLinkArgs& args, GsmGridModel& grid,
                                const GsmProgress& progress, const GsmRowDone& rowDone = {},
                                const GsmAborted& aborted = {});

int GsmProgressPercent(int row, int rows = gsm::kRows);
