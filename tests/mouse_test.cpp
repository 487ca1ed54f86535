#include <gtest/gtest.h>

#include "net/link.h"
#include "rules/board.h"
#include "screens/input.h"
#include "screens/screen.h"
#include "tests/fake_peer.h"
#include "tests/fake_platform.h"

namespace {

class MenuMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        screen.screen_code = kMainMenu;
    }
};

TEST_F(MenuMouse, BandBordersDoNotCount) {
    motion_handler(360, 175);
    EXPECT_EQ(screen.menu_choice, 0);
    motion_handler(361, 211);
    EXPECT_EQ(screen.menu_choice, 1);
    motion_handler(400, 210);
    EXPECT_EQ(screen.menu_choice, 1);
}

TEST_F(MenuMouse, FourthBandLeavesHighlightOnOtherMenus) {
    screen.screen_code = kPlayerMenu;
    motion_handler(400, 230);
    motion_handler(400, 340);
    EXPECT_EQ(screen.menu_choice, 1);
}

TEST_F(MenuMouse, YesOverBandOneEndsTheProgram) {
    mouse_handler(0, 0, 400, 340);
    EXPECT_TRUE(screen.exit_dialog_open);
    mouse_handler(0, 0, 400, 230);
    ASSERT_EQ(platform.exits.size(), 1u);
    EXPECT_EQ(platform.exits[0], 0);
}

class BoardMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        new_game();
        screen.screen_code = kBoardScreen;
        screen.who_first_open = false;
        match.current_player = 1;
        match.new_turn = true;
    }
};

TEST_F(BoardMouse, OpponentRowAndEmptyPitsRefused) {
    mouse_handler(0, 0, 200, 130);  // row 0, column 0
    EXPECT_TRUE(match.new_turn);
    board.pits[7].count = 0;
    mouse_handler(0, 0, 200, 260);  // row 1, column 0, now empty
    EXPECT_TRUE(match.new_turn);
    EXPECT_TRUE(sent_to_peer.empty());
}

}  // namespace
