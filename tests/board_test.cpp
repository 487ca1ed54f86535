#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "net/link.h"
#include "render/floating_seeds.h"
#include "rules/board.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

class BoardTest : public ::testing::Test {
  protected:
    void SetUp() override { reset_game_state(); }
};

TEST_F(BoardTest, NewGameDrawsSeedsThenFloatingSeedsInOrder) {
    std::srand(1234);
    new_game();

    // Replay the generator: two draws per seed, x first, pit by pit, then four
    // per floating seed.
    std::srand(1234);
    for (int index = 0; index < kPitCount; ++index) {
        const int row = index / kColumnCount;
        const int column = index % kColumnCount;
        const Pit& pit = pit_at(row, column);
        ASSERT_EQ(pit.count, 4);
        for (int slot = 0; slot < 4; ++slot) {
            const int x = 185 + 100 * column + std::rand() % 30;
            const int y = 120 + 130 * row + std::rand() % 30;
            EXPECT_EQ(pit.seed_x[slot], x) << "pit " << index << " slot " << slot;
            EXPECT_EQ(pit.seed_y[slot], y) << "pit " << index << " slot " << slot;
        }
    }
    for (const FloatingSeed& seed : floating_seeds) {
        EXPECT_EQ(seed.x, std::rand() % 600 + 200);
        EXPECT_EQ(seed.y, std::rand() % 380 + 10);
        int dx = std::rand() % 4 - 2;
        int dy = std::rand() % 4 - 2;
        if (dx == 0 && dy == 0) {
            dx = dy = -1;
        }
        EXPECT_EQ(seed.dx, dx);
        EXPECT_EQ(seed.dy, dy);
    }
}

TEST_F(BoardTest, NewGameScattersEverySeedInsideItsPit) {
    for (int game = 0; game < 50; ++game) {
        new_game();
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 7; ++column) {
                const Pit& pit = pit_at(row, column);
                for (int slot = 0; slot < pit.count; ++slot) {
                    EXPECT_GE(pit.seed_x[slot], 185 + 100 * column);
                    EXPECT_LE(pit.seed_x[slot], 214 + 100 * column);
                    EXPECT_GE(pit.seed_y[slot], 120 + 130 * row);
                    EXPECT_LE(pit.seed_y[slot], 149 + 130 * row);
                }
            }
        }
    }
}

TEST_F(BoardTest, NewGameResetsTheMatchButKeepsTalliesAndSound) {
    match.player1_store = 9;
    match.player2_store = 3;
    match.game_result = kDraw;
    match.capture_pending = true;
    match.sowing_active = true;
    match.player1_wins = 2;
    match.computer_wins = 5;
    match.sound_on = false;
    match.sow_row = 0;
    match.sow_column = 5;
    match.computer_delay = 3;
    screen.paused = true;
    screen.quit_question_open = true;
    screen.exit_dialog_open = true;
    screen.exit_yes_selected = true;
    screen.screen_code = kBoardScreen;
    net_link.network_game = true;
    std::strcpy(net_link.inbox, "41p");
    std::strcpy(net_link.send_buffer, "u");
    std::strcpy(net_link.waiting_text, "Waiting for connection..");

    new_game();

    EXPECT_EQ(match.player1_store, 0);
    EXPECT_EQ(match.player2_store, 0);
    EXPECT_EQ(match.game_result, kInPlay);
    EXPECT_FALSE(match.capture_pending);
    EXPECT_FALSE(match.sowing_active);
    EXPECT_TRUE(match.new_turn);
    EXPECT_EQ(match.step_phase, 1);
    EXPECT_EQ(match.source_row, 1);
    EXPECT_EQ(match.source_column, 0);
    EXPECT_FALSE(screen.paused);
    EXPECT_FALSE(screen.quit_question_open);
    EXPECT_FALSE(screen.exit_dialog_open);
    EXPECT_FALSE(screen.exit_yes_selected);
    EXPECT_FALSE(net_link.network_game);
    EXPECT_STREQ(net_link.inbox, "");
    EXPECT_STREQ(net_link.send_buffer, "");

    // Untouched by a new game.
    EXPECT_EQ(match.player1_wins, 2);
    EXPECT_EQ(match.computer_wins, 5);
    EXPECT_FALSE(match.sound_on);
    EXPECT_EQ(match.sow_row, 0);
    EXPECT_EQ(match.sow_column, 5);
    EXPECT_EQ(match.computer_delay, 3);
    EXPECT_EQ(screen.screen_code, kBoardScreen);

    // Status texts are filled only where empty.
    EXPECT_STREQ(net_link.waiting_text, "Waiting for connection..");
    EXPECT_STREQ(net_link.address_prompt_text, "Enter IP Address: ");
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait");
}

