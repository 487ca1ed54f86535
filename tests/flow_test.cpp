#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>

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
        if (in_network_game()) {
            net_link.phase = LinkPhase::kDropped;  // a report not told yet
        }
        press("\x1b\x1b");
        connection_report_timer(0);
        EXPECT_EQ(platform.sleeps.size(), std::strlen(flags) > 1 ? 1u : 0u) << flags;
        EXPECT_EQ(std::tuple(match.player1_wins, match.player2_wins, match.computer_wins),
                  std::tuple(0, 0, 0));
        EXPECT_EQ(connection_closes, 1);
        EXPECT_EQ(net_link.phase, LinkPhase::kOff);
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
    // Esc at the result, then p. The opponent's play-again and first move,
    // already here, must not be lost to the next game.
    std::strcpy(net_link.inbox, "p30");
    press("\x1bp");
    EXPECT_FALSE(paused_here()) << "a lost connection would never be reported";
    EXPECT_STREQ(net_link.inbox, "p30");
    EXPECT_EQ(messages_sent(), "P");

    // The opponent plays again and moves out of turn, then pauses; this
    // side leaves while its pause shows.
    message_timer(0);
    message_timer(0);
    EXPECT_STREQ(net_link.inbox, "");
    std::strcpy(net_link.inbox, "p");
    message_timer(0);
    ASSERT_TRUE(paused_by_opponent());
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
