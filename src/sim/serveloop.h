#pragma once
#include <QString>
#include <functional>

// The console side of a simulator program: control lines on standard input, SIGINT/SIGTERM to end.

// Holds back SIGINT and SIGTERM from every thread started afterwards, so that only the serve loop
// receives them. Call first thing in main.
void BlockStopSignals();

// Runs until SIGINT, SIGTERM or a command handler asks to stop. Every line read from standard input
// goes to `command`, whose reply is printed as one line; `quit` is set to end the loop. `tick` runs
// about every 100 ms. Standard input reaching its end does not stop the loop.
void ServeConsole(const std::function<QString(const QString& line, bool& quit)>& command,
                  const std::function<void()>& tick);
