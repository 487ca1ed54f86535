// Whole games, step by step through the engine's own timers, against a
// model of the rules written apart from the engine.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "rules/computer.h"
#include "rules/sowing.h"
#include "tests/board_setup.h"
#include "tests/fake_platform.h"

namespace {

using Counts = std::array<int, kPitCount>;

// Pit indices in sowing order: right to left along row 0, then left to right
// along row 1.
constexpr int kRing[kPitCount] = {6, 5, 4, 3, 2, 1, 0, 7, 8, 9, 10, 11, 12, 13};

int after(int index) {
    int place = 0;
    while (kRing[place] != index) {
        ++place;
    }
    return kRing[(place + 1) % kPitCount];
}

// The whole move from a pit, its relays included: what it captures.
int play_out(Counts& counts, int source) {
    int current = source;
    for (;;) {
        while (counts[source] > 0) {
            current = after(current);
            ++counts[current];
            --counts[source];
        }
        if (counts[after(current)] == 0) {
            const int captured = counts[after(after(current))];
            counts[after(after(current))] = 0;
            return captured;
        }
        source = current = after(current);
    }
}

Counts board_counts() {
    Counts counts;
    for (int index = 0; index < kPitCount; ++index) {
        counts[index] = board.pits[index].count;
    }
    return counts;
}

void check_invariants() {
    ASSERT_EQ(seeds_in_game(), kTotalSeeds);
    for (const Pit& pit : board.pits) {
        ASSERT_GE(pit.count, 0);
    }
    const int lead = match.player1_store - match.player2_store;
    const int results_by_lead[] = {kPlayer2Won, kDraw, kPlayer1Won};
    if (match.game_result != kInPlay) {
        ASSERT_EQ(match.game_result, results_by_lead[(lead > 0) - (lead < 0) + 1]);
    }
}

// Plays one game: people pick a random full pit of their row and take every
// relay; the computer plays through its own timer. Every turn's outcome must
// be the model's.
void play_game(bool versus_computer) {
    match.versus_human = !versus_computer;
    new_game();
    if (screen.who_first_open) {
        computer_opens_game();
        screen.who_first_open = false;
    }
    Counts expected{};
    int expected_store = 0, mover = 0;
    for (long step = 0; match.game_result == kInPlay; ++step) {
        ASSERT_LT(step, 100000) << "the game does not end";
        const bool computer = versus_computer && match.current_player == 2;
        if (match.new_turn && mover != match.current_player) {
            mover = match.current_player;
            int column = computer ? match.source_column : -1;  // the computer's pick
            while (!computer && (column < 0 || pit_at(own_row(mover), column).count == 0)) {
                column = std::rand() % kColumnCount;
            }
            expected = board_counts();
            const int store = mover == 1 ? match.player1_store : match.player2_store;
            expected_store = store + play_out(expected, own_row(mover) * kColumnCount + column);
            if (!computer) {
                begin_sowing(own_row(mover), column);
            }
        } else if (match.sowing_active) {
            sowing_timer(0);
        } else if (computer) {
            computer_timer(0);
        } else {
            const PitPosition relay = next_pit(match.source_row, match.source_column);
            begin_sowing(relay.row, relay.column);
        }
        check_invariants();
        if (match.new_turn && (match.current_player != mover || match.game_result != kInPlay)) {
            ASSERT_EQ(board_counts(), expected);
            ASSERT_EQ(mover == 1 ? match.player1_store : match.player2_store, expected_store);
        }
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

TEST(Games, WholeGamesFollowTheRulesAndEnd) {
    reset_game_state();
    screen.screen_code = kBoardScreen;
    std::srand(20261207);
    for (int game = 0; game < 400; ++game) {
        play_game(game % 2 == 0);
        ASSERT_FALSE(::testing::Test::HasFailure()) << "game " << game;
        reset_platform_record();
    }
}

}  // namespace
