// Every timer of the game is armed through arm_timer (rules/platform.h); the
// real one keeps the due time of each pending timer here, so the main loop
// can sleep until the next one without making it late.
#pragma once

#include <chrono>

// When the earliest pending timer is due, or the far future when none is.
std::chrono::steady_clock::time_point next_timer_due();
