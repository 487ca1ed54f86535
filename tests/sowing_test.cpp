#include <gtest/gtest.h>

#include <cstring>

#include "rules/computer.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

void steps(int count) {
    for (int i = 0; i < count; ++i) {
        sowing_timer(0);
    }
}

PitPosition source() {
    return {match.source_row, match.source_column};
}

// The worked example: two seeds from (1, 2), the capture of (1, 6) after an
// empty (1, 5), fifteen steps in all, a sound after every drop and take.
// Each step sends the pointer to a pit's top seed after the step, or to a
// slot of player 1's store.
TEST(Sowing, TheCaptureExampleStepByStep) {
    struct Step {
        int row, column, slot, sounds;
    };
    const Step expected[] = {{1, 2, -1, 0}, {1, 3, -1, 1}, {1, 2, -1, 1}, {1, 4, -1, 2},
                             {1, 6, -1, 2}, {0, 0, 0, 3},  {1, 6, -1, 3}, {0, 0, 1, 4},
                             {1, 6, -1, 4}, {0, 0, 2, 5},  {1, 6, -1, 5}, {0, 0, 3, 6},
                             {1, 6, -1, 6}, {0, 0, 4, 7},  {0, 0, -1, 7}};
    for (const bool sound : {true, false}) {
        enter_state(kBoardScreen, 0, sound ? "v" : "vs");
        set_board({3, 0, 0, 0, 4, 0, 0}, {0, 0, 2, 0, 0, 0, 5}, 0);
        begin_sowing(1, 2);
        for (const Step& row : expected) {
            SCOPED_TRACE(&row - expected);
            const std::size_t warps = platform.warps.size();
            sowing_timer(0);
            EXPECT_EQ(platform.warps.back(), row.slot < 0 ? top_seed_point(row.row, row.column)
                                                          : store_slot_point(1, row.slot));
            // The fourth step drops its seed, then goes back to it as the last
            // seed sown, and finds (1, 6) to capture.
            EXPECT_EQ(platform.warps.size() - warps, &row == expected + 3 ? 2u : 1u);
            EXPECT_EQ(platform.seed_sounds, sound ? row.sounds : 0);
            EXPECT_EQ(match.capture_pending, &row >= expected + 3 && &row < expected + 14);
        }
        EXPECT_EQ(match.player1_store, 5);
        EXPECT_EQ(match.current_player, 2);
        EXPECT_TRUE(match.new_turn && !match.sowing_active);
        EXPECT_EQ(match.step_phase, 0);
        EXPECT_EQ(source(), (PitPosition{0, 0}));
        ASSERT_EQ(platform.timers.size(), 15u);  // re-armed on every step
        EXPECT_EQ(platform.timers.back().milliseconds, 500u);
        EXPECT_EQ(platform.timers.back().callback, &sowing_timer);
    }
}

// Fourteen seeds lap the board, skip nothing and leave their pit empty; the
// move then waits for its relay from (1, 2).
TEST(Sowing, FourteenSeedsLapTheBoard) {
    enter_state(kBoardScreen, 0, "v");
    set_board({}, {14, 1, 0, 0, 0, 0, 0}, 0);
    begin_sowing(1, 0);
    steps(30);  // fifteen lifts and fifteen drops
    EXPECT_EQ(platform.seed_sounds, 15);
    const RowCounts row1 = {0, 3, 1, 1, 1, 1, 1};
    for (int column = 0; column < kColumnCount; ++column) {
        EXPECT_EQ(pit_at(0, column).count * 10 + pit_at(1, column).count, 10 + row1[column]);
    }
    EXPECT_EQ(state_flags(), "vt");
    EXPECT_EQ(source(), (PitPosition{1, 1}));
}

TEST(Sowing, TheStoresSettleTheResultAndTheTallies) {
    struct Row {
        int player1_store;
        const char* flags;
        int result, tallies;  // player 1's, player 2's and the computer's, as digits
        int awaiting_rematch;
    };
    const Row rows[] = {{27, "v", kDraw, 0, 0},        {27, "", kDraw, 0, 0},
                        {30, "", kPlayer1Won, 100, 0}, {24, "v", kPlayer2Won, 10, 0},
                        {24, "", kPlayer2Won, 1, 0},   {24, "vn", kPlayer2Won, 10, 1}};
    for (const Row& row : rows) {
        enter_state(kBoardScreen, 0, row.flags);
        set_board({0, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 0, 0}, row.player1_store);
        end_turn();  // two seeds left: over
        EXPECT_EQ(match.game_result, row.result);
        EXPECT_EQ(match.player1_wins * 100 + match.player2_wins * 10 + match.computer_wins,
                  row.tallies);
        EXPECT_EQ(net_link.awaiting_rematch, row.awaiting_rematch);
        // Against the computer its pick still runs, on whatever is left.
        EXPECT_EQ(match.computer_delay, row.flags[0] == 'v' ? 0 : 4);
    }
}

