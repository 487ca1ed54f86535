#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "rules/computer.h"
#include "tests/fake_platform.h"
#include "tests/states.h"

namespace {

// The rules played out on counts alone, written apart from the engine: what
// the whole move from (0, column) captures, its relays included.
int captured_by(int column) {
    // Pit indices in sowing order: right to left along row 0, then left to
    // right along row 1.
    static const int kRing[kPitCount] = {6, 5, 4, 3, 2, 1, 0, 7, 8, 9, 10, 11, 12, 13};
    const auto after = [](int index) {
        return kRing[(std::find(kRing, kRing + kPitCount, index) - kRing + 1) % kPitCount];
    };
    int counts[kPitCount];
    std::transform(std::begin(board.pits), std::end(board.pits), counts,
                   [](const Pit& pit) { return pit.count; });
    for (int source = column, current = column;; source = current = after(current)) {
        for (; counts[source] > 0; --counts[source]) {
            ++counts[current = after(current)];
        }
        if (counts[after(current)] == 0) {
            return counts[after(after(current))];
        }
    }
}

// The greedy choice is the full pit whose move captures most, the lowest
// column on ties; with eight seeds or fewer no relay chain goes on for ever.
// A candidate that does, column 1 of the last board, neither stalls the
// pick nor is chosen.
TEST(Computer, ChoosesTheMoveThatCapturesMost) {
    reset_game_state();
    std::srand(7);
    for (int position = 0; position < 2000; ++position) {
        RowCounts rows[2] = {};
        for (int seed = 0; seed < 8; ++seed) {
            ++rows[std::rand() % 2][std::rand() % kColumnCount];
        }
        set_board(rows[0], rows[1], 0);
        int best = -1, most = -1;
        for (int column = 0; column < kColumnCount; ++column) {
            if (pit_at(0, column).count > 0 && captured_by(column) > most) {
                best = column;
                most = captured_by(column);
            }
        }
        if (best >= 0) {
            ASSERT_EQ(best_capture_pit(), best) << position;
        }
    }
    set_board({0, 4, 4, 0, 5, 0, 3}, {1, 3, 2, 1, 0, 1, 0}, 10);
    EXPECT_EQ(best_capture_pit(), 2);
}

TEST(Computer, ChoiceFromTheScores) {
    constexpr int E = kEndlessScore;
    struct Row {
        int scores[kColumnCount];
        bool holds_seeds[kColumnCount];
        int chosen;
    };
    const Row rows[] = {
        {{2, 2, 3, 2, 0, 3, 0}, {1, 1, 1, 1, 0, 1, 0}, 2},  // most seeds, lowest on ties
        {{1, 3, 2, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0, 0}, 1},
        {{0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 1, 0, 1, 0}, 3},  // nothing captures
        {{E, 0, 0, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 0, 0}, 2},  // an endless candidate passed over
        {{E, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0}, 0},  // ... unless it is the only one
        {{0, E, 0, 0, 0, 0, E}, {0, 1, 0, 0, 0, 0, 1}, 1},  // every one endless
        {{0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, 0},  // an empty row
    };
    for (const Row& row : rows) {
        EXPECT_EQ(best_scored_column(row.scores, row.holds_seeds), row.chosen) << &row - rows;
    }
}

// One draw for the one-in-ten, then the random pick's draws if any, with no
// draw more or less, and the random pick never names an empty pit in play.
// A pick changes only the column and the delay.
TEST(Computer, PicksDrawFromRandInOrder) {
    reset_game_state();
    set_board({0, 3, 0, 0, 2, 0, 0}, {4, 4, 4, 4, 4, 4, 4}, 10);
    for (unsigned seed = 1; seed < 2000; ++seed) {
        Match expected;
        std::memcpy(&expected, &match, sizeof match);  // padding and all
        std::srand(seed);
        expected.sow_column = pick_computer_pit();
        expected.computer_delay = 4;
        const int next_draw = std::rand();
        std::srand(seed);
        int column = best_capture_pit();
        if (std::rand() % 10 == 0) {
            do {
                column = std::rand() % 7;
            } while (pit_at(0, column).count == 0);
        }
        ASSERT_EQ(expected.sow_column, column) << "seed " << seed;
        ASSERT_EQ(std::rand(), next_draw) << "seed " << seed;
        ASSERT_EQ(std::memcmp(&match, &expected, sizeof match), 0);
    }
    // Once the game is decided the first draw stands, empty pit or not.
    match.game_result = kPlayer1Won;
    std::srand(7);
    const int first = std::rand() % 7;
    std::srand(7);
    EXPECT_EQ(pick_random_pit(), first);
}

TEST(Computer, OpensTheGameFromARandomFullPit) {
    reset_game_state();
    set_board({0, 3, 0, 0, 2, 1, 0}, {}, 10);
    for (unsigned seed = 1; seed < 50; ++seed) {
        match.current_player = 1;
        std::srand(seed);
        computer_opens_game();
        std::srand(seed);
        int column;
        do {
            column = std::rand() % 7;
        } while (pit_at(0, column).count == 0);
        EXPECT_EQ(match.current_player * 10 + match.computer_delay, 24);
        EXPECT_EQ((PitPosition{match.sow_row, match.sow_column}), (PitPosition{0, column}));
        EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{0, column}));
    }
}

}  // namespace
