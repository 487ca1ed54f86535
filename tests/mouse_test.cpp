#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/link.h"
#include "rules/board.h"
#include "rules/sowing.h"
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
        sent_to_peer.clear();
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

namespace {

// The centre of pit (row, column).
int pit_x(int column) {
    return 200 + 100 * column;
}
int pit_y(int row) {
    return 135 + 130 * row;
}
void click_pit(int row, int column) {
    mouse_handler(0, 0, pit_x(column), pit_y(row));
}

TEST_F(MenuMouse, TopBandBordersOnEveryMenu) {
    const double menus[] = {kMainMenu, kPlayerMenu, kNetworkMenu};
    for (double menu : menus) {
        for (Point miss : {Point{360, 156}, Point{670, 156}, Point{500, 155}, Point{500, 200},
                           Point{669, 195}}) {
            SetUp();
            screen.screen_code = menu;
            screen.menu_choice = 2;
            motion_handler(miss.x, miss.y);
            mouse_handler(0, 0, miss.x, miss.y);
            EXPECT_EQ(screen.screen_code, menu) << miss.x << "," << miss.y;
            EXPECT_EQ(screen.menu_choice, 2);
        }
        SetUp();
        screen.screen_code = menu;
        screen.menu_choice = 2;
        motion_handler(361, 156);
        EXPECT_EQ(screen.menu_choice, 0);
        mouse_handler(2, 0, 361, 156);  // the right button
        mouse_handler(0, 1, 361, 156);  // a release
        EXPECT_EQ(screen.screen_code, menu);
        mouse_handler(0, 0, 361, 156);
        EXPECT_NE(screen.screen_code, menu);
    }
}

TEST_F(MenuMouse, NetworkMenuBandsAndTheEmptyFourth) {
    screen.screen_code = kNetworkMenu;
    mouse_handler(0, 0, 500, 340);
    EXPECT_TRUE(screen_is(kNetworkMenu));
    mouse_handler(0, 0, 500, 285);
    EXPECT_TRUE(screen_is(kPlayerMenu));
    screen.screen_code = kNetworkMenu;
    mouse_handler(0, 0, 500, 230);
    EXPECT_TRUE(net_link.joining && net_link.network_game);
    EXPECT_EQ(screen.screen_code, kBoardScreen);
}

// Yes and No lie across bands 0 and 1; between the bands they do not count.
TEST_F(MenuMouse, ExitBoxOverBandsZeroAndOne) {
    mouse_handler(0, 0, 500, 340);
    mouse_handler(0, 0, 500, 340);  // again: stays open
    ASSERT_TRUE(screen.exit_dialog_open);
    EXPECT_EQ(screen.menu_choice, 3);
    motion_handler(450, 200);
    EXPECT_FALSE(screen.exit_yes_selected);
    motion_handler(450, 190);
    EXPECT_TRUE(screen.exit_yes_selected);
    EXPECT_EQ(screen.menu_choice, 3);  // the box takes the hover
    motion_handler(550, 200);
    EXPECT_TRUE(screen.exit_yes_selected);
    motion_handler(550, 230);
    EXPECT_FALSE(screen.exit_yes_selected);

    mouse_handler(0, 0, 380, 175);  // band 0 outside Yes: nothing
    mouse_handler(0, 0, 450, 200);  // Yes, but between the bands: still Yes
    EXPECT_EQ(screen.screen_code, kMainMenu);
    ASSERT_EQ(platform.exits.size(), 1u);
    EXPECT_EQ(platform.exits[0], 0);
}

TEST_F(MenuMouse, NoClosesTheBoxAndTheMenuWorksAgain) {
    mouse_handler(0, 0, 500, 340);
    mouse_handler(0, 0, 560, 190);
    EXPECT_FALSE(screen.exit_dialog_open);
    EXPECT_TRUE(platform.exits.empty());
    mouse_handler(0, 0, 500, 285);
    EXPECT_TRUE(screen_is(kInstructionsPage));
    mouse_handler(0, 0, 500, 175);  // help pages take no clicks
    EXPECT_TRUE(screen_is(kInstructionsPage));
}

TEST_F(BoardMouse, NothingWhilePausedOverOrBlockedAgainstTheComputer) {
    screen.paused = true;
    click_pit(1, 2);
    EXPECT_TRUE(screen.paused);
    screen.paused = false;
    match.game_result = 1;
    click_pit(1, 2);
    match.game_result = 0;
    screen.who_first_open = true;
    click_pit(1, 2);
    screen.who_first_open = false;
    match.current_player = 2;
    click_pit(0, 2);
    click_pit(1, 2);
    EXPECT_TRUE(match.new_turn);
    match.current_player = 1;
    click_pit(1, 2);
    EXPECT_FALSE(match.new_turn);
    EXPECT_EQ(match.source_column, 2);
}

TEST_F(BoardMouse, PitBordersDoNotCount) {
    mouse_handler(0, 0, 165, 260);
    mouse_handler(0, 0, 200, 310);
    mouse_handler(0, 0, 235, 260);
    EXPECT_TRUE(match.new_turn);
    mouse_handler(0, 0, 166, 221);
    EXPECT_FALSE(match.new_turn);
    EXPECT_EQ(match.source_column, 0);
}

// From the end of a row the relay goes round to the other row.
TEST_F(BoardMouse, RelayClickOnlyOnTheNextPit) {
    match.versus_human = true;
    begin_sowing(1, 6);
    match.sowing_active = false;
    click_pit(1, 6);
    click_pit(0, 5);
    click_pit(1, 0);
    EXPECT_FALSE(match.sowing_active);
    click_pit(0, 6);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 0);

