// When the idle redraw draws its next frame. Kept apart from the drawing and
// the X connection so the rule can be played through on a made-up clock.
#pragma once

#include <algorithm>
#include <chrono>

namespace frame_schedule {

using Clock = std::chrono::steady_clock;

// One refresh of a 60 Hz display.
constexpr Clock::duration kFrameBudget = std::chrono::microseconds(16667);

struct IdleStep {
    Clock::time_point wake;  // rest until then, or less when input comes in
    bool draw;               // and then draw, if `wake` has been reached
};

// A timer that would fall due while the next frame is drawn goes first, so
// timers keep their period. But a frame already a whole budget late is drawn
// regardless: when frames draw slower than the timers come, deferring them
// for every timer would leave the window showing the same picture for as
// long as that lasts.
inline IdleStep next_idle_step(Clock::time_point now, Clock::time_point last_frame,
                               Clock::time_point timer_due, Clock::duration last_drawing) {
    const Clock::time_point frame_due = last_frame + kFrameBudget;
    const bool late = now >= frame_due + kFrameBudget;
    const bool timer_first = !late && timer_due < std::max(frame_due, now) + last_drawing;
    return timer_first ? IdleStep{timer_due, false} : IdleStep{frame_due, true};
}

}  // namespace frame_schedule
