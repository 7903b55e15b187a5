#pragma once
#include "link/kktlink.h"
#include "tables/griddata.h"

#include <QString>

// The agents grid's locks: a cell holding "Не используется" put there by a sign cannot be selected,
// and the texts the user's cells held before a sign replaced them, to bring them back.
// Indexed by column (2..11) and row (1..10); other positions are never locked.
struct TAgentLocks {
    static constexpr int kCols = 12;
    static constexpr int kRows = 11;
    bool LockedAgentCells[kCols][kRows] = {};
    QString SavedAgentCells[kCols][kRows];

    bool IsLocked(int col, int row) const;
    void Lock(int col, int row);
    void ReleaseRow(int row);
    void ReleaseAll();
};

// The user chose the sign at list position `signIndex` for agents row `row`: the sign's text goes into
// column 1, the user's earlier texts come back, and the columns the sign does not use get the placeholder
// and are locked.
void ChooseAgentSign(TGridData& grid, TAgentLocks& locks, int row, int signIndex);

// An agent read from the register: fills its row by the sign's code and sets the locks. A sign that is no
// single known bit only releases the row's locks. The caller has checked that the number is a grid row.
void ApplyAgentRecord(TGridData& grid, TAgentLocks& locks, const KktAgentRecord& agent);

// Every row back to its state after start-up, every lock released.
void ResetAgentsGrid(TGridData& grid, TAgentLocks& locks);
