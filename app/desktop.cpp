// The desktop around the window, for real: X11 properties the window manager
// keeps (EWMH), and GLX to show part of the back buffer.
#include "app/desktop.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "render/draw.h"
#include "render/platform.h"
#include "render/window_fit.h"

namespace {

// Before the window and its GL context exist (the start's first look at the
// screen) the game asks on a connection of its own.
Display* x_display() {
    if (Display* current = glXGetCurrentDisplay()) {
        return current;
    }
    static Display* own = XOpenDisplay(nullptr);
    return own;
}

Window game_window() {
    return glXGetCurrentDrawable();
}

// A property of 32-bit items (CARDINAL, ATOM), as Xlib hands them: longs.
std::vector<long> long_property(Display* display, Window window, const char* name, Atom type) {
    std::vector<long> items;
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (window == None ||
        XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type,
                           &actual, &format, &count, &left, &data) != Success) {
        return items;
    }
    if (actual == type && format == 32) {
        const long* values = reinterpret_cast<const long*>(data);
        items.assign(values, values + count);
    }
    XFree(data);
    return items;
}

using CopySubBuffer = void (*)(Display*, GLXDrawable, int, int, int, int);

CopySubBuffer copy_sub_buffer() {
    static const CopySubBuffer copy = []() -> CopySubBuffer {
        Display* display = glXGetCurrentDisplay();
        if (display == nullptr) {
            return nullptr;
        }
        const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
        if (extensions == nullptr || !has_extension(extensions, "GLX_MESA_copy_sub_buffer")) {
            return nullptr;
        }
        return reinterpret_cast<CopySubBuffer>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCopySubBufferMESA")));
    }();
    return copy;
}

}  // namespace

void show_hand_pointer() {
    // Asking for the same shape again costs a round trip to the X server.
    static bool shown = false;
    if (!shown) {
        glutSetCursor(GLUT_CURSOR_INFO);
        shown = true;
    }
}

bool window_held_by_manager() {
    Display* display = x_display();
    if (display == nullptr) {
        return false;
    }
    const char* const held[] = {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
                                "_NET_WM_STATE_FULLSCREEN"};
    for (long state : long_property(display, game_window(), "_NET_WM_STATE", XA_ATOM)) {
        for (const char* name : held) {
            if (static_cast<Atom>(state) == XInternAtom(display, name, False)) {
                return true;
            }
        }
    }
    return false;
}

// The work area of the desktop shown, where the window manager gives one;
// the whole screen otherwise.
ScreenRoom screen_room() {
    ScreenRoom room{{0, 0, kDrawingWidth, kDrawingHeight}, {0, 0, 0, 0}};
    Display* display = x_display();
    if (display == nullptr) {
        return room;
    }
    const Window root = DefaultRootWindow(display);
    room.work_area = {0, 0, DisplayWidth(display, DefaultScreen(display)),
                      DisplayHeight(display, DefaultScreen(display))};
    const std::vector<long> areas = long_property(display, root, "_NET_WORKAREA", XA_CARDINAL);
    const std::vector<long> desktop =
        long_property(display, root, "_NET_CURRENT_DESKTOP", XA_CARDINAL);
    const std::size_t at = 4 * (desktop.empty() ? 0 : static_cast<std::size_t>(desktop[0]));
    if (at + 4 <= areas.size() && areas[at + 2] > 0 && areas[at + 3] > 0) {
        room.work_area = {static_cast<int>(areas[at]), static_cast<int>(areas[at + 1]),
                          static_cast<int>(areas[at] + areas[at + 2]),
                          static_cast<int>(areas[at + 1] + areas[at + 3])};
    }
    // Left, right, top, bottom, as the window manager lists them.
    const std::vector<long> extents =
        long_property(display, game_window(), "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (extents.size() == 4) {
        room.frame = {static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                      static_cast<int>(extents[1]), static_cast<int>(extents[3])};
    }
    return room;
}

Point frame_position() {
    Display* display = x_display();
    const Window window = game_window();
    int x = 0, y = 0;
    Window child = None;
    if (display == nullptr || window == None ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child)) {
        return {0, 0};
    }
    const WindowRect frame = screen_room().frame;
    return {x - frame.left, y - frame.top};
}

