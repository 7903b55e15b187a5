#pragma once
#include <QStringList>
#include <QTextStream>

// The whole tool: the words after the program's name, the output and error streams, and whether the
// error stream is a terminal (only then a run draws its progress bar). Returns the exit status:
// 0 success, 1 a register command failed, 2 a usage or file error.
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err, bool progressBar = false);
