#include "app/main_loop.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>

#include "app/frame_schedule.h"
#include "app/timers.h"
#include "net/platform.h"
#include "render/compose.h"
#include "render/draw.h"
#include "render/frame.h"

namespace {

using frame_schedule::Clock;

// Written by the connection thread, watched by the main loop's sleep.
const int wake_descriptor = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);

bool window_visible = true;
// The display callback runs for the frame the loop asked for.
bool drawing_wanted_frame = false;
// The picture differs from the one on screen since `frame_wanted_since`.
bool frame_wanted = false;
Clock::time_point frame_wanted_since;
// How long a frame takes to draw: the longest of the recent ones, fading,
// since one frame's time says little about the next one's.
Clock::duration drawing_time{};

template <typename Function>
Function swap_function(const char* extensions, const char* extension, const char* name) {
    if (!has_extension(extensions, extension)) {
        return nullptr;
    }
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

void request_swap_interval() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) {
        return;
    }
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (extensions == nullptr) {
        return;
    }
    using SwapIntervalEXT = void (*)(Display*, GLXDrawable, int);
    using SwapIntervalMESA = int (*)(unsigned);
    using SwapIntervalSGI = int (*)(int);
    if (auto set = swap_function<SwapIntervalEXT>(extensions, "GLX_EXT_swap_control",
                                                  "glXSwapIntervalEXT")) {
        set(display, drawable, 1);
    } else if (auto set_mesa = swap_function<SwapIntervalMESA>(extensions, "GLX_MESA_swap_control",
                                                               "glXSwapIntervalMESA")) {
        set_mesa(1);
    } else if (auto set_sgi = swap_function<SwapIntervalSGI>(extensions, "GLX_SGI_swap_control",
                                                             "glXSwapIntervalSGI")) {
        set_sgi(1);
    }
}

void wake_main_loop() {
    const std::uint64_t one = 1;
    // It fails only with 2^64 wakes unread, when the loop is awake anyway.
    [[maybe_unused]] const ssize_t written = ::write(wake_descriptor, &one, sizeof one);
}

void show_changes() {
    if (!frame_wanted && window_visible && picture_changed()) {
        frame_wanted = true;
        frame_wanted_since = Clock::now();
    }
}

void on_window_status(int state) {
    window_visible = state != GLUT_HIDDEN && state != GLUT_FULLY_COVERED;
    // Hidden, nothing is drawn; shown again, the whole picture is.
    frame_wanted = false;
    if (window_visible) {
        glutPostRedisplay();
    }
    // Shown (the first time too), the window manager has put its frame
    // around it: now the window can be fitted to the screen with the frame.
    static bool shown_before = false;
    if (window_visible && !shown_before) {
        ask_for_window_place();
    }
    shown_before = window_visible;
}

void on_display() {
    if (!drawing_wanted_frame) {
        redraw_whole_window();
    }
    display_frame();
}

bool window_shows() {
    return window_visible;
}

namespace {

// Sleeps until the next timer is due, or less when an X event comes in or
// the connection thread wakes the loop.
void sleep_until_work() {
    Display* display = glXGetCurrentDisplay();
    // Events Xlib has already read from the socket would not wake the poll.
    if (display != nullptr && XPending(display) > 0) {
        return;
    }
    const Clock::time_point due = next_timer_due();
    timespec timeout{};
    if (due != Clock::time_point::max()) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(due - Clock::now());
        if (left.count() > 0) {
            timeout.tv_sec = static_cast<std::time_t>(left.count() / 1000000000);
            timeout.tv_nsec = static_cast<long>(left.count() % 1000000000);
        }
    }
    pollfd watched[2] = {{display != nullptr ? ConnectionNumber(display) : -1, POLLIN, 0},
                         {wake_descriptor, POLLIN, 0}};
    ppoll(watched, 2, due == Clock::time_point::max() ? nullptr : &timeout, nullptr);
    if (watched[1].revents & POLLIN) {
        std::uint64_t wakes = 0;
        if (::read(wake_descriptor, &wakes, sizeof wakes) == sizeof wakes) {
            show_changes();
        }
    }
}

bool frame_due() {
    return frame_wanted && !frame_schedule::timer_goes_first(Clock::now(), frame_wanted_since,
                                                             next_timer_due(), drawing_time);
}

Bool note_exposure(Display*, XEvent* event, XPointer seen) {
    if (event->type == Expose) {
        *reinterpret_cast<bool*>(seen) = true;
    }
    return False;  // leaves every event for freeglut
}

// Whether an Expose waits among the events read from the X server: the pass
// that draws the wanted frame takes it, and must then draw the whole window.
bool exposure_waiting() {
    Display* display = glXGetCurrentDisplay();
    bool seen = false;
    XEvent event;
    if (display != nullptr) {
        XCheckIfEvent(display, &event, note_exposure, reinterpret_cast<XPointer>(&seen));
    }
    return seen;
}

// Asks freeglut for the frame and has it drawn at once, with whatever input
// came in meanwhile.
void draw_wanted_frame() {
    frame_wanted = false;
    glutPostRedisplay();
    const Clock::time_point started = Clock::now();
    drawing_wanted_frame = !exposure_waiting();
    glutMainLoopEvent();
    drawing_wanted_frame = false;
    drawing_time = std::max(Clock::now() - started, drawing_time * 7 / 8);
    // Input taken in that pass may have asked again for what it drew.
    if (frame_wanted && !picture_changed()) {
        frame_wanted = false;
    }
}

}  // namespace

// A pass of glutMainLoopEvent takes every queued input event, then every due
// timer, each followed by show_changes; then the frame is drawn, unless a
// timer falls due first, or the loop sleeps until there is more to serve.
[[noreturn]] void run_main_loop() {
    for (;;) {
        glutMainLoopEvent();
        report_frame_rate();
        if (frame_due()) {
            draw_wanted_frame();
        } else {
            sleep_until_work();
        }
    }
}
