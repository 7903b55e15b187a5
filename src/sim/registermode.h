#pragma once
#include <QCommandLineParser>
#include <QString>

// kkt-sim's register mode: the simulated cash register on a published pseudo-terminal.
QString RegisterModeDescription();
void AddRegisterOptions(QCommandLineParser& parser);
// Serves until SIGINT/SIGTERM or "quit"; the process exit code.
int RunRegisterMode(const QCommandLineParser& parser);
