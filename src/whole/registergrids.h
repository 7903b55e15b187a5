#pragma once
#include "module/gsmgrid.h"
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"

#include <QList>
#include <array>

// The grids a copy of the whole register is made of, wherever they live (the window's frames, the
// command line's grid set): the seven tables, the agents' locks and the module parameters.
struct TRegisterGrids {
    std::array<TGridData*, kTableCount> tables{};
    TAgentLocks* locks = nullptr;
    GsmGridModel* gsm = nullptr;

    TGridData& Table(TableId id) const { return *tables[size_t(id)]; }
};

// Which parts a run or a load takes: tables by TableId, and the module parameters.
struct TRegisterParts {
    std::array<bool, kTableCount> tables{};
    bool module = false;

    static TRegisterParts All()
    {
        TRegisterParts p;
        p.tables.fill(true);
        p.module = true;
        return p;
    }
    bool Has(TableId id) const { return tables[size_t(id)]; }
    bool Empty() const;
};

// The module parameters' name where a table's name would stand ("Параметры GSM").
inline const QString kModulePartCaption = QStringLiteral("Параметры GSM");
