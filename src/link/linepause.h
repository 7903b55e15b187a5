#pragma once
#include <chrono>

// Waits at least `pause` and not much longer: the line stands idle all that time, and a register
// link makes one such pause per command (the 1 ms after purging). Never returns early. Each system
// has its own, because a plain sleep overshoots by that system's timer granularity.
void PauseAtLeast(std::chrono::microseconds pause);
