// When a wanted frame is drawn. Kept apart from the drawing and the X
// connection so the rule can be played through on a made-up clock.
#pragma once

#include <chrono>

namespace frame_schedule {

using Clock = std::chrono::steady_clock;

// The longest a change waits for its frame: one refresh of a 60 Hz display.
constexpr Clock::duration kFrameBudget = std::chrono::microseconds(16667);

// A timer that falls due while the wanted frame would be drawn runs first,
// so it keeps its period, and the frame then shows its change too. But a
// change is never left undrawn for longer than a budget, however slowly
// frames draw and however closely timers follow each other.
inline bool timer_goes_first(Clock::time_point now, Clock::time_point wanted_since,
                             Clock::time_point timer_due, Clock::duration drawing_time) {
    return timer_due <= now + drawing_time && timer_due <= wanted_since + kFrameBudget;
}

}  // namespace frame_schedule
