#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "net/link.h"
#include "net/messages.h"
#include "net/status_text.h"
#include "rules/board.h"
#include "screens/screen.h"
#include "tests/fake_peer.h"
#include "tests/fake_platform.h"

namespace {

class MessagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_game_state();
        sent_to_peer.clear();
        connection_closes = 0;
    }

    // A connected host whose opponent, player 2, is to pick a pit.
    void host_awaiting_opponent_move() {
        start_hosting();
        net_link.awaiting_peer = false;
        net_link.connected = true;
        match.current_player = 2;
        match.new_turn = true;
        reset_platform_record();
    }

    void receive(const char* text) { std::strcat(net_link.inbox, text); }

    std::string inbox() const { return net_link.inbox; }
};

TEST_F(MessagesTest, MoveOfTheOpponentStartsSowingAndTimerRearms) {
    host_awaiting_opponent_move();
    receive("30");
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 0);
    EXPECT_EQ(match.source_column, 3);
    EXPECT_FALSE(match.new_turn);
    EXPECT_EQ(inbox(), "");
    ASSERT_EQ(platform.timers.size(), 1u);
    EXPECT_EQ(platform.timers[0].milliseconds, 100u);
    EXPECT_EQ(platform.timers[0].callback, &message_timer);
}

TEST_F(MessagesTest, MoveWaitsWhileSowingPausedGameOverOrUnfinished) {
    host_awaiting_opponent_move();
    receive("3");
    message_timer(0);
    EXPECT_EQ(inbox(), "3");  // the second digit is still on its way
    receive("0");
    match.sowing_active = true;
    message_timer(0);
    EXPECT_EQ(inbox(), "30");
    match.sowing_active = false;
    screen.paused = true;
    message_timer(0);
    EXPECT_EQ(inbox(), "30");
    screen.paused = false;
    match.game_result = kDraw;  // this side has not started the next game yet
    message_timer(0);
    EXPECT_EQ(inbox(), "30");
    match.game_result = kInPlay;
    message_timer(0);
    EXPECT_EQ(inbox(), "");
    EXPECT_TRUE(match.sowing_active);
}

TEST_F(MessagesTest, MovesThatBreakTheRulesAreRemovedAndIgnored) {
    host_awaiting_opponent_move();
    pit_at(0, 2).count = 0;
    // Off the board, a column past 6, the mover's opponent's row, an empty pit.
    for (const char* move : {"32", "70", "31", "20"}) {
        receive(move);
        message_timer(0);
        EXPECT_FALSE(match.sowing_active) << move;
        EXPECT_TRUE(match.new_turn) << move;
        EXPECT_EQ(inbox(), "") << move;
    }
    // Not the opponent's turn: the host moves for player 1.
    match.current_player = 1;
    receive("41");
    message_timer(0);
    EXPECT_FALSE(match.sowing_active);
    EXPECT_EQ(inbox(), "");
}

TEST_F(MessagesTest, RelayMustNameThePitAfterTheSource) {
    host_awaiting_opponent_move();
    match.new_turn = false;  // waiting for a relay after (0, 0)
    match.source_row = 0;
    match.source_column = 0;
    receive("50");  // not next_pit of (0, 0)
    message_timer(0);
    EXPECT_FALSE(match.sowing_active);
    receive("01");  // (1, 0) is next after (0, 0)
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 1);
    EXPECT_EQ(match.source_column, 0);
}

TEST_F(MessagesTest, JoinerTakesMovesOfPlayerOneOnly) {
    start_joining();
    net_link.address_entry_open = false;
    net_link.connected = true;
    match.current_player = 1;
    receive("41");
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 1);
}

TEST_F(MessagesTest, NothingIsReadOutsideANetworkGame) {
    start_local_game();
    receive("30");
    message_timer(0);
    EXPECT_EQ(inbox(), "30");
    EXPECT_FALSE(match.sowing_active);
    ASSERT_EQ(platform.timers.size(), 1u);
}

TEST_F(MessagesTest, PauseStopsSowingAndUnpauseRestartsItOneMessagePerTick) {
    host_awaiting_opponent_move();
    match.sowing_active = true;
    receive("pu");
    message_timer(0);
    EXPECT_TRUE(net_link.peer_paused);
    EXPECT_FALSE(match.sowing_active);
    EXPECT_EQ(inbox(), "u");
    message_timer(0);
    EXPECT_FALSE(net_link.peer_paused);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(inbox(), "");
}

