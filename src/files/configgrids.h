#pragma once
#include "files/config.h"
#include "tables/griddata.h"
#include "tables/tabledefs.h"

#include <array>

class GsmGridModel;

// The seven table grids indexed by TableId; a null entry has no cells.
using TConfigTables = std::array<const TGridData*, kTableCount>;
using TConfigTablesMut = std::array<TGridData*, kTableCount>;

// Copies every grid cell that has a snapshot field into it, as text: element i of a table from grid
// row i + 1, its k-th field from column k; the module values from column 1 of rows 1..7. Fields
// whose cell lies outside the grid keep their value.
void GridsToConfig(const TConfigTables& tables, const GsmGridModel& gsm, TConfig& config);

// The reverse copy. Cells without a snapshot field (headings, labels, goods quantity, agent columns
// 3 to 11) keep their content.
void ConfigToGrids(const TConfig& config, const TConfigTablesMut& tables, GsmGridModel& gsm);
