#pragma once
#include "link/kktlink.h"
#include "link/registrationdata.h"
#include "tables/tablerun.h"
#include "whole/kktregister.h"

#include <QString>
#include <functional>

// "Прочитать всё из ККТ" / "Записать всё в ККТ": one part of the register after another (the tables
// in tab order, then the module parameters), each exactly as its own buttons run it over the whole
// range. Never registers and never clears the goods base.

// The run's one progress display.
struct TWholeProgress {
    int percent = 0;       // share of the whole run done
    QString part;          // what is being done: the part's caption ("Операторы", "Параметры GSM"), "Регистрация"
    int secondsLeft = -1;  // from the pace so far; -1 until there is one
};

struct TWholeHooks {
    std::function<void(const TWholeProgress&)> progress;
    // Polled after every exchange; true stops the run.
    std::function<bool()> aborted;
    // The hooks of each part's run (rows shown and known, the agents' pause, ...). Their progress and
    // aborted members are called as well as the run's own.
    std::function<TRunHooks(TableId)> partHooks;
};

struct TWholeResult {
    QString message;  // the failed part's own message and which part it was; empty when all went through
    RunSeverity severity = RunSeverity::None;
    bool aborted = false;
    QString part;     // the part the run stopped in
    int entries = 0;  // entries completely read or written, over all parts
    bool ok() const { return message.isEmpty(); }
};

inline const QString kRegistrationPartCaption = QStringLiteral("Регистрация");

// Reads the registration data (when `registration` is given), then the parts of `parts` over their
// whole ranges. What was read before a failure stays in the grids.
TWholeResult ReadAll(KktLink& link, const KktLinkArgs& args, TKktRegister& reg, RegistrationData* registration,
                     const TWholeHooks& hooks, const TRegisterParts& parts = TRegisterParts::All());

// Writes the parts of `parts` over their whole ranges from the grids.
TWholeResult WriteAll(KktLink& link, const KktLinkArgs& args, const TKktRegister& reg, const TWholeHooks& hooks,
                      const TRegisterParts& parts = TRegisterParts::All());

// The result of a part's run as the whole run reports it: the part's message, then which part, and
// the `entries` the whole run got through.
TWholeResult PartStopped(TableId id, const TRunResult& run, int entries);

// The wait window's lines for the run: what runs, the share done and the part, the time left.
QString WholeProgressText(bool reading, const TWholeProgress& progress);
