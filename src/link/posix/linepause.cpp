#include "link/linepause.h"

#include <thread>

// A plain sleep overshoots by the timer slack and the wake-up (about 0.09 ms of every 1 ms pause
// here): sleep short of the end and spin the rest.
void PauseAtLeast(std::chrono::microseconds pause)
{
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::microseconds kSpin{150};
    const auto until = Clock::now() + pause;
    if (pause > kSpin)
        std::this_thread::sleep_until(until - kSpin);
    while (Clock::now() < until) {
    }
}
