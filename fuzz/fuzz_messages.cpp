// Any bytes from the opponent, mixed with this side's own pauses, restarts and finished
// sowings: the interpreter must keep its inbox in bounds, never stall behind a stray byte,
// and start sowing only from a pit that may be played.
#undef NDEBUG  // the checks are what the fuzzer is for
#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "net/messages.h"
#include "tests/fake_peer.h"
#include "tests/fake_platform.h"

// One tick; a move of the opponent's that it takes must be one this side
// could play: a pit on the board that holds seeds, the opponent to move.
static void tick_and_check() {
    const bool was_sowing = match.sowing_active;
    const int mover = match.current_player;
    message_timer(0);
    assert(std::memchr(net_link.inbox, '\0', sizeof net_link.inbox) != nullptr);
    if (!was_sowing && match.sowing_active) {
        assert(is_on_board(match.source_row, match.source_column));
        assert(pit_at(match.source_row, match.source_column).count > 0 && !paused_here());
        assert(mover == (net_link.hosting ? 2 : 1) && match.game_result == kInPlay);
    }
}

// The first byte picks the role and the player to move, the second the pits
// that hold seeds; each further byte is an event, some followed by a chunk.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    reset_game_state();
    sent_to_peer.clear();
    (data[0] & 1) ? start_hosting() : start_joining();
    net_link.phase = LinkPhase::kConnected;
    match.current_player = (data[0] & 2) ? 2 : 1;
    for (int index = 0; index < kPitCount; ++index) {
        board.pits[index].count = (data[1] >> (index % 8)) & 1 ? 4 : 0;
    }
    for (std::size_t at = 2; at < size;) {
        const std::uint8_t event = data[at++];
        if (event % 8 < 3) {
            // A chunk: its messages' text goes to the end of the inbox while there is room.
            const std::size_t count = std::min<std::size_t>(event / 8 + 1, size - at);
            std::string text = net_link.inbox;
            std::remove_copy(data + at, data + at + count, std::back_inserter(text), 0);
            std::snprintf(net_link.inbox, sizeof net_link.inbox, "%s", text.c_str());
            at += count;
        } else if (event % 8 < 5) {
            tick_and_check();
        } else if (event % 8 == 5) {
            paused_here() ? resume_game() : pause_game();
        } else if (event % 8 == 6 && match.sowing_active) {
            // The sowing has run its course: the turn passes, or a relay waits.
            match.sowing_active = false;
            match.new_turn = (event & 8) != 0;
            match.current_player = match.new_turn ? 3 - match.current_player : match.current_player;
        } else if (event % 8 == 7 && match.game_result == kInPlay) {
            match.game_result = kDraw;  // this side's game is over
            net_link.rematches_seen = match.games_ended++;
        } else if (event % 8 == 7) {
            play_again();
        }
    }
    // Nothing stalls: with nothing in the way the inbox empties, a message a tick, but for a
    // move still on its way; "P" waits only for this side's game to be over.
    for (int tick = 0; tick < kInboxCapacity * 2 && net_link.inbox[0] != '\0'; ++tick) {
        match.paused_by = 0;
        match.sowing_active = false;
        net_link.rematches_seen = match.games_ended - (net_link.inbox[0] == 'P');
        match.game_result = kInPlay;
        tick_and_check();
    }
    const std::size_t left = std::strlen(net_link.inbox);
    assert(left == 0 || (left == 1 && net_link.inbox[0] >= '0' && net_link.inbox[0] <= '9'));
    return 0;
}
