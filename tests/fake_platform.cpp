#include "tests/fake_platform.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "net/link.h"
#include "render/floating_seeds.h"
#include "screens/screen.h"

PlatformRecord platform;
std::atomic<int> main_loop_wakes{0};

namespace {
// Error boxes and sleeps also come from the connection thread.
std::mutex record_mutex;
}  // namespace

void reset_platform_record() {
    std::lock_guard<std::mutex> lock(record_mutex);
    platform = PlatformRecord{};
    main_loop_wakes = 0;
}

void reset_game_state() {
    board = Board{};
    match = Match{};
    match.sound_on = true;
    screen = Screen{};
    for (FloatingSeed& seed : floating_seeds) {
        seed = FloatingSeed{};
    }
    blink_phase = 0;
    net_link.network_game = false;
    net_link.hosting = false;
    net_link.joining = false;
    net_link.awaiting_peer = false;
    net_link.connected = false;
    net_link.address_entry_open = false;
    net_link.quiet_disconnect = false;
    net_link.connection_lost = false;
    net_link.peer_address[0] = '\0';
    clear_message_buffers();
    net_link.peer_paused = false;
    net_link.awaiting_rematch = false;
    net_link.resume_sowing_on_unpause = false;
    net_link.pause_announced = false;
    net_link.waiting_text[0] = '\0';
    net_link.connecting_text[0] = '\0';
    net_link.address_prompt_text[0] = '\0';
    net_link.text_anim_phase = 0;
    net_link.local_address[0] = '\0';
    reset_platform_record();
}

void arm_timer(unsigned milliseconds, TimerCallback callback) {
    platform.timers.push_back({milliseconds, callback});
}

void warp_pointer(int x, int y) {
    platform.warps.push_back({x, y});
}

void play_seed_sound() {
    ++platform.seed_sounds;
}

void show_error_box(const char* text, const char* caption) {
    std::lock_guard<std::mutex> lock(record_mutex);
    platform.error_boxes.push_back({text, caption});
}

void sleep_milliseconds(int milliseconds) {
    {
        std::lock_guard<std::mutex> lock(record_mutex);
        platform.sleeps.push_back(milliseconds);
    }
    // Really sleep: the connection thread paces its passes with this.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void wake_main_loop() {
    ++main_loop_wakes;
}

void exit_program(int status) {
    platform.exits.push_back(status);
}

int hand_pointer_shape() {
    return 2;
}

void set_pointer_shape(int shape) {
    platform.pointer_shape = shape;
}

void local_ipv4_address(char* text, std::size_t capacity) {
    std::snprintf(text, capacity, "%s", platform.local_address.c_str());
}
