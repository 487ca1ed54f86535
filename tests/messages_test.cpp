#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "net/messages.h"
#include "net/status_text.h"
#include "tests/screen_state.h"

namespace {

constexpr double B = kBoardScreen;
constexpr PitPosition kFirstPick{-1, -1};

void receive(const char* text) {
    std::strcat(net_link.inbox, text);
}

// A received move, on one side in one state, after one tick: whether it is
// sown, and what is left of the inbox. A move that breaks the rules is taken
// off and ignored; one that must wait stays at the front.
TEST(Messages, AReceivedMoveIsSownOnlyWhenItMayBe) {
    struct Row {
        const char* flags;
        bool sowing;
        PitPosition relay_after;
        const char* received;
        PitPosition sown;
        const char* left;
    };
    constexpr PitPosition kNone{-1, -1};
    const Row rows[] = {
        {"v2n", false, kFirstPick, "30", {0, 3}, ""},  // the joiner's pick, on the host
        {"vc", false, kFirstPick, "41", {1, 4}, ""},   // the host's, on the joiner
        {"v2n", false, kFirstPick, "3", kNone, "3"},   // the rest is on its way
        {"v2n", true, kFirstPick, "30", kNone, "30"},  // after the sowing under way
        {"pv2n", false, kFirstPick, "30", kNone, "30"},
        {"vr2n", false, kFirstPick, "30", kNone, "30"},  // after this side's next game starts
        {"v2n", false, kFirstPick, "32", kNone, ""},     // off the board
        {"v2n", false, kFirstPick, "70", kNone, ""},
        {"v2n", false, kFirstPick, "31", kNone, ""},  // not the mover's row
        {"vn", false, kFirstPick, "41", kNone, ""},   // not the opponent's turn
        {"vc2", false, kFirstPick, "30", kNone, ""},
        {"v2n", false, {0, 0}, "50", kNone, ""},  // a relay from anywhere but the next pit
        {"v2n", false, {0, 0}, "01", {1, 0}, ""},
        {"v2", false, kFirstPick, "30", kNone, "30"},  // no network game
    };
    for (const Row& row : rows) {
        enter_state(B, 0, row.flags);
        match.sowing_active = row.sowing;
        if (!(row.relay_after == kFirstPick)) {
            match.new_turn = false;
            match.source_row = row.relay_after.row;
            match.source_column = row.relay_after.column;
        }
        receive(row.received);
        message_timer(0);
        const int line = static_cast<int>(&row - rows);
        EXPECT_STREQ(net_link.inbox, row.left) << "row " << line;
        if (row.sown == kNone) {
            EXPECT_EQ(match.sowing_active, row.sowing) << "row " << line;
        } else {
            EXPECT_TRUE(match.sowing_active) << "row " << line;
            EXPECT_FALSE(match.new_turn);
            EXPECT_EQ((PitPosition{match.source_row, match.source_column}), row.sown);
            EXPECT_EQ((PitPosition{match.sow_row, match.sow_column}), row.sown);
            EXPECT_EQ(match.step_phase, 1);
        }
        EXPECT_EQ(platform.timers.back().callback, &message_timer);
        EXPECT_EQ(platform.timers.back().milliseconds, 100u);
    }
    enter_state(B, 0, "v2n");
    pit_at(0, 2).count = 0;
    receive("20");
    message_timer(0);
    EXPECT_FALSE(match.sowing_active) << "an empty pit";
}

// One tick on the host, in play with the joiner to move, or after the game:
// at most one message is taken, and the strays before it are dropped.
TEST(Messages, EachMessageMeansWhatThisSidesStateMakesOfIt) {
    struct Row {
        const char* flags;
        const char* received;
        const char* left;
        const char* flags_after;
        bool sowing_after;
    };
    const Row rows[] = {
        {"v2n", "uq\x01z30", "", "v2n", true},  // strays do not hold a move back
        {"v2n", "p30", "30", "v2no", false},    // a pause in play
        {"v2no", "u30", "30", "v2n", false},    // its end
        {"v2n", "P30", "P30", "v2n", false},    // play again waits for this game's end
        {"vr2na", "P30", "30", "vr2n", false},  // ... and is taken after it
        {"vr2na", "p", "", "vr2n", false},      // after it "p" is play again
        {"v2no", "p~3u", "", "v2n", false},     // nothing but "u" while paused
        {"v2na", "u!30P", "", "v2n", false},    // nothing but play again before it
        {"v2n", "3x", "x", "v2n", false},       // a digit not followed by one
    };
    for (const Row& row : rows) {
        enter_state(B, 0, row.flags);
        receive(row.received);
        message_timer(0);
        EXPECT_STREQ(net_link.inbox, row.left) << row.received;
        EXPECT_EQ(state_flags(), row.flags_after) << row.received;
        EXPECT_EQ(match.sowing_active, row.sowing_after) << row.received;
    }
    // A pause takes a running sowing along; the unpause gives it back.
    enter_state(B, 0, "v2n");
    match.sowing_active = true;
    receive("pu");
    message_timer(0);
    EXPECT_FALSE(match.sowing_active);
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
}

// A copy still in its last move pauses while this side already waits for
// the play-again: its "p" reads as play again until its "u" says otherwise.
TEST(Messages, APauseTakenForPlayAgainIsUndoneByItsUnpause) {
    enter_state(B, 0, "vrna");
    receive("puP");
    for (const int awaiting : {0, 1, 0}) {
        message_timer(0);
        EXPECT_EQ(net_link.awaiting_rematch, awaiting);
    }
    EXPECT_STREQ(net_link.inbox, "");
    // Nothing of it survives into the next connection.
    net_link.awaiting_rematch = 1;
    receive("p");
    message_timer(0);
    leave_game();
    start_hosting();
    net_link.connected = true;
    receive("u");
    message_timer(0);
    EXPECT_EQ(net_link.awaiting_rematch, 0);
}

TEST(Messages, BytesOnTheWireAndTheClosingWindow) {
    enter_state(B, 0, "");
    send_move(1, 4);
    close_handler();  // not a network game: nothing
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("41\0", 3)});
    EXPECT_TRUE(platform.sleeps.empty());
    enter_state(B, 0, "vh");
    close_handler();
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("q\0", 2)});
    EXPECT_EQ(platform.sleeps, std::vector<int>{100});
}

