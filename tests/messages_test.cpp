#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "net/messages.h"
#include "net/status_text.h"
#include "tests/states.h"

namespace {

void receive(const char* text) {
    std::strcat(net_link.inbox, text);
}

// What one tick makes of received text, on one side in one state (the
// letters of tests/states.h): what is left of the inbox, the state
// after, and the pit a taken move sows from. At most one message is taken
// a tick; strays before it are dropped; a move that breaks the rules is
// taken off and ignored; one that must wait stays at the front.
TEST(Messages, EachMessageMeansWhatThisSidesStateMakesOfIt) {
    struct Row {
        const char* flags;
        const char* received;
        const char* left;
        const char* flags_after;
        int sown_row, sown_column;
    };
    // clang-format off
    const Row rows[] = {
        // Moves: the joiner's pick on the host, the host's on the joiner, a relay.
        {"v2n", "30", "", "v2ntm", 0, 3},        {"vc", "41", "", "vctm", 1, 4},
        {"v2nt", "01", "", "v2ntm", 1, 0},        {"v2n", "3", "3", "v2n", -1, -1},
        // Moves that wait: a sowing under way, the pause prompt, a game over.
        {"v2ntm", "30", "30", "v2ntm", -1, -1},   {"pv2n", "30", "30", "pv2n", -1, -1},
        {"vr2n", "30", "30", "vr2n", -1, -1},     {"v2", "30", "30", "v2", -1, -1},
        // Moves that break the rules: off the board, not the mover's row or
        // turn, a relay from anywhere but the next pit.
        {"v2n", "32", "", "v2n", -1, -1},         {"v2n", "70", "", "v2n", -1, -1},
        {"v2n", "31", "", "v2n", -1, -1},         {"vn", "41", "", "vn", -1, -1},
        {"vc2", "30", "", "v2c", -1, -1},         {"v2nt", "50", "", "v2nt", -1, -1},
        // Pause, unpause, play again; strays do not hold back what follows.
        {"v2n", "uq\x01z30", "", "v2ntm", 0, 3},  {"v2n", "p30", "30", "v2no", -1, -1},
        {"v2ntm", "pu", "u", "v2not", -1, -1},    {"v2no", "u30", "30", "v2n", -1, -1},
        {"v2n", "P30", "P30", "v2n", -1, -1},     {"vr2na", "P30", "30", "vr2n", -1, -1},
        {"vr2na", "p", "", "vr2n", -1, -1},       {"v2no", "p~3u", "", "v2n", -1, -1},
        {"v2na", "u!30P", "", "v2n", -1, -1},     {"v2n", "3x", "x", "v2n", -1, -1},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.received);
        enter_state(kBoardScreen, 0, row.flags);
        receive(row.received);
        message_timer(0);
        EXPECT_STREQ(net_link.inbox, row.left);
        EXPECT_EQ(state_flags(), row.flags_after);
        if (row.sown_row >= 0) {
            EXPECT_EQ((PitPosition{match.source_row, match.source_column}),
                      (PitPosition{row.sown_row, row.sown_column}));
            EXPECT_EQ((PitPosition{match.sow_row, match.sow_column}),
                      (PitPosition{match.source_row, match.source_column}));
            EXPECT_EQ(match.step_phase, 1);
        }
        EXPECT_EQ(platform.timers.back().milliseconds, 100u);
    }
    enter_state(kBoardScreen, 0, "v2n");
    pit_at(0, 2).count = 0;
    receive("20");
    message_timer(0);
    EXPECT_FALSE(match.sowing_active) << "an empty pit";
    // The unpause gives back the sowing the pause took.
    enter_state(kBoardScreen, 0, "v2ntm");
    receive("pu");
    message_timer(0);
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
}

// A copy still in its last move pauses while this side already waits for
// the play-again: its "p" reads as play again until its "u" says otherwise.
// Nothing of it survives into the next connection.
TEST(Messages, APauseTakenForPlayAgainIsUndoneByItsUnpause) {
    enter_state(kBoardScreen, 0, "vrna");
    receive("puP");
    for (const int awaiting : {0, 1, 0}) {
        message_timer(0);
        EXPECT_EQ(net_link.awaiting_rematch, awaiting);
    }
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

// The bytes of a move and of the quit sent by a closing window; a lost
// connection, flagged by the network thread, resets the game here, keeping
// the role and the tallies.
TEST(Messages, BytesOnTheWireAndALostConnection) {
    enter_state(kBoardScreen, 0, "");
    send_move(1, 4);
    close_handler();  // not a network game: nothing
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("41\0", 3)});
    EXPECT_TRUE(platform.sleeps.empty());
    enter_state(kBoardScreen, 0, "vh");
    close_handler();
    EXPECT_EQ(sent_to_peer, std::vector<std::string>{std::string("q\0", 2)});
    EXPECT_EQ(platform.sleeps, std::vector<int>{100});
    for (const char* flags : {"pv2nao", "vc2o"}) {
        enter_state(kBoardScreen, 0, flags);
        match.player1_wins = 3;
        match.player2_store = 9;
        net_link.play_again_may_be_pause = true;
        net_link.connection_lost = true;
        message_timer(0);
        receive("u");  // from the next opponent: a stray
        message_timer(0);
        EXPECT_FALSE(net_link.connection_lost || net_link.quiet_disconnect);
        EXPECT_EQ(state_flags(), flags[0] == 'p' ? "vh" : "vj");
        EXPECT_EQ(match.player1_wins * 100 + match.player2_store, 300);
    }
}

TEST(StatusText, TheCaretBlinksAndTheDotsGrowWithOneSharedPhase) {
    enter_state(kBoardScreen, 0, "vj");
    std::strcpy(net_link.peer_address, "10.0.0.2");
    for (const char* caret : {"", "_", ""}) {
        caret_timer(0);
        connecting_dots_timer(0);
        waiting_dots_timer(0);
        EXPECT_EQ(std::string(net_link.address_prompt_text),
                  std::string("Enter IP Address: 10.0.0.2") + caret);
    }
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait");
    EXPECT_STREQ(net_link.waiting_text, "Waiting for connection");
    enter_state(kBoardScreen, 0, "vh");
    for (const char* dots : {"", ".", "..", "...", "....", ""}) {
        waiting_dots_timer(0);
        caret_timer(0);
        connecting_dots_timer(0);
        EXPECT_EQ(std::string(net_link.waiting_text), std::string("Waiting for connection") + dots);
    }
    // The connecting line picks the phase up where the waiting line left it.
    enter_state(kBoardScreen, 0, "vc");
    net_link.text_anim_phase = 1;
    connecting_dots_timer(0);
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait.");
    EXPECT_EQ(platform.timers.back().milliseconds, 500u);
}

}  // namespace
