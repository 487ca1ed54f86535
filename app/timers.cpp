// The real arm_timer: each timer goes through a slot that remembers when it
// is due, and the picture is checked for changes after each one. With
// SOWROW_TIMER_STATS set, the real period of every self-re-arming timer goes
// to standard error every ten seconds, to see how late the main loop lets
// them run.
#include "app/timers.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/main_loop.h"
#include "rules/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

struct PendingTimer {
    TimerCallback callback = nullptr;
    unsigned milliseconds = 0;
    Clock::time_point due;
};

// The game keeps eight timers pending; the rest is headroom.
constexpr int kTimerSlots = 32;
PendingTimer pending_timers[kTimerSlots];

struct TimerPeriods {
    TimerCallback callback = nullptr;
    unsigned milliseconds = 0;
    Clock::time_point last_fired;
    Clock::time_point last_report;
    int periods = 0;
    double total = 0;
    double shortest = 0;
    double longest = 0;
};

constexpr int kMeasuredTimers = 16;
constexpr auto kReportInterval = std::chrono::seconds(10);
TimerPeriods measured_timers[kMeasuredTimers];

bool timer_stats_wanted() {
    static const bool wanted = std::getenv("SOWROW_TIMER_STATS") != nullptr;
    return wanted;
}

TimerPeriods* periods_of(TimerCallback callback) {
    for (TimerPeriods& record : measured_timers) {
        if (record.callback == callback || record.callback == nullptr) {
            record.callback = callback;
            return &record;
        }
    }
    return nullptr;
}

void report(int index, TimerPeriods& record) {
    std::fprintf(stderr, "timer %u ms #%d: %d periods, mean %.2f ms, min %.2f ms, max %.2f ms\n",
                 record.milliseconds, index, record.periods, record.total / record.periods,
                 record.shortest, record.longest);
    record.periods = 0;
    record.total = 0;
}

void note_fired(const PendingTimer& timer, Clock::time_point now) {
    TimerPeriods* record = periods_of(timer.callback);
    if (record == nullptr) {
        return;
    }
    if (record->last_fired == Clock::time_point{}) {
        record->last_report = now;
    } else {
        const double period =
            std::chrono::duration<double, std::milli>(now - record->last_fired).count();
        record->shortest = record->periods == 0 ? period : std::min(record->shortest, period);
        record->longest = record->periods == 0 ? period : std::max(record->longest, period);
        record->total += period;
        ++record->periods;
    }
    record->milliseconds = timer.milliseconds;
    record->last_fired = now;
    if (record->periods > 0 && now - record->last_report >= kReportInterval) {
        report(static_cast<int>(record - measured_timers), *record);
        record->last_report = now;
    }
}

void fire_pending_timer(int slot) {
    const PendingTimer timer = pending_timers[slot];
    pending_timers[slot].callback = nullptr;
    if (timer_stats_wanted()) {
        note_fired(timer, Clock::now());
    }
    timer.callback(0);
    show_changes();
}

}  // namespace

void arm_timer(unsigned milliseconds, TimerCallback callback) {
    for (int slot = 0; slot < kTimerSlots; ++slot) {
        PendingTimer& timer = pending_timers[slot];
        if (timer.callback == nullptr) {
            glutTimerFunc(milliseconds, fire_pending_timer, slot);
            // Taken after freeglut's own clock reading, so never earlier.
            timer.due = Clock::now() + std::chrono::milliseconds(milliseconds);
            timer.milliseconds = milliseconds;
            timer.callback = callback;
            return;
        }
    }
    glutTimerFunc(milliseconds, callback, 0);
}

Clock::time_point next_timer_due() {
    Clock::time_point earliest = Clock::time_point::max();
    for (const PendingTimer& timer : pending_timers) {
        if (timer.callback != nullptr) {
            earliest = std::min(earliest, timer.due);
        }
    }
    return earliest;
}
