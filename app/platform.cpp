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
#include <vector>

#include "app/audio.h"
#include "net/host_address.h"

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
    const std::string address =
        choose_host_address(interface_addresses(), default_route_interface());
    std::snprintf(text, capacity, "%s", address.c_str());
}
