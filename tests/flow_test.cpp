#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/link.h"
#include "net/messages.h"
#include "rules/board.h"
#include "screens/input.h"
#include "screens/screen.h"
#include "tests/fake_peer.h"
#include "tests/fake_platform.h"

namespace {

// GLUT's codes for the arrow keys.
constexpr int kKeyUp = 101, kKeyDown = 103;

const std::string kPause("p", 2), kUnpause("u", 2), kQuit("q", 2);

class Flow : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        sent_to_peer.clear();
        connection_closes = 0;
    }
};

TEST_F(Flow, OpensOnTheMainMenuWithNoOverlay) {
    EXPECT_EQ(screen.screen_code, kMainMenu);
    EXPECT_EQ(screen.menu_choice, 0);
    EXPECT_FALSE(screen.quit_question_open || screen.exit_dialog_open || screen.paused);
}

TEST_F(Flow, LeavingReturnsToTheMenuOfTheGameAndClearsTheTallies) {
    struct Case {
        void (*start)();
        double menu;
        bool sends_quit;
    };
    const Case cases[] = {{start_versus_computer, kMainMenu, false},
                          {start_local_game, kPlayerMenu, false},
                          {start_hosting, kNetworkMenu, true}};
    for (const Case& c : cases) {
        SetUp();
        c.start();
        match.player1_wins = 2;
        match.player2_wins = 1;
        match.computer_wins = 3;
        pause_game();
        leave_game();
        EXPECT_EQ(screen.screen_code, c.menu);
        EXPECT_EQ(match.player1_wins + match.player2_wins + match.computer_wins, 0);
        EXPECT_FALSE(net_link.network_game);
        EXPECT_EQ(connection_closes, 1);
        // The connection just closed must not be reported as lost.
        EXPECT_TRUE(net_link.quiet_disconnect);
        const bool quit_sent = !sent_to_peer.empty() && sent_to_peer.back() == kQuit;
        EXPECT_EQ(quit_sent, c.sends_quit);
        EXPECT_EQ(platform.sleeps == std::vector<int>{100}, c.sends_quit);
    }
}

TEST_F(Flow, PauseStopsASowingAndResumeRestartsIt) {
    start_local_game();
    match.sowing_active = true;
    pause_game();
    EXPECT_FALSE(match.sowing_active);
    resume_game();
    EXPECT_TRUE(match.sowing_active);
    EXPECT_FALSE(net_link.quiet_disconnect);

    match.sowing_active = false;
    pause_game();
    resume_game();
    EXPECT_FALSE(match.sowing_active);
    EXPECT_TRUE(sent_to_peer.empty());  // not a network game
}

TEST_F(Flow, NetworkPauseAndResumeTellThePeer) {
    start_joining();
    pause_game();
    resume_game();
    EXPECT_EQ(sent_to_peer, (std::vector<std::string>{kPause, kUnpause}));
}

TEST_F(Flow, PlayAgainKeepsTheNetworkGameAndAsksTheComputerQuestionAgain) {
    start_hosting();
    match.game_result = 1;
    play_again();
    EXPECT_TRUE(net_link.network_game);
    EXPECT_EQ(match.game_result, 0);
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("P", 2)});

    start_versus_computer();
    screen.who_first_open = false;
    match.game_result = 2;
    sent_to_peer.clear();
    play_again();
    EXPECT_TRUE(screen.who_first_open);
    EXPECT_FALSE(net_link.network_game);
    EXPECT_TRUE(sent_to_peer.empty());
}

