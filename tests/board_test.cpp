#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tests/states.h"

namespace {

// (The sowing order is the rules model's in games_test.cpp.)
TEST(Board, PointsFollowTheLayoutAndScreenCodesTheirTolerance) {
    reset_game_state();
    EXPECT_EQ(top_seed_point(0, 3), (Point{500, 200}));
    pit_at(0, 3) = Pit{2, {0, 512}, {0, 133}};
    EXPECT_EQ(top_seed_point(0, 3), (Point{512, 133}));
    EXPECT_EQ(store_slot_point(1, 13), (Point{894, 110}));
    EXPECT_EQ(store_slot_point(2, 0), (Point{79, 110}));
    EXPECT_EQ(store_slot_point(2, 27), (Point{109, 125}));

    // The main menu's 0.0 matches only itself; the others within 1e-5 of it.
    EXPECT_TRUE(screen_is(kMainMenu) && !screen_is(kControlsPage));
    for (const double code : {1.1, 0.1000001}) {
        screen.screen_code = code;
        EXPECT_TRUE(screen_is(code < 1 ? kPlayerMenu : kControlsPage)) << code;
    }
    screen.screen_code = 0.1001;
    EXPECT_FALSE(screen_is(kPlayerMenu));
}

TEST(Board, GameIsOverForAMoverWithoutSeedsOrWithTwoLeft) {
    struct Row {
        RowCounts row0, row1;
        int mover;
        bool over;
    };
    const Row rows[] = {
        {{}, {0, 0, 10, 0, 0, 0, 0}, 2, true},
        {{}, {0, 0, 10, 0, 0, 0, 0}, 1, false},
        {{0, 0, 0, 0, 1, 0, 0}, {0, 0, 2, 0, 0, 0, 0}, 1, false},  // three left
        {{0, 0, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 0, 0, 0}, 1, true},   // exactly two
        {{0, 0, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 0, 0, 0}, 2, true},
        {{0, 0, 0, 0, 1, 0, 0}, {}, 2, false},  // one seed, on the mover's row
    };
    for (const Row& row : rows) {
        set_board(row.row0, row.row1, 0);
        match.current_player = row.mover;
        EXPECT_EQ(is_game_over(), row.over) << &row - rows;
    }
}

// Game after game, as a series goes: each new game draws every seed's spot,
// x before y, then the floating seeds, from the one generator; resets the
// match and the overlays; keeps what belongs to the series; and alternates
// who begins.
TEST(Board, NewGameAfterGame) {
    reset_game_state();
    std::strcpy(net_link.waiting_text, "Waiting for connection..");
    for (int game = 0; game < 4; ++game) {
        // clang-format off
        match = Match{2, match.starting_player, game % 2 == 1, 0, 5, 0, 6, 0, 3, true, 0,
                      true, false, 9, 3, kDraw, 2, 1, 5, 3, false};
        // clang-format on
        screen = Screen{kBoardScreen, 2, true, true, true, false, true, 0};
        net_link.network_game = true;
        std::strcpy(net_link.inbox, "41p");
        std::srand(1234 + game);
        new_game();

        std::srand(1234 + game);
        for (int index = 0; index < kPitCount; ++index) {
            const Pit& pit = board.pits[index];
            ASSERT_EQ(pit.count, 4);
            for (int slot = 0; slot < 4; ++slot) {
                EXPECT_EQ(pit.seed_x[slot], 185 + 100 * (index % 7) + std::rand() % 30);
                EXPECT_EQ(pit.seed_y[slot], 120 + 130 * (index / 7) + std::rand() % 30);
            }
        }
        for (const FloatingSeed& seed : floating_seeds) {
            const int x = std::rand() % 600 + 200, y = std::rand() % 380 + 10;
            const int dx = std::rand() % 4 - 2, dy = std::rand() % 4 - 2;
            const bool still = dx == 0 && dy == 0;
            EXPECT_EQ((Point{seed.x, seed.y}), (Point{x, y}));
            EXPECT_EQ((Point{seed.dx, seed.dy}), (Point{still ? -1 : dx, still ? -1 : dy}));
        }

        EXPECT_EQ(match.current_player * 10 + match.starting_player, game % 2 ? 22 : 11);
        EXPECT_EQ(screen.who_first_open, game % 2 == 0);
        EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{1, 0}));
        EXPECT_TRUE(match.new_turn && match.step_phase == 1);
        EXPECT_FALSE(match.sowing_active || match.capture_pending);
        EXPECT_EQ(match.player1_store + match.player2_store + match.game_result, 0);
        EXPECT_FALSE(screen.paused || screen.quit_question_open || screen.exit_dialog_open ||
                     screen.exit_yes_selected || net_link.network_game);
        EXPECT_STREQ(net_link.inbox, "");
        // What belongs to the series, the screen and the engine's hand stay.
        EXPECT_EQ(match.player1_wins * 100 + match.player2_wins * 10 + match.computer_wins, 215);
        EXPECT_EQ(match.sow_column * 10 + match.computer_delay, 53);
        EXPECT_FALSE(match.sound_on);
        EXPECT_EQ(screen.screen_code * 10 + screen.menu_choice, 22);
        // Status texts are filled only where empty.
        EXPECT_STREQ(net_link.waiting_text, "Waiting for connection..");
        EXPECT_STREQ(net_link.connecting_text, "connecting please wait");
        EXPECT_STREQ(net_link.address_prompt_text, "Enter IP Address: ");
    }
}

}  // namespace
