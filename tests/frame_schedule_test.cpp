#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/frame_schedule.h"

namespace {

using frame_schedule::Clock;
using frame_schedule::kFrameBudget;
using std::chrono::milliseconds;

struct Timer {
    Clock::duration period;
    Clock::time_point due;
};

struct Outcome {
    int frames = 0;
    Clock::duration longest_between_frames{};
    Clock::duration latest_timer{};
};

// Plays the main loop on a made-up clock: due timers are served and re-armed
// from their callback, then the idle step rests and maybe draws a frame that
// costs `drawing`. No input arrives, so every rest lasts until its wake time.
Outcome run_main_loop(Clock::duration drawing, std::vector<Timer> timers, Clock::duration length) {
    Outcome outcome;
    Clock::time_point now = Clock::time_point{} + std::chrono::hours(1);
    const Clock::time_point end = now + length;
    Clock::time_point last_frame{};
    Clock::time_point first_frame{};
    Clock::duration last_drawing{};
    while (now < end) {
        for (Timer& timer : timers) {
            if (timer.due <= now) {
                outcome.latest_timer = std::max(outcome.latest_timer, now - timer.due);
                timer.due = now + timer.period;
            }
        }
        Clock::time_point timer_due = Clock::time_point::max();
        for (const Timer& timer : timers) {
            timer_due = std::min(timer_due, timer.due);
        }
        const frame_schedule::IdleStep step =
            frame_schedule::next_idle_step(now, last_frame, timer_due, last_drawing);
        now = std::max(now, step.wake);
        if (!step.draw) {
            continue;
        }
        if (outcome.frames == 0) {
            first_frame = now;
        } else {
            outcome.longest_between_frames =
                std::max(outcome.longest_between_frames, now - last_frame);
        }
        ++outcome.frames;
        last_frame = now;
        now += drawing;
        last_drawing = drawing;
    }
    EXPECT_LT(first_frame - (end - length), kFrameBudget) << "the first frame waited";
    return outcome;
}

// The game's three 100 ms timers, spread over their period, and its 500 ms ones.
std::vector<Timer> game_timers() {
    const Clock::time_point start = Clock::time_point{} + std::chrono::hours(1);
    std::vector<Timer> timers;
    for (int i = 0; i < 3; ++i) {
        timers.push_back({milliseconds(100), start + milliseconds(100 + 33 * i)});
    }
    for (int i = 0; i < 5; ++i) {
        timers.push_back({milliseconds(500), start + milliseconds(500 + 7 * i)});
    }
    return timers;
}

TEST(FrameSchedule, FastFramesArePacedAndLeaveEveryTimerOnTime) {
    const Outcome outcome = run_main_loop(milliseconds(3), game_timers(), std::chrono::seconds(5));
    EXPECT_EQ(outcome.latest_timer, Clock::duration::zero());
    // About one frame per refresh: never more, and not many fewer.
    EXPECT_LE(outcome.frames, 5 * 60 + 1);
    EXPECT_GE(outcome.frames, 5 * 55);
}

TEST(FrameSchedule, FramesSlowerThanTheTimersComeAreStillDrawn) {
    // Every frame takes longer than the gap between any two timers. Putting
    // each frame behind the next timer would never draw again.
    const Outcome outcome = run_main_loop(milliseconds(50), game_timers(), std::chrono::seconds(5));
    EXPECT_GE(outcome.frames, 5 * 10);
    EXPECT_LE(outcome.longest_between_frames, 2 * kFrameBudget + milliseconds(50));
    // The price: a timer may wait for the frame being drawn.
    EXPECT_LE(outcome.latest_timer, milliseconds(50));
}

TEST(FrameSchedule, AnOnTimeFrameWaitsForATimerDueWhileItWouldBeDrawn) {
    const Clock::time_point now = Clock::time_point{} + std::chrono::hours(1);
    const Clock::time_point last_frame = now - kFrameBudget;
    const frame_schedule::IdleStep deferred =
        frame_schedule::next_idle_step(now, last_frame, now + milliseconds(2), milliseconds(5));
    EXPECT_FALSE(deferred.draw);
    EXPECT_EQ(deferred.wake, now + milliseconds(2));
    const frame_schedule::IdleStep drawn =
        frame_schedule::next_idle_step(now, last_frame, now + milliseconds(8), milliseconds(5));
    EXPECT_TRUE(drawn.draw);
}

}  // namespace
