#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

// Runs `work` apart from the program, so that a fault in a library reading a damaged file (a crash,
// an endless loop) costs that run alone and never the user's unsaved work. The work's answer comes
// back as bytes. On POSIX the work runs in a forked child process; the work must not touch the
// user interface.
struct TIsolatedResult {
    bool ok = false;
    QByteArray output;
    QString error;  // why there is no output: the run crashed or took longer than allowed
};

TIsolatedResult RunIsolated(const std::function<QByteArray()>& work, int timeOutMs);
