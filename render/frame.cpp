#include "render/frame.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "render/compose.h"
#include "render/damage.h"
#include "render/draw.h"
#include "render/drawing_target.h"
#include "render/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

bool frame_stats_wanted() {
    static const bool wanted = std::getenv("SOWROW_FRAME_STATS") != nullptr;
    return wanted;
}

int frames_since_report;

// Until the window first shows, nothing of it has been drawn.
bool whole_window_wanted = true;

}  // namespace

void redraw_whole_window() {
    whole_window_wanted = true;
}

// What the buffers keep is only worth anything where parts can be shown:
// a swap leaves the back buffer undefined.
void display_frame() {
    static DrawList next_frame;
    show_hand_pointer();
    compose_frame(next_frame);
    const bool whole = whole_window_wanted || !parts_can_be_shown();
    const Damage damage = whole ? Damage{} : frame_damage(shown_frame, next_frame);
    shown_frame.swap(next_frame);
    whole_window_wanted = false;
    draw_and_show(shown_frame, damage, whole, window_fit);
    ++frames_since_report;
}

void report_frame_rate() {
    static Clock::time_point last_report = Clock::now();
    if (!frame_stats_wanted()) {
        return;
    }
    const Clock::time_point now = Clock::now();
    const std::chrono::duration<double> elapsed = now - last_report;
    if (elapsed.count() < 1.0) {
        return;
    }
    std::fprintf(stderr, "frames/s: %.1f\n", frames_since_report / elapsed.count());
    frames_since_report = 0;
    last_report = now;
}
