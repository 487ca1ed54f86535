#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "rules/computer.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/board_setup.h"
#include "tests/fake_platform.h"

namespace {

class Sowing : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        match.versus_human = true;
        match.current_player = 1;
        match.new_turn = true;
        screen.screen_code = kBoardScreen;
    }
    static void step() { sowing_timer(0); }
    static void steps(int count) {
        for (int i = 0; i < count; ++i) {
            step();
        }
    }
};

// The worked example: two seeds from (1, 2), the capture of (1, 6) after an
// empty (1, 5), fifteen steps in all, a sound after every drop and take.
TEST_F(Sowing, CaptureExampleStepByStep) {
    for (const bool sound : {true, false}) {
        SetUp();
        match.sound_on = sound;
        set_board({3, 0, 0, 0, 4, 0, 0}, {0, 0, 2, 0, 0, 0, 5}, 0);
        begin_sowing(1, 2);
        // Where each step sends the pointer: a pit's top seed after the
        // step, or a slot of player 1's store.
        struct Step {
            int row, column, slot, sounds;
        };
        const Step expected[] = {{1, 2, -1, 0}, {1, 3, -1, 1}, {1, 2, -1, 1}, {1, 4, -1, 2},
                                 {1, 6, -1, 2}, {0, 0, 0, 3},  {1, 6, -1, 3}, {0, 0, 1, 4},
                                 {1, 6, -1, 4}, {0, 0, 2, 5},  {1, 6, -1, 5}, {0, 0, 3, 6},
                                 {1, 6, -1, 6}, {0, 0, 4, 7},  {0, 0, -1, 7}};
        for (const Step& row : expected) {
            const std::size_t warps = platform.warps.size();
            step();
            const Point target =
                row.slot < 0 ? top_seed_point(row.row, row.column) : store_slot_point(1, row.slot);
            ASSERT_FALSE(platform.warps.empty());
            EXPECT_EQ(platform.warps.back(), target) << &row - expected;
            // The fourth step lands its seed, then goes back to it as the
            // last seed sown.
            EXPECT_EQ(platform.warps.size() - warps, &row - expected == 3 ? 2u : 1u);
            EXPECT_EQ(platform.seed_sounds, sound ? row.sounds : 0);
            if (&row - expected == 3) {
                EXPECT_TRUE(match.capture_pending);
                EXPECT_EQ((PitPosition{match.capture_row, match.capture_column}),
                          (PitPosition{1, 6}));
            }
        }
        EXPECT_EQ(match.player1_store, 5);
        EXPECT_EQ(match.current_player, 2);
        EXPECT_TRUE(match.new_turn);
        EXPECT_FALSE(match.sowing_active || match.capture_pending);
        EXPECT_EQ(match.step_phase, 0);
        EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{0, 0}));
        ASSERT_EQ(platform.timers.size(), 15u);  // re-armed on every step
        EXPECT_EQ(platform.timers.back().milliseconds, 500u);
        EXPECT_EQ(platform.timers.back().callback, &sowing_timer);
    }
}

TEST_F(Sowing, FourteenSeedsLapTheBoardAndEmptyTheirPit) {
    set_board({}, {14, 1, 0, 0, 0, 0, 0}, 0);
    begin_sowing(1, 0);
    steps(30);  // fifteen lifts and fifteen drops
    EXPECT_FALSE(match.sowing_active);
    EXPECT_EQ(platform.seed_sounds, 15);
    const RowCounts row1 = {0, 3, 1, 1, 1, 1, 1};
    for (int column = 0; column < kColumnCount; ++column) {
        EXPECT_EQ(pit_at(0, column).count, 1);
        EXPECT_EQ(pit_at(1, column).count, row1[column]);
    }
    // The last seed fell in (1, 1); (1, 2) holds seeds: the move waits.
    EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{1, 1}));
    EXPECT_FALSE(match.capture_pending);
    EXPECT_EQ(match.step_phase, 1);
}

