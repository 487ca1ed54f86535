#include "tests/fake_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

PlatformRecord platform;
std::atomic<int> main_loop_wakes{0};

namespace {
// Error boxes and sleeps also come from the connection thread.
std::mutex record_mutex;

template <typename To, typename From>
void copy_field(To& to, const From& from) {
    to = from;
}
template <typename T, std::size_t size>
void copy_field(T (&to)[size], const T (&from)[size]) {
    std::memcpy(to, from, sizeof to);
}
}  // namespace

void reset_platform_record() {
    std::lock_guard<std::mutex> lock(record_mutex);
    platform = PlatformRecord{};
    main_loop_wakes = 0;
}

std::vector<ErrorBox> error_boxes() {
    std::lock_guard<std::mutex> lock(record_mutex);
    return platform.error_boxes;
}

GameState save_game_state() {
    GameState state{board, match, screen, {}, blink_phase, {}};
    std::copy(std::begin(floating_seeds), std::end(floating_seeds), state.floating_seeds);
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
#define SOWROW_SAVE_FIELD(name) copy_field(state.link.name, net_link.name);
    SOWROW_LINK_FIELDS(SOWROW_SAVE_FIELD)
    return state;
}

void load_game_state(const GameState& state) {
    board = state.board;
    match = state.match;
    screen = state.screen;
    std::copy(std::begin(state.floating_seeds), std::end(state.floating_seeds), floating_seeds);
    blink_phase = state.blink_phase;
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
#define SOWROW_LOAD_FIELD(name) copy_field(net_link.name, state.link.name);
    SOWROW_LINK_FIELDS(SOWROW_LOAD_FIELD)
}

void reset_game_state() {
    GameState start{};
    start.match.sound_on = true;
    load_game_state(start);
    reset_platform_record();
}

// clang-format off
void arm_timer(unsigned milliseconds, TimerCallback callback) {
    platform.timers.push_back({milliseconds, callback});
}
void warp_pointer(int x, int y) { platform.warps.push_back({x, y}); }
void play_seed_sound() { ++platform.seed_sounds; }
void wake_main_loop() { ++main_loop_wakes; }
void exit_program(int status) { platform.exits.push_back(status); }
void local_ipv4_address(char* text, std::size_t n) { std::snprintf(text, n, "192.0.2.7"); }
// clang-format on

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
