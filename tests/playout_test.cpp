// The rules played out in one go against the engine that plays them a step
// every 500 ms: whole games, from the opening and from random boards.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "rules/playout.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

// Every seed of the game is on the board or in a store, and no pit holds
// fewer than none or more than all.
bool seeds_accounted_for() {
    int total = match.player1_store + match.player2_store;
    for (const Pit& pit : board.pits) {
        if (pit.count < 0 || pit.count > kTotalSeeds) {
            return false;
        }
        total += pit.count;
    }
    return total == kTotalSeeds;
}

// Plays a move as people do: the engine steps, each relay is taken at once.
// False when a step loses a seed, or the move outlasts any that ends.
bool engine_plays(PitPosition pick) {
    begin_sowing(pick.row, pick.column);
    for (int step = 0; step < 4 * kMaxPlayedDrops; ++step) {
        if (match.new_turn) {
            return true;
        }
        match.sowing_active ? sowing_timer(0) : continue_move();
        if (!seeds_accounted_for()) {
            return false;
        }
    }
    return false;
}

void lay_random_board(std::mt19937& random) {
    RowCounts rows[2] = {};
    for (int seed = std::uniform_int_distribution(3, kTotalSeeds)(random); seed > 0; --seed) {
        ++rows[random() % 2][random() % kColumnCount];
    }
    set_board(rows[0], rows[1], 0);
}

TEST(PlayOut, EveryMoveTheEnginePlaysEndsWhereThePlayOutSays) {
    std::mt19937 random(20261208);
    enter_state(kBoardScreen, 0, "v");  // two people at one keyboard
    int moves = 0;
    for (int game = 0; game < 80; ++game) {
        if (game % 2 == 1) {
            lay_random_board(random);
        }
        while (match.game_result == kInPlay && row_seed_total(own_row(match.current_player))) {
            std::vector<PitPosition> picks;
            for (int column = 0; column < kColumnCount; ++column) {
                const PitPosition pit{own_row(match.current_player), column};
                if (pit_at(pit).count > 0) {
                    picks.push_back(pit);
                }
            }
            const PitPosition pick = picks[random() % picks.size()];
            PitCounts counts = pit_counts();
            const HandEmptied hand = play_move(counts, pick);
            if (hand.next == HandEmptied::kEndless) {
                break;  // the engine would relay for hours
            }
            const int captured = std::exchange(counts[pit_index(hand.pit)], 0);
            int& store = match.current_player == 1 ? match.player1_store : match.player2_store;
            const int stored = store;
            ASSERT_TRUE(engine_plays(pick)) << "game " << game << ", move " << moves;
            EXPECT_EQ(pit_counts(), counts);
            EXPECT_EQ(store - stored, captured);
            ++moves;
        }
        play_again();
    }
    EXPECT_GT(moves, 1000);
}

}  // namespace
