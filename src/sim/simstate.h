#pragma once
#include "sim/kktsimulator.h"

#include <QString>

// The simulator's memory kept in a UTF-8 JSON file between runs. Every slot travels as the hex of the
// bytes the register holds (Windows-1251 texts included), so nothing is lost to a code page.

// Replaces the simulator's memory with the file's. False, with the memory untouched and a message,
// for a file that cannot be read or holds anything a register could not.
bool LoadSimState(KktSimulator& sim, const QString& path, QString* error);
// Writes through a temporary file and a rename: a crash leaves the old file or the new one.
bool SaveSimState(const KktSimulator& sim, const QString& path, QString* error);
