#include "render/frame.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/platform.h"
#include "render/compose.h"
#include "render/draw.h"
#include "screens/screen.h"

namespace {

// With SOWROW_FRAME_STATS set, the number of frames drawn in each second
// goes to standard error, to see what the continuous redraw costs.
bool frame_stats_wanted() {
    static const bool wanted = std::getenv("SOWROW_FRAME_STATS") != nullptr;
    return wanted;
}

void count_frame() {
    static int frames;
    static int second_started;
    ++frames;
    const int now = glutGet(GLUT_ELAPSED_TIME);
    if (now - second_started >= 1000) {
        std::fprintf(stderr, "frames/s: %.1f\n", frames * 1000.0 / (now - second_started));
        frames = 0;
        second_started = now;
    }
}

}  // namespace

void display_frame() {
    set_pointer_shape(screen.hand_cursor);
    compose_frame(shown_frame);
    glClear(GL_COLOR_BUFFER_BIT);
    replay_draw_list(shown_frame);
    glutSwapBuffers();
    if (frame_stats_wanted()) {
        count_frame();
    }
}
