#pragma once
#include "files/config.h"
#include "whole/kktregister.h"

// Copies every grid cell that has a snapshot field into it, as text: element i of a table from grid
// row i + 1, its k-th field from column k; the module values from column 1 of rows 1..7. Fields
// whose cell lies outside the grid keep their value.
void GridsToConfig(const TKktRegister& reg, TConfig& config);

// The reverse copy. Cells without a snapshot field (headings, labels, goods quantity, agent columns
// 3 to 11) keep their content.
void ConfigToGrids(const TConfig& config, TKktRegister& reg);
