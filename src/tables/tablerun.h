#pragma once
#include "link/kktlink.h"
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"

#include <QList>
#include <QString>
#include <functional>

// What a run lets its caller do between exchanges. Every member may be left empty.
struct TRunHooks {
    // After every successful exchange: `done` of `total` exchanges of the run.
    std::function<void(int done, int total)> progress;
    // Polled after every exchange; true stops the run before the next one.
    std::function<bool()> aborted;
    // A read run has written the cells of `row`.
    std::function<void(int row)> rowWritten;
    // An entry went through completely: grid row `row` now holds what the register holds (what a
    // read brought, or what a write sent). The known state of the grid is kept from this.
    std::function<void(int row)> entryDone;
    // The pause after each agent; sleeps when empty.
    std::function<void(int ms)> pause;
};

enum class RunSeverity { None, Information, Warning, Error };

struct TRunResult {
    QString message;  // the text to show; empty when the whole range went through
    RunSeverity severity = RunSeverity::None;
    int entriesDone = 0;  // entries (operators, items, lines...) completely written or read
    int entries = 0;      // entries in the range
    bool aborted = false;
    bool ok() const { return message.isEmpty(); }
};

inline const QString kWriteWaitText = QStringLiteral("Выполняеется запись параметров... Подождите...");
inline const QString kReadWaitText = QStringLiteral("Выполняется чтение параметров... Подождите...");
constexpr int kAgentPauseMs = 100;

// Exchanges per entry: 4 for operators, 2 for sections and enterprises, 1 otherwise.
int ExchangesPerEntry(TableId id);
// The progress bar's value: done × 100 / total, rounded.
int ProgressPercent(int done, int total);

// Writes entries first..last (a range that passed CheckRange) of the table from its grid, one exchange
// per field or entry, and stops at the first failure with the message to show. The grid is not changed.
TRunResult WriteTable(TableId id, const TGridData& grid, int first, int last, KktLink& link,
                      const KktLinkArgs& args, const TRunHooks& hooks = {});

// The same for the given entries only (rows of the grid, ascending, within the table), as "Записать
// изменённые" sends them: progress, messages and counts are over these entries.
TRunResult WriteTableRows(TableId id, const TGridData& grid, const QList<int>& rows, KktLink& link,
                          const KktLinkArgs& args, const TRunHooks& hooks = {});

// Reads entries first..last into the grid; each entry's cells are written as soon as it is read, so a
// failure leaves the entries before it read. Agents also set `locks`.
TRunResult ReadTable(TableId id, TGridData& grid, TAgentLocks& locks, int first, int last, KktLink& link,
                     const KktLinkArgs& args, const TRunHooks& hooks = {});
