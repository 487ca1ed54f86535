// Recording fakes of the desktop services, for tests without a window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/platform.h"
#include "net/link.h"
#include "render/floating_seeds.h"
#include "rules/board.h"
#include "screens/screen.h"

struct ArmedTimer {
    unsigned milliseconds;
    TimerCallback callback;
};

struct ErrorBox {
    std::string text;
    std::string caption;
};

struct PlatformRecord {
    std::vector<ArmedTimer> timers;
    std::vector<Point> warps;
    int seed_sounds = 0;
    std::vector<ErrorBox> error_boxes;
    std::vector<int> sleeps;
    std::vector<int> exits;
    int pointer_shape = -1;
    std::string local_address = "192.0.2.7";
    // Runs in the middle of every new game, where the connection thread
    // could append to the inbox.
    std::function<void()> during_new_game;
};

extern PlatformRecord platform;

// Forgets every recorded call.
void reset_platform_record();

// The fields of the network record, without its lock.
struct LinkFields {
    bool network_game, hosting, joining, awaiting_peer, connected, address_entry_open,
        quiet_disconnect, connection_lost;
    char peer_address[kAddressCapacity];
    char receive_buffer[kMessageCapacity], last_received[kMessageCapacity];
    char inbox[kInboxCapacity];
    char send_buffer[kMessageCapacity];
    bool peer_paused;
    int awaiting_rematch;
    bool resume_sowing_on_unpause, pause_announced, play_again_may_be_pause;
    char waiting_text[kMessageCapacity], connecting_text[kMessageCapacity],
        address_prompt_text[kMessageCapacity];
    int text_anim_phase;
    char local_address[kAddressCapacity];
};

// Every process-wide record of one copy of the game, so that a test can run
// two copies in one process, each in turn.
struct GameState {
    Board board;
    Match match;
    Screen screen;
    FloatingSeed floating_seeds[kFloatingSeedCount];
    int blink_phase;
    LinkFields link;
};

GameState save_game_state();
void load_game_state(const GameState& state);

// A copy of the error boxes shown so far, taken while the connection thread
// may be showing another.
std::vector<ErrorBox> error_boxes();

// Puts every record of the game back to its state at program start.
void reset_game_state();
