#pragma once
#include "link/kktlink.h"
#include "link/registrationdata.h"
#include "module/gsmtransfer.h"
#include "tables/tablerun.h"
#include "whole/registergrids.h"

#include <QString>
#include <functional>

// "Прочитать всё из ККТ" / "Записать всё в ККТ": one table after another, each exactly as its own
// buttons run it over the whole range, then the module parameters. Never registers and never clears
// the goods base.

// The run's one progress display.
struct TWholeProgress {
    int percent = 0;       // share of the whole run done
    QString part;          // what is being done: the tab's caption, "Параметры GSM", "Регистрация"
    int secondsLeft = -1;  // from the pace so far; -1 until there is one
};

struct TWholeHooks {
    std::function<void(const TWholeProgress&)> progress;
    // Polled after every exchange; true stops the run.
    std::function<bool()> aborted;
    // The hooks of each table's run (rows shown, the agents' pause, ...). Their progress and aborted
    // members are called as well as the run's own.
    std::function<TRunHooks(TableId)> tableHooks;
    // A module parameter row completely read or written (what the register now holds).
    GsmRowDone gsmRowDone;
};

struct TWholeResult {
    QString message;  // the failed part's own message and which part it was; empty when all went through
    RunSeverity severity = RunSeverity::None;
    bool aborted = false;
    QString part;     // the part the run stopped in
    bool ok() const { return message.isEmpty(); }
};

inline const QString kRegistrationPartCaption = QStringLiteral("Регистрация");

// Reads the registration data (when `registration` is given), then the tables of `parts` over their
// whole ranges, then the module parameters. What was read before a failure stays in the grids.
TWholeResult ReadAll(KktLink& link, const KktLinkArgs& args, const TRegisterGrids& grids,
                     RegistrationData* registration, const TWholeHooks& hooks,
                     const TRegisterParts& parts = TRegisterParts::All());

// Writes the tables of `parts` over their whole ranges from the grids, then the module parameters.
TWholeResult WriteAll(KktLink& link, const KktLinkArgs& args, const TRegisterGrids& grids,
                      const TWholeHooks& hooks, const TRegisterParts& parts = TRegisterParts::All());

// The wait window's lines for the run: what runs, the share done and the part, the time left.
QString WholeProgressText(bool reading, const TWholeProgress& progress);
