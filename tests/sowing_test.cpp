#include <gtest/gtest.h>

#include <vector>

#include "net/link.h"
#include "rules/board.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

// Empties the board, then gives the named pits their counts; each seed gets a
// distinct position so warps to it can be told apart.
void set_board(const std::vector<std::pair<PitPosition, int>>& counts) {
    board = Board{};
    for (const auto& [position, count] : counts) {
        Pit& pit = pit_at(position);
        pit.count = count;
        for (int slot = 0; slot < count; ++slot) {
            pit.seed_x[slot] = 200 + 100 * position.column + slot;
            pit.seed_y[slot] = 130 + 130 * position.row + slot;
        }
    }
}

int seeds_everywhere() {
    return board_seed_total() + match.player1_store + match.player2_store;
}

class Sowing : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        match.versus_human = true;
        match.current_player = 1;
        match.new_turn = true;
        screen.screen_code = kBoardScreen;
    }
    void step() { sowing_timer(0); }
};

// The worked example: two seeds from (1, 2), the capture of (1, 6) after an
// empty (1, 5), fifteen steps in all. Silent play must step the same way.
TEST_F(Sowing, CaptureExampleStepByStepWithAndWithoutSound) {
    for (const bool sound : {true, false}) {
        SetUp();
        match.sound_on = sound;
        set_board({{{1, 2}, 2}, {{1, 6}, 5}, {{0, 0}, 3}, {{0, 4}, 4}});
        begin_sowing(1, 2);

        std::vector<Point> expected;
        std::vector<int> sounds_after;
        step();  // lift
        expected.push_back(Point{401, 261});
        sounds_after.push_back(platform.seed_sounds);
        step();  // drop into (1, 3)
        expected.push_back(top_seed_point(1, 3));
        sounds_after.push_back(platform.seed_sounds);
        step();  // lift
        expected.push_back(Point{400, 260});
        sounds_after.push_back(platform.seed_sounds);
        step();  // drop into (1, 4): (1, 5) is empty, so (1, 6) is captured
        expected.push_back(top_seed_point(1, 4));  // onto the new seed
        expected.push_back(top_seed_point(1, 4));  // back to the last seed sown
        sounds_after.push_back(platform.seed_sounds);
        EXPECT_TRUE(match.capture_pending);
        EXPECT_EQ(match.capture_row, 1);
        EXPECT_EQ(match.capture_column, 6);
        EXPECT_EQ(pit_at(1, 2).count, 0);
        for (int seed = 0; seed < 5; ++seed) {
            step();  // lift from the capture pit
            expected.push_back(Point{800 + 4 - seed, 260 + 4 - seed});
            sounds_after.push_back(platform.seed_sounds);
            step();  // take into the store
            expected.push_back(store_slot_point(1, seed));
            sounds_after.push_back(platform.seed_sounds);
        }
        EXPECT_EQ(match.current_player, 1);
        step();  // the capture pit is empty: the turn passes
        expected.push_back(top_seed_point(0, 0));

        EXPECT_EQ(platform.warps, expected) << sound;
        const std::vector<int> with_sound = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7};
        EXPECT_EQ(sounds_after, sound ? with_sound : std::vector<int>(14, 0));
        EXPECT_EQ(match.player1_store, 5);
        EXPECT_EQ(match.current_player, 2);
        EXPECT_TRUE(match.new_turn);
        EXPECT_FALSE(match.sowing_active);
        EXPECT_FALSE(match.capture_pending);
        EXPECT_EQ(match.step_phase, 0);
        EXPECT_EQ(match.source_row, 0);
        EXPECT_EQ(match.source_column, 0);
        EXPECT_EQ(match.game_result, kInPlay);
        ASSERT_EQ(platform.timers.size(), 15u);  // re-armed on every step
        for (const ArmedTimer& timer : platform.timers) {
            EXPECT_EQ(timer.milliseconds, 500u);
            EXPECT_EQ(timer.callback, &sowing_timer);
        }
    }
}

TEST_F(Sowing, FourteenSeedsSkipNothingAndEmptyTheirPit) {
    set_board({{{1, 0}, 14}});
    begin_sowing(1, 0);
    int steps = 0;
    while (match.sowing_active && steps < 100) {
        step();
        ++steps;
    }
    EXPECT_EQ(steps, 30);  // fifteen lifts and fifteen drops
    EXPECT_EQ(platform.seed_sounds, 15);
    EXPECT_EQ(pit_at(1, 0).count, 0);
    EXPECT_EQ(pit_at(1, 1).count, 2);
    for (int index = 0; index < kPitCount; ++index) {
        if (index != 7 && index != 8) {
            EXPECT_EQ(board.pits[index].count, 1) << index;
        }
    }
    // L is (1, 1) and (1, 2) holds a seed: the move waits for its relay.
    EXPECT_EQ(match.source_row, 1);
    EXPECT_EQ(match.source_column, 1);
    EXPECT_FALSE(match.capture_pending);
    EXPECT_EQ(match.step_phase, 1);
}

TEST_F(Sowing, RelayGoesOnFromTheOpponentsRow) {
    set_board({{{1, 5}, 1}, {{0, 6}, 3}, {{0, 2}, 1}});
    begin_sowing(1, 5);
    step();
    step();
    EXPECT_FALSE(match.sowing_active);
    EXPECT_FALSE(match.capture_pending);
    EXPECT_EQ(match.source_row, 1);
    EXPECT_EQ(match.source_column, 6);
    EXPECT_EQ(match.capture_row, 0);
    EXPECT_EQ(match.capture_column, 6);
    step();  // waiting: nothing moves
    EXPECT_EQ(platform.warps.size(), 3u);

    continue_move();
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 0);
    EXPECT_EQ(match.source_column, 6);
    for (int i = 0; i < 6; ++i) {
        step();
    }
    EXPECT_EQ(pit_at(0, 6).count, 0);
    EXPECT_EQ(pit_at(0, 3).count, 1);
    // (0, 2) holds a seed: another relay.
    EXPECT_FALSE(match.sowing_active);
    EXPECT_EQ(match.current_player, 1);
}

