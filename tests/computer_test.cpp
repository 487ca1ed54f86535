#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "rules/computer.h"
#include "tests/states.h"

namespace {

// The rules played out on a copy of the board, written apart from the
// engine: what the whole move from (0, column) captures, its relays included.
int captured_by(int column) {
    // Sowing runs right to left along row 0, then left to right along row 1.
    const auto after = [](int index) {
        return index == 0 ? 7 : index < 7 ? index - 1 : index == 13 ? 6 : index + 1;
    };
    Board copy = board;
    for (int source = column, current = column;; source = current = after(current)) {
        for (; copy.pits[source].count > 0; --copy.pits[source].count) {
            ++copy.pits[current = after(current)].count;
        }
        if (copy.pits[after(current)].count == 0) {
            return copy.pits[after(after(current))].count;
        }
    }
}

// The greedy choice is the full pit whose move captures most, the lowest
// column on ties, column 0 for an empty row; with eight seeds or fewer no
// relay chain goes on for ever. A candidate that does, column 1 of the last
// board, neither stalls the pick nor is chosen.
TEST(Computer, ChoosesTheMoveThatCapturesMost) {
    std::srand(7);
    for (int position = 0; position < 2000; ++position) {
        RowCounts rows[2] = {};
        for (int seed = 0; seed < 8; ++seed) {
            ++rows[std::rand() % 2][std::rand() % kColumnCount];
        }
        set_board(rows[0], rows[1], 0);
        int best = 0, most = -1;
        for (int column = 0; column < kColumnCount; ++column) {
            if (pit_at(0, column).count > 0 && captured_by(column) > most) {
                best = column;
                most = captured_by(column);
            }
        }
        ASSERT_EQ(best_capture_pit(), best) << position;
    }
    set_board({0, 4, 4, 0, 5, 0, 3}, {1, 3, 2, 1, 0, 1, 0}, 10);
    EXPECT_EQ(best_capture_pit(), 2);
}

// Endless candidates, which no board of the test above has. Per column: E
// endless, 0 a full pit that captures nothing, . an empty pit.
TEST(Computer, ChoiceFromTheScores) {
    const std::pair<const char*, int> rows[] = {{"E.0....", 2}, {"E......", 0}, {".E....E", 1}};
    for (const auto& [text, chosen] : rows) {
        int scores[kColumnCount];
        bool holds_seeds[kColumnCount];
        for (int column = 0; column < kColumnCount; ++column) {
            scores[column] = text[column] == 'E' ? kEndlessScore : 0;
            holds_seeds[column] = text[column] != '.';
        }
        EXPECT_EQ(best_scored_column(scores, holds_seeds), chosen) << text;
    }
}

// One draw for the one-in-ten, then the random pick's draws if any, with no
// draw more or less; the random pick, and the computer's opening, never name
// an empty pit in play. A pick changes only the column and the delay.
TEST(Computer, PicksDrawFromRandInOrder) {
    reset_game_state();
    set_board({0, 3, 0, 0, 2, 0, 0}, {4, 4, 4, 4, 4, 4, 4}, 10);
    const auto random_full_pit = [] {
        int column;
        do {
            column = std::rand() % 7;
        } while (pit_at(0, column).count == 0);
        return column;
    };
    for (unsigned seed = 1; seed < 2000; ++seed) {
        Match expected;
        std::memcpy(&expected, &match, sizeof match);  // padding and all
        std::srand(seed);
        expected.sow_column = pick_computer_pit();
        expected.computer_delay = 4;
        const int next_draw = std::rand();
        std::srand(seed);
        const int column = std::rand() % 10 == 0 ? random_full_pit() : best_capture_pit();
        ASSERT_EQ(expected.sow_column, column) << "seed " << seed;
        ASSERT_EQ(std::rand(), next_draw) << "seed " << seed;
        ASSERT_EQ(std::memcmp(&match, &expected, sizeof match), 0);

        match.current_player = match.sow_row = match.source_row = match.computer_delay = 1;
        std::srand(seed);
        computer_opens_game();
        std::srand(seed);
        const PitPosition opening{0, random_full_pit()};
        ASSERT_EQ(match.current_player * 10 + match.computer_delay, 24);
        ASSERT_EQ((PitPosition{match.sow_row, match.sow_column}), opening);
        ASSERT_EQ((PitPosition{match.source_row, match.source_column}), opening);
    }
    // A lone seed on the row is still found; once the game is decided the
    // first draw stands, empty pit or not.
    set_board({0, 0, 0, 1, 0, 0, 0}, {}, 0);
    for (const int result : {kInPlay, kPlayer1Won}) {
        match.game_result = result;
        std::srand(7);  // whose first draw is 5
        EXPECT_EQ(pick_random_pit(), result == kInPlay ? 3 : 5);
    }
}

}  // namespace
