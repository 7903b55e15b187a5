#pragma once
#include <QString>
#include <array>
#include <vector>

// The goods table as the files see it: columns 1 to 5 of goods grid rows 1 to 6000 (name, barcode,
// marking sign, price, section). Column 0 is the row number and column 6 the quantity; no file
// carries either, so they stay in the grid untouched.
constexpr int kGoodsCount = 6000;
constexpr int kGoodsFields = 5;

// Index into a TGoodsRow; the goods grid column is the index + 1.
enum GoodsField { GoodsName = 0, GoodsShtrih = 1, GoodsMark = 2, GoodsPrice = 3, GoodsSection = 4 };

using TGoodsRow = std::array<QString, kGoodsFields>;
using TGoodsTable = std::vector<TGoodsRow>;  // element r - 1 is goods row r

// What an exchange import leaves in every row before it fills any: no name, barcode or marking,
// price "0.00", section "0".
TGoodsRow ResetGoodsRow();
TGoodsTable ResetGoodsTable();
