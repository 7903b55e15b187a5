#pragma once
#include "tables/tablerun.h"

#include <QString>
#include <QTextStream>

// A one-line progress bar redrawn in place with carriage returns. Draws nothing when disabled (the
// error stream is no terminal), so redirected output stays free of it.
class TProgressBar {
public:
    TProgressBar(QTextStream& stream, bool enabled) : m_stream(stream), m_enabled(enabled) {}
    ~TProgressBar() { Finish(); }
    TProgressBar(const TProgressBar&) = delete;
    TProgressBar& operator=(const TProgressBar&) = delete;

    // Redraws only when the percentage changes.
    void Show(int percent);
    // Ends the bar's line, so that a message after it starts on a line of its own.
    void Finish();

    static QString Render(int percent);

private:
    QTextStream& m_stream;
    bool m_enabled;
    int m_shown = -1;
};

// A run's hooks that show its progress on the bar.
TRunHooks RunBarHooks(TProgressBar& bar);
