#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "rules/computer.h"
#include "tests/board_setup.h"
#include "tests/fake_platform.h"

namespace {

class Computer : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        match.current_player = 2;
    }
};

TEST_F(Computer, ScoresAMoveByWhatItsWholeRelayChainCaptures) {
    // Scores by column: 2, 2, 3, 2, -, 3, -.
    set_board({3, 1, 3, 3, 0, 2, 0}, {2, 0, 3, 1, 1, 1, 0}, 10);
    EXPECT_EQ(best_capture_pit(), 2);
    // Column 0 sows into (1, 0), (1, 1) and relays from (1, 2) to capture the
    // six seeds of (1, 5); scored by its first pit it would lose to column 5.
    set_board({2, 0, 3, 0, 0, 1, 0}, {0, 0, 1, 0, 0, 6, 4}, 20);
    EXPECT_EQ(best_capture_pit(), 0);
    // Column 1 relays for ever; it must neither stall nor be chosen.
    set_board({0, 4, 4, 0, 5, 0, 3}, {1, 3, 2, 1, 0, 1, 0}, 20);
    EXPECT_EQ(best_capture_pit(), 2);
    // Only one pit holds seeds: chosen whatever it scores.
    set_board({0, 0, 0, 0, 0, 0, 1}, {4, 4, 4, 4, 4, 4, 4}, 10);
    EXPECT_EQ(best_capture_pit(), 6);
}

TEST_F(Computer, ChoiceFromTheScores) {
    constexpr int E = kEndlessScore;
    struct Row {
        int scores[kColumnCount];
        bool holds_seeds[kColumnCount];
        int expected;
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
        EXPECT_EQ(best_scored_column(row.scores, row.holds_seeds), row.expected) << &row - rows;
    }
}

// One draw for the one-in-ten, then the random pick's draws if any: the
// rest of the game's randomness depends on there being no draw more or less.
TEST_F(Computer, PicksDrawFromRandInOrder) {
    set_board({0, 3, 0, 0, 2, 0, 0}, {4, 4, 4, 4, 4, 4, 4}, 10);
    for (unsigned seed = 1; seed < 200; ++seed) {
        std::srand(seed);
        const int column = pick_computer_pit();
        const int next_draw = std::rand();
        std::srand(seed);
        int expected = best_capture_pit();
        if (std::rand() % 10 == 0) {
            do {
                expected = std::rand() % 7;
            } while (pit_at(0, expected).count == 0);
        }
        ASSERT_EQ(column, expected) << "seed " << seed;
        ASSERT_EQ(match.sow_column, column);
        ASSERT_EQ(match.computer_delay, 4);
        ASSERT_EQ(std::rand(), next_draw) << "seed " << seed;
    }
}

TEST_F(Computer, AboutOnePickInTenIsRandomAndNeverEmptyInPlay) {
    // Every pit is full, so a column other than the best can only be
    // random: 1/10 * 6/7 of the picks.
    set_board({2, 2, 2, 6, 2, 2, 2}, {0, 4, 4, 4, 4, 4, 4}, 10);
    const int best = best_capture_pit();
    std::srand(2026);
    int other = 0;
    for (int turn = 0; turn < 20000; ++turn) {
        other += pick_computer_pit() != best;
    }
    EXPECT_NEAR(other / 20000.0, 0.1 * 6 / 7, 0.01);

    set_board({0, 1, 0, 0, 0, 7, 0}, {4, 4, 4, 4, 4, 4, 4}, 10);
    for (int turn = 0; turn < 2000; ++turn) {
        const int random = pick_random_pit();
        ASSERT_TRUE(random == 1 || random == 5);
        ASSERT_EQ(match.sow_column, random);
        ASSERT_GT(pit_at(0, pick_computer_pit()).count, 0);
    }
    // A decided game: the first draw stands, empty pit or not.
    match.game_result = kPlayer1Won;
    std::srand(7);
    const int first = std::rand() % 7;
    std::srand(7);
    EXPECT_EQ(pick_random_pit(), first);
}

TEST_F(Computer, APickChangesOnlyTheColumnAndTheDelay) {
    set_board({3, 0, 5, 1, 0, 2, 4}, {1, 6, 0, 2, 3, 0, 1}, 12);
    match.capture_column = 4;
    const Board board_before = board;
    for (int pick = 0; pick < 50; ++pick) {
        Match expected;
        std::memcpy(&expected, &match, sizeof match);  // padding and all
        expected.sow_column = pick_computer_pit();
        expected.computer_delay = 4;
        ASSERT_EQ(std::memcmp(&match, &expected, sizeof match), 0);
        ASSERT_EQ(std::memcmp(&board, &board_before, sizeof board), 0);
    }
}

TEST_F(Computer, OpensTheGameFromARandomFullPit) {
    set_board({0, 3, 0, 0, 2, 1, 0}, {}, 10);
    for (unsigned seed = 1; seed < 50; ++seed) {
        match.current_player = 1;
        std::srand(seed);
        computer_opens_game();
        std::srand(seed);
        int expected;
        do {
            expected = std::rand() % 7;
        } while (pit_at(0, expected).count == 0);
        EXPECT_EQ(match.sow_column, expected);
        EXPECT_EQ(match.current_player, 2);
        EXPECT_EQ((PitPosition{match.sow_row, match.source_column}), (PitPosition{0, expected}));
        EXPECT_EQ(match.source_row, 0);
        EXPECT_EQ(match.computer_delay, 4);
    }
}

}  // namespace
