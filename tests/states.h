// The state the tests speak of, set and read in few words, so that one row
// of a table fits one line. The letters:
//   q quit question   x exit box   y Yes highlighted   w who-plays-first
//   p pause prompt    v a person plays row 0   r the game is over
//   2 player 2 to move   s sound off   h hosting, waiting   n hosting,
//   connected   j joining, typing   c joining, connecting   a awaiting the
//   opponent's play-again   o the opponent has paused   t the turn has
//   begun: a relay from (0, 0) waits   m a move is being sown, unpaused
#pragma once

#include <array>
#include <cstring>
#include <string>

#include "tests/fake_peer.h"
#include "tests/fake_platform.h"

// A fresh program, then the screen, the highlight and the flags.
inline void enter_state(double screen_code, int menu_choice, const char* flags) {
    reset_game_state();
    sent_to_peer.clear();
    connection_closes = 0;
    new_game();  // as start-up does
    match.starting_player = 2;
    for (FloatingSeed& seed : floating_seeds) {
        respawn_floating_seed(seed);
    }
    const auto has = [flags](char letter) { return std::strchr(flags, letter) != nullptr; };
    // clang-format off
    screen.screen_code = screen_code, screen.menu_choice = menu_choice;
    screen.quit_question_open = has('q'), screen.exit_dialog_open = has('x');
    screen.exit_yes_selected = has('y'), match.who_first_open = has('w');
    match.versus_human = has('v'), match.game_result = has('r') ? kPlayer1Won : kInPlay;
    match.current_player = has('2') ? 2 : 1, match.sound_on = !has('s');
    if (has('h') || has('n') || has('j') || has('c')) {
        open_link(has('h') || has('n'));
        net_link.phase = has('h') ? LinkPhase::kHostWaiting : has('n') ? LinkPhase::kConnected
                       : has('j') ? LinkPhase::kTypingAddress : LinkPhase::kConnecting;
    }
    net_link.rematches_seen -= has('a'), match.sowing_active = has('m');
    match.paused_by = has('o') ? unsigned{kPausedByOpponent} : 0u;
    if (has('t')) {
        match.new_turn = false, match.source_row = match.source_column = 0;
    }
    // clang-format on
    if (has('p')) {
        pause_game();
        sent_to_peer.clear();
    }
}

inline std::string state_flags() {
    const LinkPhase phase = net_link.phase;
    // clang-format off
    const bool flags[] = {screen.quit_question_open, screen.exit_dialog_open,
        screen.exit_yes_selected, match.who_first_open, paused_here(), match.versus_human,
        match.game_result != kInPlay, match.current_player == 2, !match.sound_on,
        phase == LinkPhase::kHostWaiting, net_link.hosting && phase == LinkPhase::kConnected,
        phase == LinkPhase::kTypingAddress, phase == LinkPhase::kConnecting,
        awaiting_rematch() > 0, paused_by_opponent(), !match.new_turn,
        match.sowing_active && match.paused_by == 0};
    // clang-format on
    std::string letters;
    for (std::size_t i = 0; i < sizeof flags; ++i) {
        letters += flags[i] ? std::string(1, "qxywpvr2shnjcaotm"[i]) : "";
    }
    return letters;
}

// Every message sent since the state was entered, without their NULs.
inline std::string messages_sent() {
    std::string text;
    for (const std::string& bytes : sent_to_peer) {
        text += (text.empty() ? "" : " ") + bytes.substr(0, bytes.size() - 1);
    }
    return text;
}

using RowCounts = std::array<int, kColumnCount>;

// Lays out both rows, every seed at its own random spot, and gives the seeds
// not on the board to the stores so that the game holds its 56 seeds.
inline void set_board(const RowCounts& row0, const RowCounts& row1, int player1_store) {
    int on_board = 0;
    for (int index = 0; index < kPitCount; ++index) {
        Pit& pit = board.pits[index];
        pit.count = (index < kColumnCount ? row0 : row1)[index % kColumnCount];
        on_board += pit.count;
        for (int slot = 0; slot < pit.count; ++slot) {
            const Point spot = scatter_point(index / kColumnCount, index % kColumnCount);
            pit.seed_x[slot] = spot.x;
            pit.seed_y[slot] = spot.y;
        }
    }
    match.player1_store = player1_store;
    match.player2_store = kTotalSeeds - on_board - player1_store;
}
