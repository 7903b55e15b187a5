#pragma once
#include "tables/griddata.h"

#include <QString>

// The goods search of the goods tab: a row matches when its name ("Наименование") holds `text`
// (case ignored, Cyrillic too) or its barcode ("Штрих-код") holds it. Looks from the row after `from`
// (before it, backwards) round the table back to `from` itself; 0 when no row matches or `text` is empty.
int FindGoods(const TGridData& goods, const QString& text, int from, bool forward);
