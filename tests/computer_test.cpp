#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "rules/board.h"
#include "rules/computer.h"
#include "screens/screen.h"
#include "tests/board_setup.h"
#include "tests/fake_platform.h"

namespace {

class ComputerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        screen.screen_code = kBoardScreen;
        match.current_player = 2;
    }
};

std::vector<int> match_fields() {
    const Match& m = match;
    return {m.current_player, m.starting_player, m.versus_human, m.sow_row,        m.sow_column,
            m.source_row,     m.source_column,   m.capture_row,  m.capture_column, m.sowing_active,
            m.step_phase,     m.capture_pending, m.new_turn,     m.player1_store,  m.player2_store,
            m.game_result,    m.player1_wins,    m.player2_wins, m.computer_wins,  m.computer_delay,
            m.sound_on};
}

TEST_F(ComputerTest, BestCaptureTakesTheMostSeedsAndTheLowestColumnOnTies) {
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
}

TEST_F(ComputerTest, BestCaptureFallsBackToANonEmptyPit) {
    // One full pit: chosen whatever it scores.
    set_board({0, 0, 0, 0, 0, 0, 1}, {4, 4, 4, 4, 4, 4, 4}, 10);
    EXPECT_EQ(best_capture_pit(), 6);

    // Nothing captures and column 0 is empty: the lowest full pit.
    set_board({0, 0, 0, 1, 0, 1, 0}, {0, 0, 0, 0, 0, 0, 0}, 10);
    EXPECT_EQ(best_capture_pit(), 3);

    // An empty row: column 0 anyway.
    set_board({}, {4, 4, 4, 4, 4, 4, 4}, 10);
    EXPECT_EQ(best_capture_pit(), 0);
}

TEST_F(ComputerTest, ChoiceFromTheScores) {
    constexpr int E = kEndlessScore;
    struct Row {
        int scores[kColumnCount];
        bool holds_seeds[kColumnCount];
        int expected;
    };
    const Row rows[] = {
        {{2, 2, 3, 2, 0, 3, 0}, {1, 1, 1, 1, 0, 1, 0}, 2},  // most seeds, lowest on ties
        {{0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 1, 0, 1, 0}, 3},  // nothing captures
        {{E, 0, 0, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 0, 0}, 2},  // an endless candidate passed over
        {{E, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0}, 0},  // ... unless it is the only one
        {{0, E, 0, 0, 0, 0, E}, {0, 1, 0, 0, 0, 0, 1}, 1},  // every one endless
        {{0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, 0},  // an empty row
    };
    for (const Row& row : rows) {
        EXPECT_EQ(best_scored_column(row.scores, row.holds_seeds), row.expected);
    }
}

TEST_F(ComputerTest, PicksDrawFromRandInOrder) {
    set_board({0, 3, 0, 0, 2, 0, 0}, {4, 4, 4, 4, 4, 4, 4}, 10);
    for (unsigned seed = 1; seed < 200; ++seed) {
        std::srand(seed);
        const int column = pick_computer_pit();

        std::srand(seed);
        int expected = best_capture_pit();
        if (std::rand() % 10 == 0) {
            do {
                expected = std::rand() % 7;
            } while (pit_at(0, expected).count == 0);
        }
        const int next_draw = std::rand();
        ASSERT_EQ(column, expected) << "seed " << seed;
        ASSERT_EQ(match.sow_column, column);
        ASSERT_EQ(match.computer_delay, 4);

        std::srand(seed);
        pick_computer_pit();
        EXPECT_EQ(std::rand(), next_draw) << "no draw more or less, seed " << seed;
    }
}

TEST_F(ComputerTest, AboutOnePickInTenIsRandomAndNeverEmpty) {
    // Every pit of row 0 is full and column 4 captures the most, so a pick of
    // another column can only be random: 1/10 * 6/7 of the picks.
    set_board({2, 2, 2, 6, 2, 2, 2}, {0, 4, 4, 4, 4, 4, 4}, 10);
    const int best = best_capture_pit();
    std::srand(2026);
    const int turns = 20000;
    int other = 0;
    for (int turn = 0; turn < turns; ++turn) {
        if (pick_computer_pit() != best) {
            ++other;
        }
    }
    EXPECT_NEAR(other / static_cast<double>(turns), 0.1 * 6 / 7, 0.01);

    set_board({0, 1, 0, 0, 0, 7, 0}, {4, 4, 4, 4, 4, 4, 4}, 10);
    for (int turn = 0; turn < 2000; ++turn) {
        const int random = pick_random_pit();
        ASSERT_TRUE(random == 1 || random == 5);
        ASSERT_EQ(match.sow_column, random);
        const int pick = pick_computer_pit();
        ASSERT_GT(pit_at(0, pick).count, 0);
    }

    // A decided game: the first draw stands, empty pit or not.
    match.game_result = kPlayer1Won;
    std::srand(7);
    const int first = std::rand() % 7;
    std::srand(7);
    EXPECT_EQ(pick_random_pit(), first);
}

TEST_F(ComputerTest, PickChangesOnlyTheColumnAndTheDelay) {
    std::srand(99);
    new_game();
    set_board({3, 0, 5, 1, 0, 2, 4}, {1, 6, 0, 2, 3, 0, 1}, 12);
    match.capture_row = 1;
    match.capture_column = 4;
    const Board board_before = board;
    std::vector<int> fields = match_fields();
    for (int pick = 0; pick < 50; ++pick) {
        const int column = pick_computer_pit();
        fields[4] = column;  // sow_column
        fields[19] = 4;      // computer_delay
        ASSERT_EQ(match_fields(), fields);
        ASSERT_EQ(std::memcmp(&board, &board_before, sizeof board), 0);
    }
}

TEST_F(ComputerTest, ComputerOpensWithARandomFullPit) {
    std::srand(5);
    new_game();
    match.current_player = 1;
    for (int column : {0, 2, 3, 6}) {
        pit_at(0, column).count = 0;
    }
    for (int game = 0; game < 100; ++game) {
        computer_opens_game();
        EXPECT_EQ(match.current_player, 2);
        EXPECT_EQ(match.sow_row, 0);
        EXPECT_EQ(match.source_row, 0);
        EXPECT_EQ(match.source_column, match.sow_column);
        EXPECT_GT(pit_at(0, match.sow_column).count, 0);
        EXPECT_EQ(match.computer_delay, 4);
        EXPECT_TRUE(match.new_turn);
        EXPECT_EQ(match.step_phase, 1);
    }
}

}  // namespace