// The network thread only flags a lost connection; the reset happens here,
// keeping the role and the tallies.
TEST(Messages, ALostConnectionResetsTheGameKeepingRoleAndTallies) {
    for (const char* flags : {"pv2nao", "vc2o"}) {
        enter_state(B, 0, flags);
        match.player1_wins = 3;
        match.player2_store = 9;
        net_link.connection_lost = true;
        message_timer(0);
        EXPECT_FALSE(net_link.connection_lost || net_link.quiet_disconnect);
        EXPECT_EQ(state_flags(), flags[0] == 'p' ? "vh" : "vj");
        EXPECT_EQ(match.player1_wins, 3);
        EXPECT_EQ(match.player2_store, 0);
    }
}

TEST(StatusText, TheCaretBlinksAndTheDotsGrowWithOneSharedPhase) {
    enter_state(B, 0, "vj");
    std::strcpy(net_link.peer_address, "10.0.0.2");
    const char* prompts[] = {"Enter IP Address: 10.0.0.2", "Enter IP Address: 10.0.0.2_",
                             "Enter IP Address: 10.0.0.2"};
    for (const char* prompt : prompts) {
        caret_timer(0);
        connecting_dots_timer(0);
        waiting_dots_timer(0);
        EXPECT_STREQ(net_link.address_prompt_text, prompt);
    }
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait");
    EXPECT_STREQ(net_link.waiting_text, "Waiting for connection");

    enter_state(B, 0, "vh");
    const char* waiting[] = {"Waiting for connection",     "Waiting for connection.",
                             "Waiting for connection..",   "Waiting for connection...",
                             "Waiting for connection....", "Waiting for connection"};
    for (const char* text : waiting) {
        waiting_dots_timer(0);
        caret_timer(0);
        connecting_dots_timer(0);
        EXPECT_STREQ(net_link.waiting_text, text);
    }
    EXPECT_EQ(net_link.text_anim_phase, 1);
    // The connecting line picks the phase up where the waiting line left it.
    enter_state(B, 0, "vc");
    net_link.text_anim_phase = 1;
    connecting_dots_timer(0);
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait.");
    EXPECT_EQ(platform.timers.back().callback, &connecting_dots_timer);
    EXPECT_EQ(platform.timers.back().milliseconds, 500u);
}

}  // namespace
