#include "whole/partrun.h"

#include "module/gsmtransfer.h"

TRunResult ReadPart(TableId id, TKktRegister& reg, KktLink& link, const KktLinkArgs& args, const TRunHooks& hooks)
{
    if (id == TableId::Module)
        return ReadGsmParams(link, args, reg.Grid(id), hooks);
    return ReadTable(id, reg.Grid(id), reg.locks, 1, TableDef(id).size, link, args, hooks);
}

TRunResult WritePartRows(TableId id, const TKktRegister& reg, const QList<int>& rows, KktLink& link,
                         const KktLinkArgs& args, const TRunHooks& hooks)
{
    if (id == TableId::Module)
        return WriteGsmRows(link, args, reg.Grid(id), rows, hooks);
    return WriteTableRows(id, reg.Grid(id), rows, link, args, hooks);
}
