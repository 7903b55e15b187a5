#pragma once
#include "tables/griddata.h"
#include "tables/tabledefs.h"

// A value for every editable cell of one row that the table's rules allow, different per row.
void FillSampleRow(TableId id, TGridData& grid, int row);
