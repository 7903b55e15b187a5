#pragma once
#include "link/kktlink.h"
#include "whole/kktregister.h"
#include "whole/wholerun.h"

#include <QList>
#include <QString>

// What the grids hold that the register does not, before the window closes. A row counts when it is
// marked (read or written, then changed), or when it was never read from or written to the register
// and holds anything a fresh grid does not (typed, loaded from a file, sample values).
struct TUnsentPart {
    TableId part;
    QList<int> rows;            // ascending
    QString Caption() const;    // the part's caption: the tab's, or "Параметры GSM"
};

// The parts with unsent rows, in the order of the parts.
QList<TUnsentPart> UnsentParts(const TKktRegister& reg);

// The closing question (Да: write, Нет: close without, Отмена: stay), naming each part with its count.
QString UnsentQuestion(const QList<TUnsentPart>& parts);

// Writes exactly those rows, part after part, each as "Записать изменённые" writes it; stops at the
// first failure (or stop) with the part's message and its name.
TWholeResult WriteUnsent(KktLink& link, const KktLinkArgs& args, const TKktRegister& reg,
                         const QList<TUnsentPart>& parts, const TWholeHooks& hooks);
