#pragma once
#include <QString>

// The file version text of a program file's version resource: the first "FileVersion" of its
// translation list that can be read. Empty when the file does not exist or has no version resource.
QString GetFileVersion(const QString& fileName);