TEST_F(Sowing, CaptureRoundTheCornerAndEmptyCapture) {
    // Player 2's last seed in (0, 0), (1, 0) empty: (1, 1) is taken.
    match.current_player = 2;
    set_board({{{0, 1}, 1}, {{1, 1}, 5}, {{1, 4}, 2}});
    begin_sowing(0, 1);
    step();
    step();
    ASSERT_TRUE(match.capture_pending);
    EXPECT_EQ(match.capture_row, 1);
    EXPECT_EQ(match.capture_column, 1);
    for (int i = 0; i < 10; ++i) {
        step();
    }
    EXPECT_EQ(match.player2_store, 5);
    EXPECT_EQ(platform.warps.back(), store_slot_point(2, 4));
    EXPECT_EQ(match.current_player, 2);  // the turn passes one step later
    step();
    EXPECT_EQ(match.current_player, 1);
    EXPECT_EQ(match.sow_row, 1);
    EXPECT_EQ(match.sow_column, 0);

    // Next pit and capture pit both empty: the step after the drop ends it.
    set_board({{{1, 4}, 1}, {{0, 3}, 2}});
    begin_sowing(1, 4);
    step();
    step();
    EXPECT_TRUE(match.capture_pending);
    const int sounds = platform.seed_sounds;
    step();
    EXPECT_EQ(match.current_player, 2);
    EXPECT_EQ(match.player1_store, 0);
    EXPECT_EQ(platform.seed_sounds, sounds);
}

TEST_F(Sowing, CaptureOfTheLastOpponentSeedsEndsTheGame) {
    for (const bool versus_human : {true, false}) {
        SetUp();
        match.versus_human = versus_human;
        set_board({{{1, 4}, 1}, {{0, 6}, 3}, {{1, 0}, 2}});
        begin_sowing(1, 4);
        for (int i = 0; i < 9 && match.game_result == kInPlay; ++i) {
            step();
        }
        EXPECT_EQ(match.game_result, kPlayer1Won) << versus_human;
        EXPECT_EQ(match.player1_store, 3);
        EXPECT_EQ(match.player1_wins, 1);
        EXPECT_EQ(board_seed_total(), 3);  // left on the board for nobody
        EXPECT_TRUE(match.new_turn);
        EXPECT_FALSE(match.sowing_active);
        // Against the computer its pick still runs, on an empty row.
        EXPECT_EQ(match.computer_delay, versus_human ? 0 : 4);
    }
}

TEST_F(Sowing, ResultAndTalliesFromTheStores) {
    struct Case {
        int player1_store, player2_store;
        bool versus_human, network;
        int result, player1_wins, player2_wins, computer_wins;
        bool awaiting_rematch;
    };
    const Case cases[] = {
        {27, 27, true, false, kDraw, 0, 0, 0, false},
        {27, 27, false, false, kDraw, 0, 0, 0, false},
        {30, 24, false, false, kPlayer1Won, 1, 0, 0, false},
        {24, 30, true, false, kPlayer2Won, 0, 1, 0, false},
        {24, 30, false, false, kPlayer2Won, 0, 0, 1, false},
        {24, 30, true, true, kPlayer2Won, 0, 1, 0, true},
    };
    for (const Case& c : cases) {
        SetUp();
        match.versus_human = c.versus_human;
        net_link.network_game = c.network;
        match.player1_store = c.player1_store;
        match.player2_store = c.player2_store;
        set_board({{{0, 3}, 1}, {{1, 3}, 1}});  // two seeds left: over
        end_turn();
        EXPECT_EQ(match.game_result, c.result);
        EXPECT_EQ(match.player1_wins, c.player1_wins);
        EXPECT_EQ(match.player2_wins, c.player2_wins);
        EXPECT_EQ(match.computer_wins, c.computer_wins);
        EXPECT_EQ(net_link.awaiting_rematch, c.awaiting_rematch);
    }
}

TEST_F(Sowing, PauseBetweenLiftAndDropResumesWithTheDrop) {
    set_board({{{1, 1}, 2}, {{0, 5}, 4}});
    begin_sowing(1, 1);
    step();  // lift
    pause_game();
    step();
    step();
    EXPECT_EQ(pit_at(1, 1).count, 2);
    EXPECT_EQ(platform.warps.size(), 1u);
    resume_game();
    step();  // the drop
    EXPECT_EQ(pit_at(1, 1).count, 1);
    EXPECT_EQ(pit_at(1, 2).count, 1);
    EXPECT_EQ(match.step_phase, 1);
    EXPECT_EQ(seeds_everywhere(), 6);
}

TEST_F(Sowing, BeginSowingIgnoresAPitThatCannotBePlayed) {
    set_board({{{1, 1}, 2}});
    for (const PitPosition pit :
         {PitPosition{1, 0}, PitPosition{2, 0}, PitPosition{-1, 3}, PitPosition{0, 7}}) {
        begin_sowing(pit.row, pit.column);
        EXPECT_FALSE(match.sowing_active);
        EXPECT_TRUE(match.new_turn);
    }
}

}  // namespace