TEST_F(MessagesTest, BothPromptsOpenTheSowingWaitsForBothToClose) {
    host_awaiting_opponent_move();
    match.sowing_active = true;
    pause_game();  // this side's prompt stops the sowing
    receive("p");
    message_timer(0);  // the opponent paused too
    EXPECT_TRUE(net_link.resume_sowing_on_unpause);
    resume_game();
    EXPECT_FALSE(match.sowing_active);  // the opponent's copy still stands
    receive("u");
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);

    // The other order: the opponent first, then this side.
    receive("p");
    message_timer(0);
    pause_game();
    EXPECT_TRUE(net_link.resume_sowing_on_unpause);
    receive("u");
    message_timer(0);
    EXPECT_FALSE(match.sowing_active);  // this side's prompt is open
    resume_game();
    EXPECT_TRUE(match.sowing_active);
}

// One tick on the host, in play with the joiner to move, or after the game:
// at most one message is taken, and the strays before it are dropped.
TEST_F(MessagesTest, EachMessageMeansWhatThisSidesStateMakesOfIt) {
    struct Row {
        int awaiting_rematch;
        bool peer_paused;
        int game_result;
        const char* received;
        const char* left;
        int awaiting_after;
        bool peer_paused_after;
        bool sowing_after;
    };
    const Row rows[] = {
        {0, false, kInPlay, "uq\x01z30", "", 0, false, true},  // strays do not hold a move back
        {0, false, kInPlay, "p30", "30", 0, true, false},      // a pause in play
        {0, false, kInPlay, "P30", "P30", 0, false, false},    // play again waits for this end
        {1, false, kDraw, "P30", "30", 0, false, false},       // ... and is taken after it
        {1, false, kDraw, "p", "", 0, false, false},           // "p" is play again after it
        {0, true, kInPlay, "p~30u", "", 0, false, false},      // nothing but "u" while paused
        {1, false, kInPlay, "u!30P", "", 0, false, false},     // nothing but play again before it
        {0, false, kInPlay, "3x", "x", 0, false, false},       // a digit not followed by one
    };
    for (const Row& row : rows) {
        host_awaiting_opponent_move();
        net_link.awaiting_rematch = row.awaiting_rematch;
        net_link.peer_paused = row.peer_paused;
        match.game_result = row.game_result;
        receive(row.received);
        message_timer(0);
        EXPECT_EQ(inbox(), row.left) << row.received;
        EXPECT_EQ(net_link.awaiting_rematch, row.awaiting_after) << row.received;
        EXPECT_EQ(net_link.peer_paused, row.peer_paused_after) << row.received;
        EXPECT_EQ(match.sowing_active, row.sowing_after) << row.received;
    }
}

// A copy still in its last move pauses while this side already waits for
// the play-again: its "p" reads as play again until its "u" says otherwise.
TEST_F(MessagesTest, APauseTakenForPlayAgainIsUndoneByItsUnpause) {
    host_awaiting_opponent_move();
    match.game_result = kPlayer1Won;
    net_link.awaiting_rematch = 1;
    receive("puP");
    message_timer(0);
    EXPECT_EQ(net_link.awaiting_rematch, 0);
    message_timer(0);
    EXPECT_EQ(net_link.awaiting_rematch, 1);
    message_timer(0);
    EXPECT_EQ(net_link.awaiting_rematch, 0);
    EXPECT_EQ(inbox(), "");
}

TEST_F(MessagesTest, PauseAndResumeTellTheOpponentOnlyDuringPlay) {
    host_awaiting_opponent_move();
    pause_game();
    resume_game();
    ASSERT_EQ(sent_to_peer.size(), 2u);
    EXPECT_EQ(sent_to_peer[0], std::string("p", 2));
    EXPECT_EQ(sent_to_peer[1], std::string("u", 2));

    // After the game, "p" would read as play again on the other side.
    sent_to_peer.clear();
    match.game_result = kDraw;
    net_link.awaiting_rematch = 1;
    pause_game();
    resume_game();
    EXPECT_TRUE(sent_to_peer.empty());

    // Pressed p first, still waiting for the opponent's: not told either.
    match.game_result = kInPlay;
    pause_game();
    net_link.awaiting_rematch = 0;  // its play-again arrives meanwhile
    resume_game();
    EXPECT_TRUE(sent_to_peer.empty());
}

