#pragma once
#include "tables/agentlocks.h"
#include "tables/griddata.h"
#include "tables/knownrows.h"
#include "tables/tabledefs.h"

#include <array>

// The register as this program holds it: the grid of each of its parts (the seven tables and the
// module's parameters, by TableId), what the register was last known to hold of every row of each,
// and the agents' locked cells. The window's frames show and edit one; the command line, the
// workbook and the configuration file load and save one; every run with the register reads into or
// writes from one.
struct TKktRegister {
    TKktRegister();  // every grid as after start-up, no row known

    TGridData& Grid(TableId id) { return grids[size_t(id)]; }
    const TGridData& Grid(TableId id) const { return grids[size_t(id)]; }
    TKnownRows& Known(TableId id) { return known[size_t(id)]; }
    const TKnownRows& Known(TableId id) const { return known[size_t(id)]; }

    std::array<TGridData, kPartCount> grids;
    std::array<TKnownRows, kPartCount> known;
    TAgentLocks locks;
};

// Which parts a run or a load takes.
struct TRegisterParts {
    std::array<bool, kPartCount> has{};

    static TRegisterParts All()
    {
        TRegisterParts p;
        p.has.fill(true);
        return p;
    }
    bool Has(TableId id) const { return has[size_t(id)]; }
    void Add(TableId id) { has[size_t(id)] = true; }
    bool Empty() const;
};
