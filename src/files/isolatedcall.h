#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <type_traits>

// Runs work apart from the program, so that a fault in a library reading a damaged file (a crash,
// an endless loop) costs that run alone and never the user's unsaved work. The work's answer comes
// back as bytes. Where processes can be forked (posix/) the work runs in a forked child; on Windows
// (win/) the helper program named by the job, beside this one, does the same work and writes the
// same answer on its standard output. The work must not touch the user interface.
struct TIsolatedJob {
    template <typename Work>
        requires std::is_invocable_r_v<QByteArray, Work>
    TIsolatedJob(Work&& work, QStringList helper = {}) : work(std::forward<Work>(work)), helper(std::move(helper))
    {
    }
    std::function<QByteArray()> work;
    QStringList helper;  // the helper program's name without extension, then its arguments
};

struct TIsolatedResult {
    bool ok = false;
    QByteArray output;
    QString error;  // why there is no output: the run crashed or took longer than allowed
};

TIsolatedResult RunIsolated(const TIsolatedJob& job, int timeOutMs);
