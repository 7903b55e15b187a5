#pragma once
#include "link/kktlink.h"
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"
#include "tables/tablerun.h"

#include <QString>

inline const QString kClearBaseQuestion = QStringLiteral("Внимание!\r\nВы действительно хотите очистить базу в ККТ!");
inline const QString kClearBaseWaitText = QStringLiteral("Выпонляется очистка базы... Подождите...");
constexpr int kClearBaseTimeOutMs = 30000;

// Clears the register's goods base (the register takes its time: 30 s instead of the configured
// time-out). The message to show: the failure with the result or the answer's status, or the success.
TRunResult ClearBaseInKkt(KktLink& link, KktLinkArgs args);

// "Перейти к товару": the item number in the box, or the message to show.
struct TGoToItem {
    bool ok = false;
    int row = 0;
    QString message;
};
TGoToItem CheckGoToItem(const QString& boxText);

// Empties the data cells of a grid ("Очистить таблицу"); the agents grid gets "+7" back in its phones and
// loses every lock.
void CleanTable(TableId id, TGridData& grid, TAgentLocks& locks);

// Sample values for the operators, cliché and agents grids. No lock is set.
void FillTestData(TGridData& operators, TGridData& cliche, TGridData& agents);

// True when a data cell of the grid holds anything but what a fresh grid holds (read, loaded or typed).
bool HoldsData(TableId id, const TGridData& grid);
// The question before the sample values replace what the named tables hold; empty when none of
// `operators`, `cliche`, `agents` holds data, so that nothing needs asking.
QString TestDataQuestion(const TGridData& operators, const TGridData& cliche, const TGridData& agents);
