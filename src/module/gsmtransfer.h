#pragma once
#include "link/kktlink.h"

#include <QString>
#include <functional>

class GsmGridModel;

// Outcome of a run over rows 1..7: the first failing row (0 when all went through) and its box text.
struct GsmTransferResult {
    int failedRow = 0;
    KktResult result = KKT_OK;
    QString message;
    bool ok() const { return failedRow == 0; }
};

// Called after each row with the progress in percent (k * 100 / 7 rounded: 14, 29, ... 100).
using GsmProgress = std::function<void(int percent)>;

// Writes the seven values to table 5 (row 7 as its device code); stops at the first failure.
GsmTransferResult WriteGsmParams(KktLink& link, const KktLinkArgs& args, const GsmGridModel& grid,
                                 const GsmProgress& progress);
// Reads the seven values into the grid (row 7 through the device codes); stops at the first failure,
// leaving the rows before it read and the rest untouched.
GsmTransferResult ReadGsmParams(KktLink& link, const KktLinkArgs& args, GsmGridModel& grid,
                                const GsmProgress& progress);

int GsmProgressPercent(int row);