TEST_F(BoardTest, StartingPlayerAlternatesAcrossNewGames) {
    match.starting_player = 1;
    new_game();
    EXPECT_EQ(match.current_player, 2);
    new_game();
    EXPECT_EQ(match.current_player, 1);

    for (int start : {0, 2}) {
        match.starting_player = start;
        new_game();
        EXPECT_EQ(match.current_player, 1) << "from " << start;
    }
}

TEST_F(BoardTest, WhoPlaysFirstIsAskedOnlyAgainstTheComputer) {
    match.versus_human = false;
    new_game();
    EXPECT_TRUE(screen.who_first_open);
    match.versus_human = true;
    new_game();
    EXPECT_FALSE(screen.who_first_open);
}

TEST(NextPit, WalksCounterClockwiseAroundBothRows) {
    EXPECT_EQ(next_pit(1, 6), (PitPosition{0, 6}));
    EXPECT_EQ(next_pit(0, 0), (PitPosition{1, 0}));
    EXPECT_EQ(next_pit(0, 6), (PitPosition{0, 5}));
    EXPECT_EQ(next_pit(1, 0), (PitPosition{1, 1}));
    for (int index = 0; index < kPitCount; ++index) {
        const PitPosition start{index / 7, index % 7};
        PitPosition walk = start;
        for (int step = 1; step <= kPitCount; ++step) {
            walk = next_pit(walk);
            if (step < kPitCount) {
                EXPECT_FALSE(walk == start) << "returned early after " << step;
            }
        }
        EXPECT_EQ(walk, start);
    }
    EXPECT_EQ(own_row(1), 1);
    EXPECT_EQ(own_row(2), 0);
}

TEST_F(BoardTest, GameIsOverWhenTheMoverHasNoSeedOrTwoAreLeft) {
    for (Pit& pit : board.pits) {
        pit.count = 0;
    }
    pit_at(1, 2).count = 10;
    match.current_player = 2;
    EXPECT_TRUE(is_game_over());
    match.current_player = 1;
    EXPECT_FALSE(is_game_over());

    pit_at(1, 2).count = 2;
    pit_at(0, 4).count = 1;
    EXPECT_FALSE(is_game_over()) << "three seeds, both rows holding some";

    pit_at(1, 2).count = 1;
    for (int player : {1, 2}) {
        match.current_player = player;
        EXPECT_TRUE(is_game_over()) << "exactly two seeds, player " << player;
    }

    pit_at(1, 2).count = 0;
    pit_at(0, 4).count = 1;
    match.current_player = 2;
    EXPECT_FALSE(is_game_over()) << "one seed left on the mover's row";
}

TEST_F(BoardTest, PointerTargets) {
    EXPECT_EQ(top_seed_point(0, 3), (Point{500, 200}));
    Pit& pit = pit_at(0, 3);
    pit.count = 2;
    pit.seed_x[1] = 490;
    pit.seed_y[1] = 133;
    EXPECT_EQ(top_seed_point(0, 3), (Point{490, 133}));

    EXPECT_EQ(store_slot_point(1, 13), (Point{894, 110}));
    EXPECT_EQ(store_slot_point(2, 0), (Point{79, 110}));
    EXPECT_EQ(store_slot_point(2, 12), (Point{79, 290}));
    EXPECT_EQ(store_slot_point(1, 55), (Point{939, 155}));
}

TEST(ScreenIs, ToleranceIsRelativeToTheScreenCode) {
    screen.screen_code = 1.1;
    EXPECT_TRUE(screen_is(1.1));
    EXPECT_FALSE(screen_is(1.0));
    screen.screen_code = 0.1000001;
    EXPECT_TRUE(screen_is(0.1));
    screen.screen_code = 0.0;
    EXPECT_FALSE(screen_is(0.1));
    EXPECT_FALSE(screen_is(1.1));
    EXPECT_TRUE(screen_is(0.0));
}

}  // namespace
