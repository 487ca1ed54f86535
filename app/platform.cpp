// The desktop services for real: freeglut, SFML audio, SDL2's message box
// and POSIX.
#include "app/platform.h"

#include <GL/freeglut.h>
#include <SDL2/SDL_messagebox.h>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <pthread.h>
#include <sys/prctl.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "app/audio.h"

namespace {

// SDL shows its X11 message box from a forked child. Tie every child to the
// thread that forked it, so no box can outlive the game.
void die_with_parent() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

const bool kChildrenDieWithParent = [] {
    pthread_atfork(nullptr, nullptr, die_with_parent);
    return true;
}();

// The interface the default route goes out of, from the kernel's table.
std::string default_route_interface() {
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line);  // column titles
    while (std::getline(routes, line)) {
        char name[IF_NAMESIZE + 1] = {};
        unsigned long destination = 1;
        if (std::sscanf(line.c_str(), "%16s %lx", name, &destination) == 2 && destination == 0) {
            return name;
        }
    }
    return {};
}

}  // namespace

void warp_pointer(int x, int y) {
    glutWarpPointer(x, y);
}

void play_seed_sound() {
    blip_sound.play();
}

void show_error_box(const char* text, const char* caption) {
    (void)kChildrenDieWithParent;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}

void sleep_milliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void exit_program(int status) {
    std::fflush(stdout);
    // No static destructors: the connection thread may still be blocked on
    // the socket they would destroy.
    std::_Exit(status);
}

int hand_pointer_shape() {
    return GLUT_CURSOR_INFO;
}

void set_pointer_shape(int shape) {
    // Asking for the same shape again costs a round trip to the X server.
    static int current_shape = -1;
    if (shape != current_shape) {
        glutSetCursor(shape);
        current_shape = shape;
    }
}

void local_ipv4_address(char* text, std::size_t capacity) {
    std::snprintf(text, capacity, "0.0.0.0");
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return;
    }
    const std::string preferred = default_route_interface();
    bool found_preferred = false;
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_LOOPBACK) || !(entry->ifa_flags & IFF_UP)) {
            continue;
        }
        const bool is_preferred = preferred == entry->ifa_name;
        if (found_preferred && !is_preferred) {
            continue;
        }
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        inet_ntop(AF_INET, &address->sin_addr, text, static_cast<socklen_t>(capacity));
        found_preferred = found_preferred || is_preferred;
    }
    freeifaddrs(interfaces);
}
