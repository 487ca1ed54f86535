// Whole games, step by step through the engine's own timers, against a
// model of the rules written apart from the engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "rules/computer.h"
#include "rules/sowing.h"
#include "tests/states.h"

namespace {

using Counts = std::array<int, kPitCount + 2>;  // the pits, then both stores

// Pit indices in sowing order: right to left along row 0, then left to right
// along row 1.
constexpr int kRing[kPitCount] = {6, 5, 4, 3, 2, 1, 0, 7, 8, 9, 10, 11, 12, 13};

int after(int index) {
    return kRing[(std::find(kRing, kRing + kPitCount, index) - kRing + 1) % kPitCount];
}

// The whole move of `player` from a pit, its relays included.
void play_out(Counts& counts, int source, int player) {
    int current = source;
    for (;;) {
        for (; counts[source] > 0; --counts[source]) {
            current = after(current);
            ++counts[current];
        }
        if (counts[after(current)] == 0) {
            break;
        }
        source = current = after(current);  // a relay
    }
    const int captured = after(after(current));
    counts[kPitCount + player - 1] += counts[captured];
    counts[captured] = 0;
}

Counts counts_now() {
    Counts counts;
    std::transform(std::begin(board.pits), std::end(board.pits), counts.begin(),
                   [](const Pit& pit) { return pit.count; });
    counts[kPitCount] = match.player1_store;
    counts[kPitCount + 1] = match.player2_store;
    return counts;
}

// People pick a random full pit of their row and take every relay; the
// computer plays through its own timer. After every step the seeds stay
// 56 and a result is the stores'; after every turn the board is the model's.
TEST(Games, WholeGamesFollowTheRulesAndEnd) {
    reset_game_state();
    screen.screen_code = kBoardScreen;
    std::srand(20261207);
    for (int game = 0; game < 400; ++game) {
        match.versus_human = game % 2 == 1;
        new_game();
        if (screen.who_first_open) {
            computer_opens_game();
            screen.who_first_open = false;
        }
        Counts expected{};
        int mover = 0;
        for (long step = 0; match.game_result == kInPlay; ++step) {
            ASSERT_LT(step, 100000) << "game " << game << " does not end";
            const bool computer = !match.versus_human && match.current_player == 2;
            if (match.new_turn && mover != match.current_player) {
                mover = match.current_player;
                int column = computer ? match.source_column : -1;  // the computer's pick
                while (!computer && (column < 0 || pit_at(own_row(mover), column).count == 0)) {
                    column = std::rand() % kColumnCount;
                }
                expected = counts_now();
                play_out(expected, own_row(mover) * kColumnCount + column, mover);
                if (!computer) {
                    begin_sowing(own_row(mover), column);
                }
            } else if (match.sowing_active || computer) {
                match.sowing_active ? sowing_timer(0) : computer_timer(0);
            } else {
                const PitPosition relay = next_pit(match.source_row, match.source_column);
                begin_sowing(relay.row, relay.column);
            }
            ASSERT_EQ(seeds_in_game(), kTotalSeeds);
            const int lead = match.player1_store - match.player2_store;
            const int results[] = {kPlayer2Won, kDraw, kPlayer1Won};
            ASSERT_TRUE(match.game_result == kInPlay ||
                        match.game_result == results[(lead > 0) - (lead < 0) + 1]);
            if (match.new_turn && (match.current_player != mover || match.game_result)) {
                ASSERT_EQ(counts_now(), expected) << "game " << game;
            }
        }
        reset_platform_record();
    }
}

}  // namespace

namespace {

// The computer's greedy choice is the model's: the full pit whose move
// captures most, the lowest column on ties. With eight seeds or fewer on the
// board no relay chain goes on for ever.
TEST(Games, TheComputersChoiceIsTheModels) {
    reset_game_state();
    std::srand(7);
    for (int position = 0; position < 2000; ++position) {
        RowCounts rows[2] = {};
        for (int seed = 0; seed < 8; ++seed) {
            ++rows[std::rand() % 2][std::rand() % kColumnCount];
        }
        set_board(rows[0], rows[1], 0);
        int best = -1, best_capture = -1;
        for (int column = 0; column < kColumnCount; ++column) {
            Counts counts = counts_now();
            play_out(counts, column, 2);
            const int capture = counts[kPitCount + 1] - match.player2_store;
            if (pit_at(0, column).count > 0 && capture > best_capture) {
                best = column;
                best_capture = capture;
            }
        }
        if (best >= 0) {
            ASSERT_EQ(best_capture_pit(), best) << position;
        }
    }
}

}  // namespace