TEST_F(Sowing, RelaysGoOnFromEitherRow) {
    set_board({0, 0, 1, 0, 0, 0, 3}, {0, 0, 0, 0, 0, 1, 0}, 0);
    begin_sowing(1, 5);
    steps(3);  // the last seed in (1, 6); (0, 6) holds seeds; the third step does nothing
    EXPECT_FALSE(match.sowing_active);
    EXPECT_EQ(platform.warps.size(), 3u);
    EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{1, 6}));
    continue_move();
    EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{0, 6}));
    steps(6);
    // The last seed in (0, 3); (0, 2) holds one: another relay.
    EXPECT_FALSE(match.sowing_active);
    EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{0, 3}));
    EXPECT_EQ(match.current_player, 1);
}

TEST_F(Sowing, CapturesRoundTheCornerAndEmptyCaptures) {
    // Player 2's last seed in (0, 0), (1, 0) empty: the five of (1, 1) go to
    // its store, and the turn passes one step after the last.
    match.current_player = 2;
    set_board({0, 1, 0, 0, 0, 0, 0}, {0, 5, 0, 0, 2, 0, 0}, 0);
    begin_sowing(0, 1);
    steps(12);
    EXPECT_EQ(match.player2_store, kTotalSeeds - 3);
    EXPECT_EQ(platform.warps.back(), store_slot_point(2, kTotalSeeds - 4));
    EXPECT_EQ(match.current_player, 2);
    step();
    EXPECT_EQ(match.current_player, 1);
    EXPECT_EQ((PitPosition{match.sow_row, match.sow_column}), (PitPosition{1, 0}));

    // Next pit and capture pit both empty: the step after the drop ends it.
    set_board({0, 0, 0, 2, 0, 0, 0}, {0, 0, 0, 0, 1, 0, 0}, 0);
    begin_sowing(1, 4);
    steps(2);
    const int sounds = platform.seed_sounds;
    step();
    EXPECT_EQ(match.current_player, 2);
    EXPECT_EQ(match.player1_store, 0);
    EXPECT_EQ(platform.seed_sounds, sounds);
}

TEST_F(Sowing, TheStoresSettleTheResultAndTheTallies) {
    struct Row {
        int player1_store;
        bool versus_human, network;
        int result, player1_wins, player2_wins, computer_wins, awaiting_rematch;
    };
    const Row rows[] = {
        {27, true, false, kDraw, 0, 0, 0, 0},        {27, false, false, kDraw, 0, 0, 0, 0},
        {30, false, false, kPlayer1Won, 1, 0, 0, 0}, {24, true, false, kPlayer2Won, 0, 1, 0, 0},
        {24, false, false, kPlayer2Won, 0, 0, 1, 0}, {24, true, true, kPlayer2Won, 0, 1, 0, 1},
    };
    for (const Row& row : rows) {
        SetUp();
        match.versus_human = row.versus_human;
        net_link.network_game = row.network;
        set_board({0, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 0, 0}, row.player1_store);
        match.player1_store = row.player1_store;
        match.player2_store = kTotalSeeds - 2 - row.player1_store;
        end_turn();  // two seeds left: over
        EXPECT_EQ(match.game_result, row.result);
        EXPECT_EQ(match.player1_wins, row.player1_wins);
        EXPECT_EQ(match.player2_wins, row.player2_wins);
        EXPECT_EQ(match.computer_wins, row.computer_wins);
        EXPECT_EQ(net_link.awaiting_rematch, row.awaiting_rematch);
        // Against the computer its pick still runs, on whatever is left.
        EXPECT_EQ(match.computer_delay, row.versus_human ? 0 : 4);
    }
}

