#pragma once
#include <QString>

// The version text of the running program for the caption and the version window: on Windows the
// file version of the program's own version resource (empty when it has none), elsewhere the
// version the build was made with.
QString ProgramVersion();
