#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "net/messages.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

void press(const std::string& keys) {
    std::for_each(keys.begin(), keys.end(), [](char key) { key_handler(key, 0, 0); });
}

// Every kind of game is left for its own menu with the tallies cleared and
// the connection closed unreported; the next two-player game is begun by
// player 1 whoever began the last.
TEST(Flow, LeavingEachKindOfGame) {
    for (const char* flags : {"", "v", "vn", "vh"}) {
        enter_state(kBoardScreen, 0, flags);
        match.player1_wins = match.player2_wins = match.computer_wins = 1;
        net_link.connection_lost = true;  // a report the thread has not shown
        press("\x1b\x1b");
        EXPECT_EQ(platform.sleeps.size(), std::strlen(flags) > 1 ? 1u : 0u) << flags;
        EXPECT_EQ(match.player1_wins + match.player2_wins + match.computer_wins, 0);
        EXPECT_EQ(connection_closes, 1);
        EXPECT_FALSE(net_link.connection_lost || net_link.network_game);
        match.starting_player = 1;
        start_local_game();
        EXPECT_EQ(match.current_player, 1);
    }
}

// A player's evening: a network game that ends, paused and played again,
// the opponent pausing, leaving; then a game against the computer. Nothing
// of one game may linger in the next.
TEST(Flow, NothingOfANetworkGameLingersInTheNext) {
    enter_state(kBoardScreen, 0, "vrna");
    // Esc at the result, then p. The opponent's play-again and first move
    // arrive while the next game is being set up, and must not be lost.
    platform.during_new_game = [] { std::strcat(net_link.inbox, "p30"); };
    press("\x1bp");
    platform.during_new_game = nullptr;
    EXPECT_FALSE(screen.paused);
    EXPECT_FALSE(net_link.quiet_disconnect) << "a lost connection would never be reported";
    EXPECT_STREQ(net_link.inbox, "p30");
    EXPECT_EQ(messages_sent(), "P");

    // The opponent pauses; this side leaves while its pause shows.
    std::strcpy(net_link.inbox, "p");
    net_link.awaiting_rematch = 0;
    message_timer(0);
    ASSERT_TRUE(net_link.peer_paused);
    press("\x1b\x1b\x1b\x1b");  // to the network menu, the player menu, the main menu
    ASSERT_EQ(screen.screen_code, kMainMenu);

    // Against the computer: a move waits for its relay; the relay key
    // continues it, and a pause in the middle of the sowing resumes it.
    screen.menu_choice = 1;
    press("\rp");
    match.new_turn = false, match.source_row = 1, match.source_column = 2;
    key_handler('a', 0, 0);
    EXPECT_TRUE(match.sowing_active) << "the relay key is dead";
    EXPECT_EQ(match.source_column, 3);
    press("\x1bx");
    EXPECT_TRUE(match.sowing_active) << "the sowing stayed stopped after the pause";
    EXPECT_EQ(state_flags(), "tm");
}

}  // namespace
