#include "render/frame.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "render/compose.h"
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

}  // namespace

void display_frame() {
    show_hand_pointer();
    compose_frame(shown_frame);
    begin_drawing(window_fit);
    glClear(GL_COLOR_BUFFER_BIT);
    replay_draw_list(shown_frame);
    show_drawing(window_fit);
    glutSwapBuffers();
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
