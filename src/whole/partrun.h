#pragma once
#include "link/kktlink.h"
#include "tables/tablerun.h"
#include "whole/kktregister.h"

#include <QList>

// Any part of the register, table or module parameters, read or written as its own buttons run it.

// Reads the part's whole range into its grid (agents also set the locks).
TRunResult ReadPart(TableId id, TKktRegister& reg, KktLink& link, const KktLinkArgs& args, const TRunHooks& hooks);

// Writes the given rows of the part (ascending, within the part) from its grid.
TRunResult WritePartRows(TableId id, const TKktRegister& reg, const QList<int>& rows, KktLink& link,
                         const KktLinkArgs& args, const TRunHooks& hooks);
