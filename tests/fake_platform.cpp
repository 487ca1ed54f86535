#include "tests/fake_platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

PlatformRecord platform;

namespace {
// Error boxes and sleeps also come from the connection thread.
std::mutex record_mutex;

template <std::size_t size>
void copy_text(char (&to)[size], const char (&from)[size]) {
    std::memcpy(to, from, size);
}
}  // namespace

void reset_platform_record() {
    std::lock_guard<std::mutex> lock(record_mutex);
    platform = PlatformRecord{};
}

GameState save_game_state() {
    GameState state{board, match, screen, {}, blink_phase, {}};
    std::copy(std::begin(floating_seeds), std::end(floating_seeds), state.floating_seeds);
    LinkFields& link = state.link;
    link.network_game = net_link.network_game;
    link.hosting = net_link.hosting;
    link.joining = net_link.joining;
    link.awaiting_peer = net_link.awaiting_peer;
    link.connected = net_link.connected;
    link.address_entry_open = net_link.address_entry_open;
    link.quiet_disconnect = net_link.quiet_disconnect;
    link.connection_lost = net_link.connection_lost;
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    copy_text(link.peer_address, net_link.peer_address);
    copy_text(link.receive_buffer, net_link.receive_buffer);
    copy_text(link.last_received, net_link.last_received);
    copy_text(link.inbox, net_link.inbox);
    copy_text(link.send_buffer, net_link.send_buffer);
    link.peer_paused = net_link.peer_paused;
    link.awaiting_rematch = net_link.awaiting_rematch;
    link.resume_sowing_on_unpause = net_link.resume_sowing_on_unpause;
    link.pause_announced = net_link.pause_announced;
    link.play_again_may_be_pause = net_link.play_again_may_be_pause;
    copy_text(link.waiting_text, net_link.waiting_text);
    copy_text(link.connecting_text, net_link.connecting_text);
    copy_text(link.address_prompt_text, net_link.address_prompt_text);
    link.text_anim_phase = net_link.text_anim_phase;
    copy_text(link.local_address, net_link.local_address);
    return state;
}

void load_game_state(const GameState& state) {
    board = state.board;
    match = state.match;
    screen = state.screen;
    std::copy(std::begin(state.floating_seeds), std::end(state.floating_seeds), floating_seeds);
    blink_phase = state.blink_phase;
    const LinkFields& link = state.link;
    net_link.network_game = link.network_game;
    net_link.hosting = link.hosting;
    net_link.joining = link.joining;
    net_link.awaiting_peer = link.awaiting_peer;
    net_link.connected = link.connected;
    net_link.address_entry_open = link.address_entry_open;
    net_link.quiet_disconnect = link.quiet_disconnect;
    net_link.connection_lost = link.connection_lost;
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    copy_text(net_link.peer_address, link.peer_address);
    copy_text(net_link.receive_buffer, link.receive_buffer);
    copy_text(net_link.last_received, link.last_received);
    copy_text(net_link.inbox, link.inbox);
    copy_text(net_link.send_buffer, link.send_buffer);
    net_link.peer_paused = link.peer_paused;
    net_link.awaiting_rematch = link.awaiting_rematch;
    net_link.resume_sowing_on_unpause = link.resume_sowing_on_unpause;
    net_link.pause_announced = link.pause_announced;
    net_link.play_again_may_be_pause = link.play_again_may_be_pause;
    copy_text(net_link.waiting_text, link.waiting_text);
    copy_text(net_link.connecting_text, link.connecting_text);
    copy_text(net_link.address_prompt_text, link.address_prompt_text);
    net_link.text_anim_phase = link.text_anim_phase;
    copy_text(net_link.local_address, link.local_address);
}

std::vector<ErrorBox> error_boxes() {
    std::lock_guard<std::mutex> lock(record_mutex);
    return platform.error_boxes;
}

void reset_game_state() {
    GameState start{};
    start.match.sound_on = true;
    load_game_state(start);
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

void exit_program(int status) {
    platform.exits.push_back(status);
}

int hand_pointer_shape() {
    if (platform.during_new_game) {
        platform.during_new_game();
    }
    return 2;
}

void set_pointer_shape(int shape) {
    platform.pointer_shape = shape;
}

void local_ipv4_address(char* text, std::size_t capacity) {
    std::snprintf(text, capacity, "%s", platform.local_address.c_str());
}