// A player's evening: a network game that ends, paused and played again,
// the opponent pausing, leaving; then games against the computer. Nothing of
// one game may linger in the next.
TEST_F(Flow, NothingOfANetworkGameLingersInTheNext) {
    start_hosting();
    net_link.awaiting_peer = false;
    net_link.connected = true;
    match.game_result = kPlayer1Won;
    net_link.awaiting_rematch = 1;
    key_handler(27, 0, 0);  // Esc at the result, then p
    // The opponent's play-again and first move arrive while the next game is
    // being set up, and must not be lost.
    platform.during_new_game = [] { std::strcat(net_link.inbox, "p30"); };
    key_handler('p', 0, 0);
    platform.during_new_game = nullptr;
    EXPECT_FALSE(screen.paused);
    EXPECT_FALSE(net_link.quiet_disconnect) << "a lost connection would never be reported";
    EXPECT_STREQ(net_link.inbox, "p30");
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("P", 2)});

    // The opponent pauses; this side leaves while its pause shows.
    std::strcpy(net_link.inbox, "p");
    net_link.awaiting_rematch = 0;
    message_timer(0);
    ASSERT_TRUE(net_link.peer_paused);
    key_handler(27, 0, 0);
    key_handler(27, 0, 0);
    ASSERT_TRUE(screen_is(kNetworkMenu));

    // Against the computer: a move waits for its relay; the relay key
    // continues it, and a pause in the middle of the sowing resumes it.
    key_handler(27, 0, 0);
    key_handler(27, 0, 0);
    screen.menu_choice = 1;
    key_handler(13, 0, 0);
    key_handler('p', 0, 0);
    ASSERT_EQ(screen.screen_code, kBoardScreen);
    match.new_turn = false;
    match.source_row = 1;
    match.source_column = 2;
    key_handler('a', 0, 0);
    EXPECT_TRUE(match.sowing_active) << "the relay key is dead";
    EXPECT_EQ(match.source_column, 3);
    key_handler(27, 0, 0);
    key_handler('x', 0, 0);
    EXPECT_TRUE(match.sowing_active) << "the sowing stayed stopped after the pause";
    EXPECT_FALSE(net_link.awaiting_rematch);
}

TEST_F(Flow, JoiningKeepsTheLastAddress) {
    std::strcpy(net_link.peer_address, "10.0.0.5");
    start_joining();
    EXPECT_STREQ(net_link.peer_address, "10.0.0.5");
    EXPECT_TRUE(net_link.address_entry_open);
    EXPECT_TRUE(net_link.joining && !net_link.hosting && net_link.network_game);
}

// The highlight may sit on the player menu's empty fourth slot after a click
// that came without pointer motion.
TEST_F(Flow, HighlightLeftOnTheEmptyFourthSlot) {
    for (int i = 0; i < 3; ++i)
        special_key_handler(kKeyDown, 0, 0);
    mouse_handler(0, 0, 500, 175);
    ASSERT_TRUE(screen_is(kPlayerMenu));
    EXPECT_EQ(screen.menu_choice, 3);
    key_handler(13, 0, 0);
    special_key_handler(kKeyDown, 0, 0);
    EXPECT_TRUE(screen_is(kPlayerMenu));
    EXPECT_EQ(screen.menu_choice, 3);
    special_key_handler(kKeyUp, 0, 0);
    EXPECT_EQ(screen.menu_choice, 2);
    motion_handler(500, 175);
    EXPECT_EQ(screen.menu_choice, 0);
}

TEST_F(Flow, EnterToTheNetworkMenuHighlightsHostButAClickDoesNot) {
    screen.screen_code = kPlayerMenu;
    screen.menu_choice = 1;
    key_handler(13, 0, 0);
    EXPECT_TRUE(screen_is(kNetworkMenu));
    EXPECT_EQ(screen.menu_choice, 0);

    screen.screen_code = kPlayerMenu;
    motion_handler(500, 230);
    mouse_handler(0, 0, 500, 230);
    EXPECT_TRUE(screen_is(kNetworkMenu));
    EXPECT_EQ(screen.menu_choice, 1);
}

TEST_F(Flow, ExitBoxShowsAgainAfterLeavingTheMainMenuByKeyboard) {
    screen.menu_choice = 3;
    key_handler(13, 0, 0);
    ASSERT_TRUE(screen.exit_dialog_open);
    special_key_handler(kKeyUp, 0, 0);
    key_handler(13, 0, 0);
    EXPECT_TRUE(screen_is(kInstructionsPage));
    key_handler(27, 0, 0);
    EXPECT_EQ(screen.screen_code, kMainMenu);
    EXPECT_TRUE(screen.exit_dialog_open);
}

}  // namespace
