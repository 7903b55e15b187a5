#pragma once
#include "link/kktlink.h"
#include "tables/knownrows.h"
#include "whole/registergrids.h"
#include "whole/wholerun.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// What the grids hold that the register does not, before the window closes. A row counts when it is
// marked (read or written, then changed), or when it was never read from or written to the register
// and holds anything a fresh grid does not (typed, loaded from a file, sample values).
struct TUnsentPart {
    std::optional<TableId> table;  // none: the module parameters
    QList<int> rows;               // ascending
    QString Caption() const;       // the tab's caption, or "Параметры GSM"
};

using KnownRowsOf = std::function<const TKnownRows&(TableId)>;

// The parts with unsent rows, tables in tab order, then the module parameters.
QList<TUnsentPart> UnsentParts(const TRegisterGrids& grids, const KnownRowsOf& known);

// The closing question (Да: write, Нет: close without, Отмена: stay), naming each part with its count.
QString UnsentQuestion(const QList<TUnsentPart>& parts);

// Writes exactly those rows, part after part, each table as "Записать изменённые" writes it; stops at
// the first failure (or stop) with the part's message and its name.
TWholeResult WriteUnsent(KktLink& link, const KktLinkArgs& args, const TRegisterGrids& grids,
                         const QList<TUnsentPart>& parts, const TWholeHooks& hooks);
