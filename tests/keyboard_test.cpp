#include <gtest/gtest.h>

#include <cstring>
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

// GLUT's codes for the arrow keys.
constexpr int kKeyLeft = 100, kKeyUp = 101, kKeyDown = 103;

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
        special_key_handler(kKeyDown, 0, 0);
    EXPECT_EQ(screen.menu_choice, 3);
    key_handler(13, 0, 0);
    EXPECT_TRUE(screen.exit_dialog_open);
    EXPECT_TRUE(platform.exits.empty());
    special_key_handler(kKeyLeft, 0, 0);
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

namespace {

const std::string kPause("p", 2), kUnpause("u", 2), kQuit("q", 2);

class PausePrompt : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        sent_to_peer.clear();
        connection_closes = 0;
    }
};

// The who-plays-first answers need an unpaused board: at the prompt they
// only close it, and the question then needs a second key.
TEST_F(PausePrompt, AnswersOnlyResumeAndTheQuestionStays) {
    for (char answer : {'c', 'p', 'r'}) {
        SetUp();
        start_versus_computer();
        key_handler(27, 0, 0);
        ASSERT_TRUE(screen.paused);
        key_handler(answer, 0, 0);
        EXPECT_FALSE(screen.paused) << answer;
        EXPECT_TRUE(screen.who_first_open) << answer;
        key_handler(answer, 0, 0);
        EXPECT_FALSE(screen.who_first_open) << answer;
    }
}

TEST_F(PausePrompt, RelayKeyOnlyResumes) {
    start_local_game();
    begin_sowing(1, 3);
    match.sowing_active = false;  // the engine waits for the relay
    key_handler(27, 0, 0);
    key_handler('A', 0, 0);
    EXPECT_FALSE(screen.paused);
    EXPECT_FALSE(match.sowing_active);
    EXPECT_EQ(match.source_column, 3);
    key_handler('a', 0, 0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_column, 4);
}

// p replays only a finished game; during play it just closes the prompt.
TEST_F(PausePrompt, OtherKeysResumeAndPLeavesAGameInPlay) {
    start_local_game();
    board.pits[0].count = 0;  // would be refilled by a new game
    for (char key : {'x', '7', 'm', 'y', 'p', '\r', '\b'}) {
        key_handler(27, 0, 0);
        key_handler(key, 0, 0);
        EXPECT_FALSE(screen.paused) << key;
        EXPECT_EQ(screen.screen_code, kBoardScreen);
    }
    EXPECT_EQ(board.pits[0].count, 0);
    match.game_result = 1;
    key_handler('p', 0, 0);
    EXPECT_EQ(match.game_result, 0);
    EXPECT_GT(board.pits[0].count, 0);
}

TEST_F(PausePrompt, EscTwiceInANetworkGameSendsPauseThenQuit) {
    start_hosting();
    net_link.awaiting_peer = false;
    net_link.connected = true;
    key_handler(27, 0, 0);
    EXPECT_TRUE(screen.paused);
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{kPause});
    EXPECT_TRUE(platform.sleeps.empty());
    key_handler(27, 0, 0);
    EXPECT_EQ(sent_to_peer, (std::vector<std::string>{kPause, kQuit}));
    EXPECT_EQ(platform.sleeps, std::vector<int>{100});
    EXPECT_TRUE(screen_is(kNetworkMenu));
    EXPECT_EQ(connection_closes, 1);
    EXPECT_FALSE(screen.paused);
}

TEST_F(PausePrompt, AnyOtherKeyInANetworkGameSendsResume) {
    start_joining();
    net_link.address_entry_open = false;
    key_handler(27, 0, 0);
    key_handler('s', 0, 0);
    EXPECT_EQ(sent_to_peer, (std::vector<std::string>{kPause, kUnpause}));
}

class RelayKey : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        sent_to_peer.clear();
        start_hosting();
        net_link.awaiting_peer = false;
        net_link.connected = true;
        begin_sowing(1, 6);
        match.sowing_active = false;
    }
};

TEST_F(RelayKey, HostRelaysForPlayerOneAndSendsThePit) {
    key_handler('a', 0, 0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 0);
    EXPECT_EQ(match.source_column, 6);
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("60", 3)});
}

