#pragma once
#include "files/goodstable.h"

#include <QString>

// The goods database file (".dbVaro"): one ini section "ТОВАР_#" + r per goods row r = 1..6000 with
// five plain (unwrapped) keys carrying goods columns 1 to 5 by position.

// Keeps whatever else an existing file holds; the file is replaced in one piece. False with error
// set when the file cannot be read first or cannot be written; it is then unchanged.
bool SaveGoodsDbFile(const QString& fileName, const TGoodsTable& goods, QString* error = nullptr);

// Sets all 6000 rows, with the defaults where a section or key is missing; a file that does not
// exist reads as empty and is not created. False with error set when the file cannot be read: goods
// is then unchanged, not half replaced.
bool LoadGoodsDbFile(const QString& fileName, TGoodsTable& goods, QString* error = nullptr);

// What a load puts into a row whose section is missing: no name, "Узкий", no marking, "0.00", "0".
TGoodsRow GoodsDbDefaultRow();
