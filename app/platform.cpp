// The desktop services for real: freeglut, SFML audio, SDL2's message box
// (or xmessage's) and POSIX.
#include "net/platform.h"
#include "rules/platform.h"
#include "screens/platform.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <SDL2/SDL_messagebox.h>
#include <X11/Xlib.h>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/audio.h"
#include "app/main_loop.h"
#include "net/host_address.h"
#include "net/port_mapping.h"
#include "render/window_fit.h"

namespace {

// SDL shows its X11 message box from a forked child, and so does the game
// itself with xmessage. Tie every child to the thread that forked it, so no
// box can outlive the game.
void die_with_parent() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

const bool kChildrenDieWithParent = [] {
    pthread_atfork(nullptr, nullptr, die_with_parent);
    return true;
}();

// xmessage ends with 1 both when it cannot reach the display and when its
// window is closed from the window manager (or its connection killed). The
// display is tried first, so afterwards a 1 means the box was there and the
// player closed it.
constexpr int kXmessageOk = 0;
constexpr int kXmessageClosed = 1;

bool display_reachable() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

// A modal box drawn with the X server's own font, for when SDL finds no
// font to draw its box with. Returns whether the player saw and dismissed it.
bool show_xmessage_box(const char* text, const char* caption) {
    if (!display_reachable()) {
        return false;
    }
    const char* const arguments[] = {"xmessage", "-title",   caption, "-center", "-buttons",
                                     "OK:0",     "-default", "OK",    text,      nullptr};
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        // The box needs none of the game's sockets or its X connection.
        close_range(3, ~0U, 0);
        execvp(arguments[0], const_cast<char* const*>(arguments));
        _exit(127);  // no xmessage
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) &&
           (WEXITSTATUS(status) == kXmessageOk || WEXITSTATUS(status) == kXmessageClosed);
}

// The interface the default route goes out of, from the kernel's table; of
// several (cable and wireless), the one of the lowest metric, which the
// system uses.
std::string default_route_interface() {
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line);  // column titles
    std::string chosen;
    long chosen_metric = 0;
    while (std::getline(routes, line)) {
        char name[IF_NAMESIZE + 1] = {};
        unsigned long destination = 1;
        long metric = 0;
        if (std::sscanf(line.c_str(), "%16s %lx %*x %*x %*d %*d %ld", name, &destination,
                        &metric) == 3 &&
            destination == 0 && (chosen.empty() || metric < chosen_metric)) {
            chosen = name;
            chosen_metric = metric;
        }
    }
    return chosen;
}

// This machine's IPv4 addresses, in the system's order.
std::vector<InterfaceAddress> interface_addresses() {
    std::vector<InterfaceAddress> addresses;
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return addresses;
    }
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        char address[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr,
                  address, sizeof address);
        addresses.push_back({entry->ifa_name, address, (entry->ifa_flags & IFF_UP) != 0,
                             (entry->ifa_flags & IFF_LOOPBACK) != 0});
    }
    freeifaddrs(interfaces);
    return addresses;
}

Window parent_of(Display* display, Window window) {
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return None;
    }
    XFree(children);
    return parent;
}

// Whether the keyboard focus is on the game's window or its frame, or
// follows the pointer.
bool focus_with_the_game(Display* display, Window window) {
    Window focus = None;
    int revert_to = 0;
    XGetInputFocus(display, &focus, &revert_to);
    const Window root = DefaultRootWindow(display);
    if (focus == PointerRoot || focus == root) {
        return true;
    }
    for (Window inner = window; inner != root && inner != None; inner = parent_of(display, inner)) {
        if (focus == inner) {
            return true;
        }
    }
    return false;
}

// Whether the game's window is the one under the pointer: followed from the
// root down, window in window, the pointer must come to it and not to
// another program's window laid over it, however little of the game shows.
bool pointer_on_the_game(Display* display, Window window) {
    Window under = DefaultRootWindow(display);
    while (under != None && under != window) {
        Window root = None, child = None;
        int root_x = 0, root_y = 0, x = 0, y = 0;
        unsigned buttons = 0;
        if (!XQueryPointer(display, under, &root, &child, &root_x, &root_y, &x, &y, &buttons)) {
            return false;  // the pointer is on another screen
        }
        under = child;
    }
    return under == window;
}

// The hand may move the pointer only while the player is with the game: its
// window shows, has the keyboard focus (or the focus follows the pointer)
// and is under the pointer. Otherwise each seed sown would snatch the
// pointer from the player's work in another program.
bool player_is_with_the_game() {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    return window_shows() && display != nullptr && window != None &&
           focus_with_the_game(display, window) && pointer_on_the_game(display, window);
}

}  // namespace

void warp_pointer(int x, int y) {
    if (!player_is_with_the_game()) {
        return;  // the seeds still move in the picture
    }
    const Point at = drawing_to_window(window_fit, x, y);
    glutWarpPointer(at.x, at.y);
}

void play_seed_sound() {
    play_seed_click();
}

void show_error_box(const char* text, const char* caption) {
    (void)kChildrenDieWithParent;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) == 0 ||
        show_xmessage_box(text, caption)) {
        return;
    }
    // No box at all: the player is told at least where a terminal shows it.
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

void sleep_milliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void exit_program(int status) {
    // Ending while hosting: the router's way in goes with the game.
    close_port_forwarding();
    std::fflush(stdout);
    // No static destructors: the connection thread may still be blocked on
    // the socket they would destroy.
    std::_Exit(status);
}

void local_ipv4_address(char* text, std::size_t capacity) {
    const std::string address =
        choose_host_address(interface_addresses(), default_route_interface());
    std::snprintf(text, capacity, "%s", address.c_str());
}
