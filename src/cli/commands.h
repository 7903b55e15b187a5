#pragma once
#include "cli/cliargs.h"
#include "cli/clicontext.h"
#include "files/csvtable.h"

#include <QStringList>
#include <optional>

// The commands; `words` are the words after the command's name. Each returns the exit status.
int CmdPorts(TCliContext& ctx, const QStringList& words);
int CmdStatus(TCliContext& ctx, const QStringList& words);
int CmdFind(TCliContext& ctx, const QStringList& words);
int CmdRead(TCliContext& ctx, const QStringList& words);
int CmdWrite(TCliContext& ctx, const QStringList& words);
int CmdClearGoods(TCliContext& ctx, const QStringList& words);
int CmdModule(TCliContext& ctx, const QStringList& words);
int CmdRegData(TCliContext& ctx, const QStringList& words);
int CmdRegister(TCliContext& ctx, const QStringList& words);
int CmdReregister(TCliContext& ctx, const QStringList& words);
int CmdConvert(TCliContext& ctx, const QStringList& words);
int CmdBackup(TCliContext& ctx, const QStringList& words);
int CmdRestore(TCliContext& ctx, const QStringList& words);

// "--spreadsheet-csv": CSV output for spreadsheet programs with Russian regional settings (UTF-8
// with byte-order mark, ";" between fields) instead of the plain one.
inline const TOptionSpec kSpreadsheetCsv{QStringLiteral("--spreadsheet-csv"), false};
CsvStyle CsvStyleOf(const TParsedArgs& args);

// A command's words sorted by its options. On "--help" the command's help goes to the output stream;
// on a usage error (also a wrong count of positional words) the error stream says why. Either way
// nothing comes back and `exit` holds the status to return.
std::optional<TParsedArgs> CommandArgs(TCliContext& ctx, const QString& command, const QStringList& words,
                                       const QList<TOptionSpec>& specs, int minPositional, int maxPositional,
                                       int& exit);
