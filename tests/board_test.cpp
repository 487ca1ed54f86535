#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <tuple>

#include "tests/states.h"

namespace {

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
    // clang-format off
    const std::tuple<RowCounts, RowCounts, int, bool> rows[] = {  // rows, mover, over
        {{}, {0, 0, 10, 0, 0, 0, 0}, 2, true}, {{}, {0, 0, 10, 0, 0, 0, 0}, 1, false},
        {{0, 0, 0, 0, 1, 0, 0}, {0, 0, 2, 0, 0, 0, 0}, 1, false},  // three left
        {{0, 0, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 0, 0, 0}, 1, true},   // two, either mover
        {{0, 0, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 0, 0, 0}, 2, true},
        {{0, 0, 0, 0, 1, 0, 0}, {}, 2, false}};  // one seed, on the mover's row
    // clang-format on
    for (const auto& [row0, row1, mover, over] : rows) {
        set_board(row0, row1, 0);
        match.current_player = mover;
        EXPECT_EQ(is_game_over(), over) << row0[4] << row1[2] << mover;
    }
}

// Game after game, as a series goes: each new game draws every seed's spot,
// x before y, from the one generator; resets the match, the overlays and
// this side's pause; keeps the series, the screen, the engine's hand, and
// the link with the opponent's pause and what it sent; alternates who begins.
TEST(Board, NewGameAfterGame) {
    reset_game_state();
    open_link(true);
    net_link.phase = LinkPhase::kConnected;
    for (int game = 0; game < 4; ++game) {
        // clang-format off
        match = Match{2, match.starting_player, game % 2 == 1, 0, 5, 0, 6, 0, 3, true, 0,
                      true, false, 9, 3, kDraw, 2, 1, 5, game, 3, false,
                      kPausedHere | kPausedByOpponent, true};
        // clang-format on
        screen = Screen{kBoardScreen, 2, true, true, true};
        net_link.rematches_seen = game;
        std::strcpy(net_link.inbox, "41p");
        std::srand(1234 + game);
        new_game();

        std::srand(1234 + game);
        for (int seed = 0; seed < kTotalSeeds; ++seed) {  // four to a pit
            const Pit& pit = board.pits[seed / 4];
            ASSERT_EQ(pit.count, 4);
            EXPECT_EQ(pit.seed_x[seed % 4], 185 + 100 * (seed / 4 % 7) + std::rand() % 30);
            EXPECT_EQ(pit.seed_y[seed % 4], 120 + 130 * (seed / 28) + std::rand() % 30);
        }
        EXPECT_EQ(state_flags(), game % 2 ? "v2sno" : "wsno");
        EXPECT_EQ(match.starting_player, match.current_player);
        EXPECT_EQ((PitPosition{match.source_row, match.source_column}), (PitPosition{1, 0}));
        EXPECT_TRUE(match.step_phase == 1 && !match.capture_pending && !match.sowing_active);
        EXPECT_EQ(std::tuple(match.player1_store, match.player2_store), std::tuple(0, 0));
        EXPECT_EQ(std::tuple(match.player1_wins, match.player2_wins, match.computer_wins,
                             match.games_ended),
                  std::tuple(2, 1, 5, game));
        EXPECT_EQ(std::tuple(match.sow_column, match.computer_delay), std::tuple(5, 3));
        EXPECT_EQ(std::tuple(screen.screen_code, screen.menu_choice), std::tuple(kBoardScreen, 2));
        EXPECT_STREQ(net_link.inbox, "41p");
    }
}

}  // namespace