// Window managers place the frame's corner where the window asks to be
// (its gravity is north-west), as a window without a frame is placed.
void move_frame(int x, int y) {
    Display* display = x_display();
    if (display != nullptr && game_window() != None) {
        XMoveWindow(display, game_window(), x, y);
        XFlush(display);
    }
}

bool parts_can_be_shown() {
    return copy_sub_buffer() != nullptr;
}

namespace {

int (*earlier_error_handler)(Display*, XErrorEvent*) = nullptr;
int shm_opcode = -1;

// Mesa's software renderer learns the window's size only at a swap and
// copies a part by that size: a part of a window resized meanwhile can fall
// outside its buffer, which the X server refuses. The next frame, drawn for
// the new size, is whole; the refusal is no reason to end the game. (An
// error handler may not ask the server anything, hence the opcode known.)
int on_x_error(Display* display, XErrorEvent* error) {
    if (error->error_code == BadValue && error->request_code == shm_opcode) {
        return 0;
    }
    return earlier_error_handler != nullptr ? earlier_error_handler(display, error) : 0;
}

void forgive_refused_parts(Display* display) {
    static bool forgiving = false;
    if (forgiving) {
        return;
    }
    forgiving = true;
    int first_event = 0, first_error = 0;
    if (!XQueryExtension(display, "MIT-SHM", &shm_opcode, &first_event, &first_error)) {
        shm_opcode = -1;
    }
    earlier_error_handler = XSetErrorHandler(on_x_error);
}

// The window's size at the X server now.
bool size_is(Display* display, int width, int height) {
    Window root = None;
    int x = 0, y = 0;
    unsigned now_width = 0, now_height = 0, border = 0, depth = 0;
    return XGetGeometry(display, game_window(), &root, &x, &y, &now_width, &now_height, &border,
                        &depth) &&
           static_cast<int>(now_width) == width && static_cast<int>(now_height) == height;
}

}  // namespace

// GLX counts rows from the window's bottom.
void show_window_parts(const std::vector<WindowRect>& parts) {
    Display* display = glXGetCurrentDisplay();
    forgive_refused_parts(display);
    if (!size_is(display, window_fit.window_width, window_fit.window_height)) {
        glXSwapBuffers(display, game_window());
        return;
    }
    for (const WindowRect& part : parts) {
        copy_sub_buffer()(display, game_window(), part.left, window_fit.window_height - part.bottom,
                          part.right - part.left, part.bottom - part.top);
    }
}

namespace {

// One icon as _NET_WM_ICON lists it: width, height, then ARGB pixels row by
// row, each in a long as Xlib passes 32-bit items.
void append_icon(std::vector<unsigned long>& icons, const EmbeddedFile& file) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.bytes, file.size)) {
        return;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        return;
    }
    icons.push_back(image.width);
    icons.push_back(image.height);
    for (std::size_t at = 0; at + 3 < pixels.size(); at += 4) {
        icons.push_back(static_cast<unsigned long>(pixels[at + 3]) << 24 |
                        static_cast<unsigned long>(pixels[at]) << 16 |
                        static_cast<unsigned long>(pixels[at + 1]) << 8 | pixels[at + 2]);
    }
}

}  // namespace

void introduce_window() {
    Display* display = glXGetCurrentDisplay();
    const Window window = game_window();
    if (display == nullptr || window == None) {
        return;
    }
    char instance[] = "sowrow", class_name[] = "Sowrow";
    XClassHint hint{instance, class_name};
    XSetClassHint(display, window, &hint);
    std::vector<unsigned long> icons;
    for (int file = 0; file < kIconFileCount; ++file) {
        append_icon(icons, kIconFiles[file]);
    }
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(icons.data()),
                    static_cast<int>(icons.size()));
    // freeglut shows the window as it makes it, and a window manager reads
    // the class when it takes a window on (openbox's rules do): taken off
    // and shown again, the window is taken on with its class.
    XWithdrawWindow(display, window, DefaultScreen(display));
    XMapWindow(display, window);
    XFlush(display);
}