TEST(Sowing, APauseBetweenLiftAndDropResumesWithTheDropAndBadPicksAreIgnored) {
    enter_state(kBoardScreen, 0, "v");
    set_board({0, 0, 0, 0, 0, 4, 0}, {0, 2, 0, 0, 0, 0, 0}, 0);
    for (const PitPosition pit : {PitPosition{1, 0}, PitPosition{2, 0}, PitPosition{-1, 3},
                                  PitPosition{0, 7}, PitPosition{1, -1}}) {
        begin_sowing(pit.row, pit.column);
        EXPECT_FALSE(match.sowing_active || !match.new_turn);
    }
    begin_sowing(1, 1);
    steps(1);
    key_handler(27, 0, 0);
    steps(2);
    EXPECT_EQ(pit_at(1, 1).count * 10 + platform.warps.size(), 21u);
    key_handler('x', 0, 0);
    steps(1);
    EXPECT_EQ(pit_at(1, 1).count * 10 + pit_at(1, 2).count, 11);
}

// Against the computer: after player 1's move the computer's pick becomes
// the source and the pointer goes to its top seed; its timer starts the
// sowing on its fifth tick, with a drop; a relay waits four ticks more.
TEST(Sowing, TheComputerPicksThenSowsAndRelaysOnItsOwnTimer) {
    enter_state(kBoardScreen, 0, "");
    set_board({0, 0, 0, 0, 2, 0, 0}, {0, 0, 0, 0, 0, 0, 3}, 0);
    std::srand(3);  // a greedy pick, not one of the random tenth
    end_turn();
    ASSERT_EQ(match.current_player, 2);
    EXPECT_EQ(source(), (PitPosition{0, 4}));
    EXPECT_EQ(platform.warps.back(), top_seed_point(0, 4));
    for (int tick = 0; tick < 5; ++tick) {
        EXPECT_FALSE(match.sowing_active);
        computer_timer(0);
    }
    EXPECT_TRUE(match.sowing_active && !match.new_turn);
    EXPECT_EQ(match.computer_delay, 4);
    steps(1);
    EXPECT_EQ(pit_at(0, 3).count, 1) << "the first step drops";
    steps(2);  // the last seed in (0, 2), (0, 1) empty: it captures (0, 0)
    ASSERT_TRUE(match.capture_pending);

    set_board({}, {0, 0, 0, 0, 0, 2, 3}, 0);
    // The last seed fell in (1, 5); the relay from (1, 6) waits.
    // clang-format off
    match = Match{2, 0, false, 1, 5, 1, 5, 0, 0, false, 1,
                  false, false, 0, 0, kInPlay, 0, 0, 0, 4, true};
    // clang-format on
    for (int tick = 0; tick < 5; ++tick) {
        computer_timer(0);
    }
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(source(), (PitPosition{1, 6}));
    EXPECT_EQ((PitPosition{match.sow_row, match.sow_column}), (PitPosition{1, 6}));
    EXPECT_EQ(platform.timers.back().callback, &computer_timer);

    // Never while paused, asking who plays first, off the board, sowing, after
    // the game, against a person or on player 1's turn.
    for (const char* flags : {"2", "2p", "2w", "2r", "v2", ""}) {
        for (const int spoil : {0, 1, 2}) {
            enter_state(kBoardScreen, 0, flags);
            computer_opens_game();
            match.current_player = std::strchr(flags, '2') ? 2 : 1;
            screen.screen_code = spoil == 1 ? kInstructionsPage : kBoardScreen;
            match.sowing_active = spoil == 2;
            const bool may = std::string(flags) == "2" && !match.sowing_active &&
                             screen.screen_code == kBoardScreen;
            for (int tick = 0; tick < 10; ++tick) {
                computer_timer(0);
            }
            EXPECT_EQ(match.new_turn, !may) << flags;
        }
    }
}

}  // namespace