TEST_F(RelayKey, RefusedOutOfTurnAndWhileTheOpponentPaused) {
    match.current_player = 2;  // the joiner's turn
    key_handler('a', 0, 0);
    EXPECT_FALSE(match.sowing_active);
    match.current_player = 1;
    net_link.peer_paused = true;
    key_handler('a', 0, 0);
    EXPECT_FALSE(match.sowing_active);
    net_link.hosting = false;
    net_link.joining = true;
    net_link.peer_paused = false;
    key_handler('a', 0, 0);  // a joiner never moves for player 1
    EXPECT_FALSE(match.sowing_active);
    EXPECT_TRUE(sent_to_peer.empty());
}

class HelpPageKeys : public ::testing::Test {
  protected:
    void SetUp() override { reset_game_state(); }
};

TEST_F(HelpPageKeys, PagesDoNotWrapAndMLeavesBoth) {
    screen.screen_code = kInstructionsPage;
    key_handler('p', 0, 0);
    EXPECT_TRUE(screen_is(kInstructionsPage));
    key_handler('N', 0, 0);
    EXPECT_TRUE(screen_is(kControlsPage));
    key_handler('n', 0, 0);
    EXPECT_TRUE(screen_is(kControlsPage));
    key_handler('P', 0, 0);
    EXPECT_TRUE(screen_is(kInstructionsPage));
    key_handler('m', 0, 0);
    EXPECT_EQ(screen.screen_code, kMainMenu);
    screen.screen_code = kControlsPage;
    key_handler('M', 0, 0);
    EXPECT_EQ(screen.screen_code, kMainMenu);
    screen.screen_code = kControlsPage;
    key_handler(27, 0, 0);
    EXPECT_TRUE(screen_is(kInstructionsPage));
}

TEST_F(HelpPageKeys, SoundToggleOnEveryScreenSurvivesNewGames) {
    const double screens[] = {kMainMenu,         kPlayerMenu,   kNetworkMenu,
                              kInstructionsPage, kControlsPage, kBoardScreen};
    bool on = match.sound_on;
    for (double code : screens) {
        screen.screen_code = code;
        key_handler('S', 0, 0);
        on = !on;
        EXPECT_EQ(match.sound_on, on);
    }
    new_game();
    EXPECT_EQ(match.sound_on, on);
}

TEST_F(MainMenuKeys, QuitQuestionBlocksTheMenuUntilYOrN) {
    key_handler('n', 0, 0);
    EXPECT_FALSE(screen.quit_question_open);
    key_handler(27, 0, 0);
    key_handler(27, 0, 0);
    EXPECT_TRUE(screen.quit_question_open);
    special_key_handler(kKeyDown, 0, 0);
    key_handler(13, 0, 0);
    mouse_handler(0, 0, 500, 175);
    EXPECT_EQ(screen.screen_code, kMainMenu);
    EXPECT_EQ(screen.menu_choice, 0);
    key_handler('N', 0, 0);
    EXPECT_FALSE(screen.quit_question_open);
    EXPECT_TRUE(platform.exits.empty());
}

TEST_F(MainMenuKeys, EscClosesTheExitBoxWithoutTheQuestion) {
    screen.menu_choice = 3;
    key_handler(13, 0, 0);
    special_key_handler(kKeyLeft, 0, 0);
    key_handler(27, 0, 0);
    EXPECT_FALSE(screen.exit_dialog_open);
    EXPECT_FALSE(screen.exit_yes_selected);
    EXPECT_FALSE(screen.quit_question_open);
    key_handler(13, 0, 0);
    key_handler(13, 0, 0);  // No is highlighted: the box closes
    EXPECT_FALSE(screen.exit_dialog_open);
    EXPECT_TRUE(platform.exits.empty());
}

TEST_F(MainMenuKeys, YOnlyEndsTheProgramFromTheMainMenu) {
    for (double code : {kPlayerMenu, kInstructionsPage, kBoardScreen}) {
        screen.screen_code = code;
        key_handler('y', 0, 0);
    }
    EXPECT_TRUE(platform.exits.empty());
}

}  // namespace