    match.current_player = 2;
    begin_sowing(0, 0);
    match.sowing_active = false;
    click_pit(0, 0);
    click_pit(1, 1);
    EXPECT_FALSE(match.sowing_active);
    click_pit(1, 0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 1);
    EXPECT_EQ(match.source_column, 0);
}

class NetworkMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        sent_to_peer.clear();
    }
    static void connect_as_host() {
        start_hosting();
        net_link.awaiting_peer = false;
        net_link.connected = true;
    }
    static void connect_as_joiner() {
        start_joining();
        net_link.address_entry_open = false;
        net_link.connected = true;
    }
};

TEST_F(NetworkMouse, HostFirstPickSendsColumnThenRow) {
    connect_as_host();
    click_pit(0, 4);  // the joiner's row
    EXPECT_TRUE(match.new_turn);
    click_pit(1, 4);
    EXPECT_FALSE(match.new_turn);
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("41", 3)});
}

TEST_F(NetworkMouse, EachSideMovesOnlyOnItsTurnAndRow) {
    connect_as_host();
    match.current_player = 2;
    click_pit(0, 3);
    click_pit(1, 3);
    EXPECT_TRUE(match.new_turn);

    SetUp();
    connect_as_joiner();
    click_pit(1, 3);  // player 1's turn
    EXPECT_TRUE(match.new_turn);
    match.current_player = 2;
    click_pit(1, 3);
    EXPECT_TRUE(match.new_turn);
    click_pit(0, 3);
    EXPECT_FALSE(match.new_turn);
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("30", 3)});
}

TEST_F(NetworkMouse, NoMoveWhileWaitingTypingOrPaused) {
    start_hosting();  // still waiting for an opponent
    click_pit(1, 3);
    EXPECT_TRUE(match.new_turn);

    SetUp();
    start_joining();
    match.current_player = 2;
    click_pit(0, 3);  // still typing the address
    EXPECT_TRUE(match.new_turn);

    for (const bool rematch : {true, false}) {
        SetUp();
        connect_as_host();
        net_link.awaiting_rematch = rematch ? 1 : 0;
        net_link.peer_paused = !rematch;
        click_pit(1, 3);
        EXPECT_TRUE(match.new_turn);
    }
    EXPECT_TRUE(sent_to_peer.empty());
}

}  // namespace
