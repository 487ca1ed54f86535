// Any bytes from the opponent, mixed with this side's own pauses, restarts
// and finished sowings: the interpreter must keep its inbox in bounds, never
// stall behind a stray byte, and start sowing only from a pit that may be
// played.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "app/platform.h"
#include "net/connection.h"
#include "net/link.h"
#include "net/messages.h"
#include "rules/board.h"
#include "screens/screen.h"

// The desktop and the connection, reduced to nothing.
void arm_timer(unsigned, TimerCallback) {}
void warp_pointer(int, int) {}
void play_seed_sound() {}
void show_error_box(const char*, const char*) {}
void sleep_milliseconds(int) {}
void exit_program(int) {}
int hand_pointer_shape() {
    return 0;
}
void set_pointer_shape(int) {}
void local_ipv4_address(char* text, std::size_t capacity) {
    std::strncpy(text, "0.0.0.0", capacity);
}
void network_thread(int) {}
void send_to_peer(const char*, std::size_t) {}
void close_connection() {}

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// What the connection thread does with a received chunk: the text of each
// message goes to the end of the inbox while there is room.
void receive(const std::uint8_t* bytes, std::size_t count) {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    std::size_t length = std::strlen(net_link.inbox);
    for (std::size_t i = 0; i < count && length + 1 < sizeof net_link.inbox; ++i) {
        if (bytes[i] != 0) {
            net_link.inbox[length++] = static_cast<char>(bytes[i]);
        }
    }
    net_link.inbox[length] = '\0';
}

// A sowing that has run its course: the turn passes or waits for a relay.
void finish_sowing(std::uint8_t how) {
    if (!match.sowing_active) {
        return;
    }
    match.sowing_active = false;
    if (how & 1) {
        match.current_player = match.current_player == 1 ? 2 : 1;
        match.new_turn = true;
    }
}

void tick_and_check() {
    const bool was_sowing = match.sowing_active;
    const bool stopped_by_pause = net_link.resume_sowing_on_unpause;
    const int mover = match.current_player;
    message_timer(0);
    check(std::memchr(net_link.inbox, '\0', sizeof net_link.inbox) != nullptr);
    if (!was_sowing && match.sowing_active && !stopped_by_pause) {
        // A move of the opponent was taken: it must be playable.
        check(is_on_board(match.source_row, match.source_column));
        check(pit_at(match.source_row, match.source_column).count > 0);
        check(mover == (net_link.hosting ? 2 : 1));
        check(match.game_result == kInPlay && !screen.paused);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    match = Match{};
    net_link.peer_address[0] = '\0';
    if (data[0] & 1) {
        start_hosting();
        net_link.awaiting_peer = false;
    } else {
        start_joining();
        net_link.address_entry_open = false;
    }
    net_link.connected = true;
    match.current_player = (data[0] & 2) ? 2 : 1;
    for (int index = 0; index < kPitCount; ++index) {
        board.pits[index].count = (data[1] >> (index % 8)) & 1 ? 4 : 0;
    }

    std::size_t at = 2;
    while (at < size) {
        const std::uint8_t op = data[at++];
        switch (op % 8) {
            case 0:
            case 1:
            case 2: {
                const std::size_t count = std::min<std::size_t>(op / 8 + 1, size - at);
                receive(data + at, count);
                at += count;
                break;
            }
            case 3:
            case 4:
                tick_and_check();
                break;
            case 5:
                if (screen.paused) {
                    resume_game();
                } else {
                    pause_game();
                }
                break;
            case 6:
                finish_sowing(op / 8);
                break;
            case 7:
                if (match.game_result == kInPlay) {
                    match.game_result = kDraw;
                    net_link.awaiting_rematch = 1;
                } else {
                    play_again();
                }
                break;
        }
    }
    // However the bytes came, the interpreter never stalls: with no pause or
    // sowing in the way it empties the inbox at one message a tick; a
    // play-again waits only for this side's game to be over.
    if (screen.paused) {
        resume_game();
    }
    for (int tick = 0; tick < kInboxCapacity * 2 && net_link.inbox[0] != '\0'; ++tick) {
        match.sowing_active = false;
        net_link.resume_sowing_on_unpause = false;
        net_link.awaiting_rematch = net_link.inbox[0] == 'P' ? 1 : 0;
        match.game_result = kInPlay;
        tick_and_check();
    }
    const std::size_t left = std::strlen(net_link.inbox);
    check(left == 0 || (left == 1 && net_link.inbox[0] >= '0' && net_link.inbox[0] <= '9'));
    return 0;
}
