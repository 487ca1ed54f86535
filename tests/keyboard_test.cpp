#include <gtest/gtest.h>

#include <cstring>

#include "net/link.h"
#include "rules/board.h"
#include "screens/input.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

class MainMenuKeys : public ::testing::Test {
  protected:
    void SetUp() override { reset_game_state(); }
};

TEST_F(MainMenuKeys, YEndsEvenWithoutTheQuitQuestion) {
    screen.screen_code = kMainMenu;
    key_handler('Y', 0, 0);
    ASSERT_EQ(platform.exits.size(), 1u);
    EXPECT_EQ(platform.exits[0], 0);
}

TEST_F(MainMenuKeys, DownStopsAtTheExitButtonAndLeftEnterQuits) {
    screen.screen_code = kMainMenu;
    for (int i = 0; i < 4; ++i)
        special_key_handler(103, 0, 0);
    EXPECT_EQ(screen.menu_choice, 3);
    key_handler(13, 0, 0);
    EXPECT_TRUE(screen.exit_dialog_open);
    EXPECT_TRUE(platform.exits.empty());
    special_key_handler(100, 0, 0);
    key_handler(13, 0, 0);
    ASSERT_EQ(platform.exits.size(), 1u);
    EXPECT_EQ(platform.exits[0], 0);
}

class BoardKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        screen.screen_code = kBoardScreen;
    }
};

TEST_F(BoardKeys, AddressStopsAtFifteenCharacters) {
    net_link.network_game = true;
    net_link.joining = true;
    net_link.address_entry_open = true;
    net_link.peer_address[0] = '\0';
    for (const char* k = "192.168.100.2007"; *k; ++k)
        key_handler(*k, 0, 0);
    EXPECT_STREQ(net_link.peer_address, "192.168.100.200");
    key_handler(8, 0, 0);
    EXPECT_STREQ(net_link.peer_address, "192.168.100.20");
    key_handler(13, 0, 0);
    EXPECT_FALSE(net_link.address_entry_open);
}

TEST_F(BoardKeys, DigitsIgnoredWhenNotJoining) {
    net_link.peer_address[0] = '\0';
    key_handler('5', 0, 0);
    EXPECT_STREQ(net_link.peer_address, "");
}

}  // namespace
