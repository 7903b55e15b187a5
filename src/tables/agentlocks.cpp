#include "tables/agentlocks.h"

#include "tables/encoding.h"
#include "tables/tabledefs.h"

namespace {

bool InLockArea(int col, int row)
{
    return col >= kAgentFirstField && col <= kAgentLastField && row >= 1 && row < TAgentLocks::kRows;
}

void ResetAgentRow(TGridData& grid, int row)
{
    grid.SetCell(1, row, QString());
    for (int c = kAgentFirstField; c <= kAgentLastField; ++c)
        grid.SetCell(c, row, IsAgentPhoneColumn(c) ? kPhonePrefix : QString());
}

}  // namespace

bool TAgentLocks::IsLocked(int col, int row) const
{
    return InLockArea(col, row) && LockedAgentCells[col][row];
}

void TAgentLocks::Lock(int col, int row)
{
    if (InLockArea(col, row))
        LockedAgentCells[col][row] = true;
}

void TAgentLocks::ReleaseRow(int row)
{
    for (int c = kAgentFirstField; c <= kAgentLastField; ++c)
        if (InLockArea(c, row))
            LockedAgentCells[c][row] = false;
}

void TAgentLocks::ReleaseAll()
{
    for (int r = 1; r < kRows; ++r)
        ReleaseRow(r);
}

void ChooseAgentSign(TGridData& grid, TAgentLocks& locks, int row, int signIndex)
{
    if (!InLockArea(kAgentFirstField, row) || signIndex < 0 || signIndex >= AgentSigns().size())
        return;
    grid.SetCell(1, row, AgentSigns()[signIndex]);
    locks.ReleaseRow(row);
    for (int c = kAgentFirstField; c <= kAgentLastField; ++c)
        if (grid.Cell(c, row) != kNotUsed)
            locks.SavedAgentCells[c][row] = grid.Cell(c, row);
    for (int c = kAgentFirstField; c <= kAgentLastField; ++c)
        grid.SetCell(c, row, locks.SavedAgentCells[c][row]);
    for (int c : AgentUnusedColumns(signIndex)) {
        grid.SetCell(c, row, kNotUsed);
        locks.Lock(c, row);
    }
}

void ApplyAgentRecord(TGridData& grid, TAgentLocks& locks, const KktAgentRecord& a)
{
    const int row = a.number;
    if (!InLockArea(kAgentFirstField, row))
        return;
    locks.ReleaseRow(row);
    if (a.sign == 0) {
        ResetAgentRow(grid, row);
        return;
    }
    const int signIndex = AgentSignIndex(a.sign);
    if (signIndex < 0)
        return;
    // Every field first, then the placeholders of the sign over the unused ones.
    grid.SetCell(1, row, AgentSigns()[signIndex]);
    grid.SetCell(2, row, NormalizePhone(a.phoneSupplier));
    grid.SetCell(3, row, NormalizePhone(a.phoneAgent));
    grid.SetCell(4, row, NormalizePhone(a.phoneAcceptor));
    grid.SetCell(5, row, a.nameSupplier);
    grid.SetCell(6, row, a.addressOperator);
    grid.SetCell(7, row, QString::number(a.innOperator));
    grid.SetCell(8, row, a.nameOperator);
    grid.SetCell(9, row, a.operation);
    grid.SetCell(10, row, NormalizePhone(a.phoneOperator));
    grid.SetCell(11, row, QString::number(a.innSupplier));
    for (int c : AgentUnusedColumns(signIndex)) {
        grid.SetCell(c, row, kNotUsed);
        locks.Lock(c, row);
    }
}

void ResetAgentsGrid(TGridData& grid, TAgentLocks& locks)
{
    for (int r = 1; r < grid.RowCount(); ++r)
        ResetAgentRow(grid, r);
    locks.ReleaseAll();
}
