#pragma once
#include "whole/fleet.h"
#include "whole/kktregister.h"
#include "whole/unsent.h"

#include <QList>
#include <QString>

// The work a shop's registers get at once. Each job asks the register for its serial number first,
// and a register that does not give it gets nothing else. Sources (`reg`) are only read and must
// outlive the run. Registration is never sent.

// The link check: the serial number, then the status request.
TFleetJob StatusJob();

// Exactly these rows of these parts from `reg`: a table's or the module's file, its changed rows, or
// the rows the window's grids mark as changed.
TFleetJob WriteRowsJob(const TKktRegister& reg, const QList<TUnsentPart>& parts);

// The parts' whole ranges from `reg`, as "Записать всё в ККТ" writes them: a restored copy, or the
// window's grids. `sourceSerial`: the register the copy was made of (shown when it differs).
TFleetJob WriteAllJob(const TKktRegister& reg, const TRegisterParts& parts, const QString& sourceSerial);

// The part's marked rows of each part: what "only the changed rows" sends.
QList<TUnsentPart> MarkedParts(const TKktRegister& reg);
