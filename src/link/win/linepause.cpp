#include "link/linepause.h"

#include <windows.h>

// Sleep() ends on a timer tick: 15.6 ms by default, 1 to 2 ms while the port holds the timer at
// 1 ms (timeBeginPeriod, see WinSerialPort). Sleeping through the 1 ms pause would add that tick to
// every command (90 s over 6000 goods), so only what lies beyond two ticks of 1 ms is slept; the
// rest is measured out on the performance counter.
void PauseAtLeast(std::chrono::microseconds pause)
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    const LONGLONG until = now.QuadPart + pause.count() * frequency.QuadPart / 1000000;
    constexpr std::chrono::milliseconds kSleepMargin{2};
    if (pause > kSleepMargin)
        Sleep(DWORD(std::chrono::duration_cast<std::chrono::milliseconds>(pause - kSleepMargin).count()));
    do {
        YieldProcessor();
        QueryPerformanceCounter(&now);
    } while (now.QuadPart < until);
}
