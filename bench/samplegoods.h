#pragma once
#include "tables/griddata.h"

// The goods grid with all 6000 items filled, the base the goods benchmarks write and read.
TGridData SampleGoods();
