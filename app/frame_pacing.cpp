#include "app/frame_pacing.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstring>
#include <ctime>

#include "app/frame_schedule.h"
#include "app/timers.h"
#include "render/frame.h"

namespace {

using frame_schedule::Clock;

bool has_extension(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* found = extensions; (found = std::strstr(found, name)) != nullptr;
         found += length) {
        const bool starts = found == extensions || found[-1] == ' ';
        const bool ends = found[length] == ' ' || found[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

template <typename Function>
Function swap_function(const char* extensions, const char* extension, const char* name) {
    if (!has_extension(extensions, extension)) {
        return nullptr;
    }
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// Sleeps until `wake`, or less when an X event comes in first.
void rest_until(Clock::time_point wake) {
    Display* display = glXGetCurrentDisplay();
    if (display != nullptr && XPending(display) > 0) {
        return;
    }
    const auto now = Clock::now();
    if (wake <= now) {
        return;
    }
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(wake - now);
    timespec timeout{};
    timeout.tv_sec = static_cast<std::time_t>(nanoseconds.count() / 1000000000);
    timeout.tv_nsec = static_cast<long>(nanoseconds.count() % 1000000000);
    pollfd x_connection{};
    x_connection.fd = display != nullptr ? ConnectionNumber(display) : -1;
    x_connection.events = POLLIN;
    ppoll(&x_connection, 1, &timeout, nullptr);
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

void redraw_when_due() {
    static Clock::time_point last_frame;
    static Clock::duration last_drawing{};
    const frame_schedule::IdleStep step =
        frame_schedule::next_idle_step(Clock::now(), last_frame, next_timer_due(), last_drawing);
    rest_until(step.wake);
    const Clock::time_point now = Clock::now();
    if (!step.draw || now < step.wake) {
        return;  // the main loop serves the timer or the input first
    }
    last_frame = now;
    display_frame();
    last_drawing = Clock::now() - now;
}
