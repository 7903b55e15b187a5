#pragma once
#include "files/config.h"

#include <QString>

// Key names of the configuration file; an index outside the table gives an empty name, and a
// caller skips such an entry.
QString GetGsmParamKey(int i);     // i = 0..6
QString GetAgentValueKey(int i);   // i = 0..10
QString GetAgentFontKey(int i);    // i = 0..10

// What a load takes for a font key that the file lacks.
inline const QString kDefaultFont = QStringLiteral("Узкий");

// Writes the snapshot into the file, keeping whatever else an existing file holds; every value goes
// between two DEL characters. The file is replaced in one piece (temporary file renamed over it).
// False with error set when the file cannot be read first or cannot be written; it is then unchanged.
bool SaveConfigFile(const QString& fileName, const TConfig& config, QString* error = nullptr);

// Reads every key into the snapshot, with its default where the file lacks it; a file that does not
// exist reads as empty. False with error set when the file cannot be read: the snapshot is unchanged.
bool LoadConfigFile(const QString& fileName, TConfig& config, QString* error = nullptr);
