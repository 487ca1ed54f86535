#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

void steps(int count) {
    for (int i = 0; i < count; ++i) {
        sowing_timer(0);
    }
}

// The worked example: two seeds from (1, 2), the capture of (1, 6) after an
// empty (1, 5), fifteen steps in all, a sound after every drop and take.
// Each step sends the pointer once, to a pit's top seed or a slot of player
// 1's store; the fourth drops its seed, then goes back to it, the last sown.
TEST(Sowing, TheCaptureExampleStepByStep) {
    // clang-format off
    const std::tuple<int, int, int, int> expected[] = {  // row, column, slot, sounds
        {1, 2, -1, 0}, {1, 3, -1, 1}, {1, 2, -1, 1}, {1, 4, -1, 2}, {1, 6, -1, 2}, {0, 0, 0, 3},
        {1, 6, -1, 3}, {0, 0, 1, 4}, {1, 6, -1, 4}, {0, 0, 2, 5}, {1, 6, -1, 5}, {0, 0, 3, 6},
        {1, 6, -1, 6}, {0, 0, 4, 7}, {0, 0, -1, 7}};
    // clang-format on
    for (const bool sound : {true, false}) {
        enter_state(kBoardScreen, 0, sound ? "v" : "vs");
        set_board({3, 0, 0, 0, 4, 0, 0}, {0, 0, 2, 0, 0, 0, 5}, 0);
        match.step_phase = 0;  // as the end of the last turn left it
        begin_sowing(1, 2);
        for (int step = 0; step < 15; ++step) {
            SCOPED_TRACE(step);
            const auto [row, col, slot, sounds] = expected[step];
            const std::size_t warps = platform.warps.size();
            sowing_timer(0);
            EXPECT_EQ(platform.warps.back(),
                      slot < 0 ? top_seed_point(row, col) : store_slot_point(1, slot));
            EXPECT_EQ(platform.warps.size() - warps, step == 3 ? 2u : 1u);
            EXPECT_EQ(platform.seed_sounds, sound ? sounds : 0);
            EXPECT_EQ(match.capture_pending, step >= 3 && step < 14);
        }
        EXPECT_EQ(state_flags(), sound ? "v2" : "v2s");
        EXPECT_EQ(std::tuple(match.player1_store, match.step_phase), std::tuple(5, 0));
        EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{0, 0}));
        ASSERT_EQ(platform.timers.size(), 15u);  // re-armed on every step, every 500 ms
        EXPECT_TRUE(platform.timers.back().milliseconds == 500 &&
                    platform.timers.back().callback == &sowing_timer);
    }
}

// Fourteen seeds lap the board, skip nothing and leave their pit empty; the
// move then waits for its relay from (1, 2). A pause between the first lift
// and its drop resumes with the drop. Picks off the board or of an empty pit
// are ignored.
TEST(Sowing, FourteenSeedsLapTheBoardThroughAPause) {
    enter_state(kBoardScreen, 0, "v");
    set_board({}, {14, 1, 0, 0, 0, 0, 0}, 0);
    for (const PitPosition pit :
         std::initializer_list<PitPosition>{{1, 2}, {2, 0}, {-1, 3}, {0, 7}, {1, -1}}) {
        begin_sowing(pit.row, pit.column);
        EXPECT_EQ(state_flags(), "v");
    }
    begin_sowing(1, 0);
    steps(1);
    key_handler(27, 0, 0);
    steps(2);
    EXPECT_EQ(pit_at(1, 0).count, 14);  // the drop waits for the end of the pause
    EXPECT_EQ(platform.warps.size(), 1u);
    key_handler('x', 0, 0);
    steps(29);  // fifteen lifts and fifteen drops in all
    EXPECT_EQ(platform.seed_sounds, 15);
    EXPECT_EQ(pit_counts(), (PitCounts{1, 1, 1, 1, 1, 1, 1, 0, 3, 1, 1, 1, 1, 1}));
    EXPECT_EQ(state_flags(), "vt");
    EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{1, 1}));
}

// Two seeds left end the game with the turn. Against the computer its pick
// still runs, on whatever is left.
TEST(Sowing, TheStoresSettleTheResultAndTheTallies) {
    // clang-format off
    using Wins = std::array<int, 3>;  // of player 1, player 2 and the computer
    const std::tuple<int, const char*, int, Wins, int> rows[] = {
        // player 1's store, flags, result, wins, rematch
        {27, "v", kDraw, {0, 0, 0}, 0}, {27, "", kDraw, {0, 0, 0}, 0},
        {30, "", kPlayer1Won, {1, 0, 0}, 0}, {24, "v", kPlayer2Won, {0, 1, 0}, 0},
        {24, "", kPlayer2Won, {0, 0, 1}, 0}, {24, "vn", kPlayer2Won, {0, 1, 0}, 1}};
    // clang-format on
    for (const auto& [store, flags, result, wins, rematch] : rows) {
        enter_state(kBoardScreen, 0, flags);
        set_board({0, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 0, 0}, store);
        end_turn();
        EXPECT_EQ(match.game_result, result) << flags << store;
        EXPECT_EQ((Wins{match.player1_wins, match.player2_wins, match.computer_wins}), wins);
        EXPECT_EQ(awaiting_rematch(), rematch);
        EXPECT_EQ(match.computer_delay, flags[0] == 'v' ? 0 : 4);
    }
}

// Against the computer: after player 1's move the computer's pick becomes
// the source and the pointer goes to its top seed; its timer starts the
// sowing on its fifth tick, with a drop; each relay waits four ticks more.
TEST(Sowing, TheComputerPicksThenSowsAndRelaysOnItsOwnTimer) {
    enter_state(kBoardScreen, 0, "");
    set_board({0, 0, 2, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 2, 0}, 0);
    end_turn();
    EXPECT_EQ(platform.warps.back(), top_seed_point(0, 2));
    // The pick, then the relays from (1, 0), past the end of row 0, and (1, 2).
    for (const PitPosition from : {PitPosition{0, 2}, PitPosition{1, 0}, PitPosition{1, 2}}) {
        EXPECT_EQ(state_flags(), from.row == 0 ? "2" : "2t");
        for (int tick = 0; tick < 5; ++tick) {
            EXPECT_FALSE(match.sowing_active);
            computer_timer(0);
        }
        EXPECT_EQ(state_flags(), "2tm");
        EXPECT_EQ((PitPosition{match.source_row, match.source_column}), from);
        EXPECT_EQ((PitPosition{match.sow_row, match.sow_column}), from);
        EXPECT_EQ(platform.timers.back().callback, &computer_timer);
        steps(from.row == 0 ? 3 : 2);  // the pick's first step drops
    }
    EXPECT_TRUE(match.sowing_active && match.capture_pending);  // of (1, 5)

    // Never while paused, asking who plays first, sowing, after the game,
    // against a person, on player 1's turn or once the game is left.
    for (const char* flags : {"2", "2p", "2w", "2m", "2r", "v2", ""}) {
        for (const bool left : {false, true}) {
            enter_state(kBoardScreen, 0, flags);
            if (left) {
                back_to_menu();
                match.current_player = 2;
            }
            for (int tick = 0; tick < 10; ++tick) {
                computer_timer(0);
            }
            EXPECT_EQ(match.new_turn, std::string(flags) != "2" || left) << flags;
        }
    }
}

}  // namespace
