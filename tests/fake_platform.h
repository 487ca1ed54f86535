// Recording fakes of the desktop services, for tests without a window, and
// the whole state of a copy of the game, for tests that run two in turn.
#pragma once

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "net/link.h"
#include "net/platform.h"
#include "render/compose.h"
#include "rules/board.h"
#include "rules/platform.h"
#include "screens/floating_seeds.h"
#include "screens/platform.h"
#include "screens/screen.h"

struct ArmedTimer {
    unsigned milliseconds;
    TimerCallback callback;
};

using ErrorBox = std::pair<std::string, std::string>;  // the text, the caption

struct PlatformRecord {
    std::vector<ArmedTimer> timers;
    std::vector<Point> warps;
    int seed_sounds = 0;
    std::vector<ErrorBox> error_boxes;  // taken with error_boxes(): they come from a thread
    std::vector<int> sleeps, exits;
};

extern PlatformRecord platform;
extern std::atomic<int> main_loop_wakes;  // from the connection thread

void reset_platform_record();
std::vector<ErrorBox> error_boxes();

// Every field of the network record but its lock, listed once for saving
// and loading a copy of the game.
// clang-format off
#define SOWROW_LINK_FIELDS(FIELD)                                                              \
    FIELD(phase) FIELD(hosting) FIELD(peer_address) FIELD(last_received) FIELD(inbox)          \
    FIELD(rematches_seen) FIELD(play_again_may_be_pause) FIELD(pause_announced)                \
    FIELD(waiting_text) FIELD(connecting_text) FIELD(address_prompt_text)                      \
    FIELD(text_anim_phase) FIELD(local_address)
// clang-format on

template <typename T>
struct Unshared {
    using type = T;
};
template <typename T>
struct Unshared<std::atomic<T>> {
    using type = T;
};

struct GameState {
    Board board;
    Match match;
    Screen screen;
    FloatingSeed floating_seeds[kFloatingSeedCount];
    int blink_phase;
    struct {
#define SOWROW_DECLARE_FIELD(name) Unshared<decltype(NetLink::name)>::type name;
        SOWROW_LINK_FIELDS(SOWROW_DECLARE_FIELD)
#undef SOWROW_DECLARE_FIELD
    } link;
};

GameState save_game_state();
void load_game_state(const GameState& state);
// Every record of the game back to its state at program start.
void reset_game_state();
