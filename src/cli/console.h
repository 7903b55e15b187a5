#pragma once
#include <QIODevice>
#include <memory>

// The program's standard output and error, written as UTF-8 text, and whether the error stream is
// a terminal (only then a run draws its progress bar). On Windows a console gets the text through
// the console's own wide-character output, so that Cyrillic shows in cmd.exe and PowerShell whatever
// their code page; redirected output stays UTF-8 bytes.
struct TConsole {
    std::unique_ptr<QIODevice> out;
    std::unique_ptr<QIODevice> err;
    bool errIsTerminal = false;
};

TConsole OpenConsole();