TEST_F(MessagesTest, MoveAndQuitBytesOnTheWire) {
    send_move(1, 4);
    ASSERT_EQ(sent_to_peer.size(), 1u);
    EXPECT_EQ(sent_to_peer[0], std::string("41\0", 3));

    sent_to_peer.clear();
    close_handler();  // not a network game
    EXPECT_TRUE(sent_to_peer.empty());
    EXPECT_TRUE(platform.sleeps.empty());

    host_awaiting_opponent_move();
    close_handler();
    ASSERT_EQ(sent_to_peer.size(), 1u);
    EXPECT_EQ(sent_to_peer[0], std::string("q", 2));
    ASSERT_EQ(platform.sleeps.size(), 1u);
    EXPECT_EQ(platform.sleeps[0], 100);
}

TEST_F(MessagesTest, LostConnectionResetsOnTheMainThreadKeepingRoleAndWins) {
    for (const bool host : {true, false}) {
        reset_game_state();
        if (host) {
            start_hosting();
            net_link.awaiting_peer = false;
        } else {
            start_joining();
            net_link.address_entry_open = false;
        }
        net_link.connected = true;
        net_link.peer_paused = true;
        net_link.awaiting_rematch = 1;
        net_link.quiet_disconnect = true;
        match.player1_wins = 3;
        match.player2_store = 9;
        match.current_player = 2;
        net_link.connection_lost = true;
        message_timer(0);
        EXPECT_FALSE(net_link.connection_lost);
        EXPECT_TRUE(net_link.network_game);
        EXPECT_EQ(net_link.hosting.load(), host);
        EXPECT_EQ(net_link.joining.load(), !host);
        EXPECT_EQ(net_link.awaiting_peer.load(), host);
        EXPECT_EQ(net_link.address_entry_open.load(), !host);
        EXPECT_FALSE(net_link.connected);
        EXPECT_FALSE(net_link.peer_paused);
        EXPECT_FALSE(net_link.awaiting_rematch);
        EXPECT_FALSE(net_link.quiet_disconnect);
        EXPECT_EQ(match.player1_wins, 3);
        EXPECT_EQ(match.player2_store, 0);
        EXPECT_EQ(match.current_player, 1);
    }
}

TEST_F(MessagesTest, LeavingDropsAPendingLostConnection) {
    host_awaiting_opponent_move();
    net_link.connection_lost = true;
    leave_game();
    EXPECT_FALSE(net_link.connection_lost);
    EXPECT_EQ(connection_closes, 1);
    message_timer(0);
    EXPECT_FALSE(net_link.network_game);
}

class StatusTextTest : public ::testing::Test {
  protected:
    void SetUp() override { reset_game_state(); }
};

TEST_F(StatusTextTest, CaretBlinksOnTheTypedAddress) {
    start_joining();
    std::strcpy(net_link.peer_address, "10.0.0.2");
    caret_timer(0);
    EXPECT_STREQ(net_link.address_prompt_text, "Enter IP Address: 10.0.0.2");
    caret_timer(0);
    EXPECT_STREQ(net_link.address_prompt_text, "Enter IP Address: 10.0.0.2_");
    std::strcat(net_link.peer_address, "5");
    caret_timer(0);
    EXPECT_STREQ(net_link.address_prompt_text, "Enter IP Address: 10.0.0.25");
}

TEST_F(StatusTextTest, DotsGrowToFourAndStartOverWithTheSharedPhase) {
    start_hosting();
    const char* expected[] = {"Waiting for connection",     "Waiting for connection.",
                              "Waiting for connection..",   "Waiting for connection...",
                              "Waiting for connection....", "Waiting for connection"};
    for (const char* text : expected) {
        waiting_dots_timer(0);
        EXPECT_STREQ(net_link.waiting_text, text);
    }
    // The connecting line picks the phase up where the waiting line left it.
    start_joining();
    net_link.address_entry_open = false;
    connecting_dots_timer(0);
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait.");
}

TEST_F(StatusTextTest, InactiveTimersChangeNothingButRearm) {
    start_hosting();
    net_link.awaiting_peer = false;
    reset_platform_record();
    caret_timer(0);
    connecting_dots_timer(0);
    waiting_dots_timer(0);
    EXPECT_STREQ(net_link.waiting_text, "Waiting for connection");
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait");
    EXPECT_STREQ(net_link.address_prompt_text, "Enter IP Address: ");
    EXPECT_EQ(net_link.text_anim_phase, 0);
    ASSERT_EQ(platform.timers.size(), 3u);
    EXPECT_EQ(platform.timers[0].milliseconds, 500u);
    EXPECT_EQ(platform.timers[1].callback, &connecting_dots_timer);
    EXPECT_EQ(platform.timers[2].callback, &waiting_dots_timer);
}

}  // namespace
