#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Entry functions of the fuzz targets. Each takes one input as the fuzzer hands it over and must
// neither crash, hang nor leak on any input; each returns 0. The fuzz programs and the regression
// test call the same functions, so a kept crash input replays exactly as it was found.
using FuzzEntry = int (*)(const uint8_t* data, size_t size);

struct FuzzTarget {
    const char* name;  // also the folder of its seeds and of its regression inputs
    FuzzEntry entry;
};

// Answers of the register to each of the seven commands, split into attempts.
int FuzzAnswers(const uint8_t* data, size_t size);
// Goods request building from texts that have to be numbers.
int FuzzGoodsRequest(const uint8_t* data, size_t size);
// The ini document, "ProgSett.ini" and "Scan.cfg" loaders.
int FuzzIniFile(const uint8_t* data, size_t size);
// The configuration file (".conf") loader.
int FuzzConfigFile(const uint8_t* data, size_t size);
// The goods database file (".dbVaro") loader.
int FuzzGoodsDb(const uint8_t* data, size_t size);
// The 1C exchange file (".1cdb") import.
int Fuzz1cdb(const uint8_t* data, size_t size);
// The ".xls" and ".xlsx" workbook readers and the goods import over them.
int FuzzXls(const uint8_t* data, size_t size);
int FuzzXlsx(const uint8_t* data, size_t size);
// The barcode recogniser, fed in reads of varying size.
int FuzzScanner(const uint8_t* data, size_t size);
// The CSV reader and its application to a grid.
int FuzzCsv(const uint8_t* data, size_t size);
// The simulator's frame assembly and request handling, and its fault descriptions.
int FuzzSimFrames(const uint8_t* data, size_t size);

const std::vector<FuzzTarget>& FuzzTargets();
