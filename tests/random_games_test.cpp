#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "rules/board.h"
#include "rules/computer.h"
#include "rules/sowing.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

enum class Picker { kComputer, kGreedy, kRandom };

// Turning the board half way round maps row 1 onto row 0 and keeps the
// sowing order, so the computer's own choice serves player 1 too.
int greedy_pit_for_player1() {
    const Board saved = board;
    for (int column = 0; column < kColumnCount; ++column) {
        pit_at(0, column).count = saved.pits[kColumnCount + 6 - column].count;
        pit_at(1, column).count = saved.pits[6 - column].count;
    }
    const int column = best_capture_pit();
    board = saved;
    return 6 - column;
}

int random_full_pit(int row) {
    int column;
    do {
        column = std::rand() % kColumnCount;
    } while (pit_at(row, column).count == 0);
    return column;
}

void check_invariants() {
    int total = match.player1_store + match.player2_store;
    ASSERT_GE(match.player1_store, 0);
    ASSERT_GE(match.player2_store, 0);
    for (const Pit& pit : board.pits) {
        ASSERT_GE(pit.count, 0);
        ASSERT_LE(pit.count, kTotalSeeds);
        total += pit.count;
    }
    ASSERT_EQ(total, kTotalSeeds);
    switch (match.game_result) {
        case kInPlay:
            break;
        case kPlayer1Won:
            ASSERT_GT(match.player1_store, match.player2_store);
            break;
        case kPlayer2Won:
            ASSERT_LT(match.player1_store, match.player2_store);
            break;
        case kDraw:
            ASSERT_EQ(match.player1_store, match.player2_store);
            break;
        default:
            FAIL() << "game_result " << match.game_result;
    }
}

// A person's turn: the first pick, or the relay the move waits for.
void person_moves(Picker picker) {
    if (!match.new_turn) {
        const PitPosition relay = next_pit(match.source_row, match.source_column);
        ASSERT_GT(pit_at(relay).count, 0);
        begin_sowing(relay.row, relay.column);
        return;
    }
    const int row = own_row(match.current_player);
    int column;
    if (picker == Picker::kRandom) {
        column = random_full_pit(row);
    } else if (row == 1) {
        column = greedy_pit_for_player1();
    } else {
        column = best_capture_pit();
    }
    ASSERT_GT(pit_at(row, column).count, 0);
    begin_sowing(row, column);
}

struct GameLength {
    long steps;
    int turns;
};

// Plays one whole game step by step, the computer through its own timer.
GameLength play_game(Picker player1, Picker player2) {
    match.versus_human = player2 != Picker::kComputer;
    screen.screen_code = kBoardScreen;
    new_game();
    if (screen.who_first_open) {
        if (match.current_player == 2) {
            computer_opens_game();
        }
        screen.who_first_open = false;
    }

    // The longest of thousands of games took under 2,000 steps: a game still
    // going after a hundred times that is taken to hang.
    constexpr long kStepLimit = 200000;
    GameLength length{0, 0};
    int player = match.current_player;
    while (match.game_result == kInPlay && length.steps < kStepLimit) {
        if (match.sowing_active) {
            sowing_timer(0);
        } else if (match.current_player == 2 && player2 == Picker::kComputer) {
            computer_timer(0);
        } else {
            person_moves(match.current_player == 1 ? player1 : player2);
        }
        ++length.steps;
        check_invariants();
        if (::testing::Test::HasFatalFailure()) {
            return length;
        }
        if (match.current_player != player) {
            player = match.current_player;
            ++length.turns;
        }
    }
    EXPECT_NE(match.game_result, kInPlay) << "the game did not end";
    EXPECT_TRUE(match.new_turn);
    EXPECT_FALSE(match.sowing_active);
    return length;
}

TEST(RandomGamesTest, WholeGamesKeepEverySeedAndEnd) {
    reset_game_state();
    std::srand(20261207);
    struct Pairing {
        Picker player1;
        Picker player2;
        int games;
    };
    const Pairing pairings[] = {
        {Picker::kGreedy, Picker::kComputer, 1000},
        {Picker::kRandom, Picker::kComputer, 1000},
        {Picker::kRandom, Picker::kRandom, 1000},
        {Picker::kGreedy, Picker::kRandom, 500},
    };
    long longest = 0;
    int most_turns = 0;
    int results[4] = {};
    for (const Pairing& pairing : pairings) {
        for (int game = 0; game < pairing.games; ++game) {
            const GameLength length = play_game(pairing.player1, pairing.player2);
            ASSERT_FALSE(HasFailure()) << "game " << game;
            longest = std::max(longest, length.steps);
            most_turns = std::max(most_turns, length.turns);
            ++results[match.game_result];
            platform = PlatformRecord{};
        }
    }
    EXPECT_EQ(results[kInPlay], 0);
    EXPECT_GT(results[kPlayer1Won], 0);
    EXPECT_GT(results[kPlayer2Won], 0);
    // For whoever tunes the computer: how long and how even the games are.
    std::printf("longest game %ld steps, most turns %d; wins %d / %d, draws %d\n", longest,
                most_turns, results[kPlayer1Won], results[kPlayer2Won], results[kDraw]);
}

}  // namespace