TEST_F(Sowing, APauseBetweenLiftAndDropResumesWithTheDrop) {
    set_board({0, 0, 0, 0, 0, 4, 0}, {0, 2, 0, 0, 0, 0, 0}, 0);
    begin_sowing(1, 1);
    step();
    pause_game();
    steps(2);
    EXPECT_EQ(pit_at(1, 1).count, 2);
    EXPECT_EQ(platform.warps.size(), 1u);
    resume_game();
    step();
    EXPECT_EQ(pit_at(1, 1).count, 1);
    EXPECT_EQ(pit_at(1, 2).count, 1);
    EXPECT_EQ(seeds_in_game(), kTotalSeeds);
}

TEST_F(Sowing, BeginSowingIgnoresAPitThatCannotBePlayed) {
    set_board({}, {0, 2, 0, 0, 0, 0, 0}, 0);
    for (const PitPosition pit : {PitPosition{1, 0}, PitPosition{2, 0}, PitPosition{-1, 3},
                                  PitPosition{0, 7}, PitPosition{1, -1}}) {
        begin_sowing(pit.row, pit.column);
        EXPECT_FALSE(match.sowing_active);
        EXPECT_TRUE(match.new_turn);
    }
}

// Against the computer: after player 1's move the computer's pick becomes
// the source and the pointer goes to its top seed; the timer starts it on
// its fifth tick, with a drop; a relay waits four ticks more.
TEST_F(Sowing, TheComputerPicksThenSowsAndRelaysOnItsOwnTimer) {
    match.versus_human = false;
    set_board({0, 0, 0, 0, 2, 0, 0}, {0, 0, 0, 0, 0, 0, 3}, 0);
    std::srand(3);  // a greedy pick, not one of the random tenth
    end_turn();
    ASSERT_EQ(match.current_player, 2);
    EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{0, 4}));
    EXPECT_EQ(platform.warps.back(), top_seed_point(0, 4));
    for (int tick = 0; tick < 4; ++tick) {
        computer_timer(0);
        EXPECT_FALSE(match.sowing_active);
    }
    computer_timer(0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_FALSE(match.new_turn);
    EXPECT_EQ(match.computer_delay, 4);
    step();
    EXPECT_EQ(pit_at(0, 3).count, 1) << "the first step drops";
    steps(2);  // the last seed in (0, 2); (0, 1) is empty: it captures (0, 0)
    ASSERT_TRUE(match.capture_pending);

    set_board({0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 2, 3}, 0);
    match = Match{2,     0,     false, 1, 5,       1, 5, 0, 0, false, 1,
                  false, false, 0,     0, kInPlay, 0, 0, 0, 4, true};
    steps(4);  // waiting for the relay from (1, 6)
    for (int tick = 0; tick < 5; ++tick) {
        computer_timer(0);
    }
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{1, 6}));
    EXPECT_EQ((PitPosition{match.sow_row, match.sow_column}), (PitPosition{1, 6}));
    EXPECT_EQ(platform.timers.back().callback, &computer_timer);
}

TEST_F(Sowing, TheComputerWaitsWheneverItMayNotMove) {
    const std::function<void()> spoilers[] = {
        [] { screen.paused = true; },
        [] { screen.who_first_open = true; },
        [] { screen.screen_code = kInstructionsPage; },
        [] { match.sowing_active = true; },
        [] { match.game_result = kPlayer1Won; },
        [] { match.versus_human = true; },
        [] { match.current_player = 1; },
    };
    for (const auto& spoil : spoilers) {
        SetUp();
        match.versus_human = false;
        set_board({0, 0, 4, 0, 0, 0, 0}, {}, 0);
        computer_opens_game();
        spoil();
        const Match before = match;
        for (int tick = 0; tick < 10; ++tick) {
            computer_timer(0);
        }
        EXPECT_EQ(match.computer_delay, before.computer_delay) << &spoil - spoilers;
        EXPECT_EQ(match.new_turn, before.new_turn) << &spoil - spoilers;
        EXPECT_EQ(platform.timers.size(), 10u);
    }
}

}  // namespace
