#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include "net/messages.h"
#include "net/status_text.h"
#include "rules/sowing.h"
#include "tests/states.h"

namespace {

// What received text makes of one side in one state (the letters of
// tests/states.h), a tick after each piece of it: what is left of the inbox
// and the state after. At most one message is taken a tick; strays before it
// are dropped; a move that breaks the rules is taken off and ignored, one that
// must wait stays at the front, one taken sows from the pit it names.
TEST(Messages, EachMessageMeansWhatThisSidesStateMakesOfIt) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        // Moves: the joiner's pick on the host, the host's on the joiner, a
        // relay. Moves that wait: half of one, a sowing under way, the pause
        // prompt, a game over, no network game. Moves that break the rules: off
        // the board, not the mover's row or turn, a relay from anywhere but the
        // next pit, an empty pit.
        {"v2n", "30", "", "v2ntm"},   {"vc", "41", "", "vctm"},       {"v2nt", "01", "", "v2ntm"},
        {"v2n", "3", "3", "v2n"},     {"v2ntm", "30", "30", "v2ntm"}, {"pv2n", "30", "30", "pv2n"},
        {"vr2n", "30", "30", "vr2n"}, {"v2", "30", "30", "v2"},       {"v2n", "32", "", "v2n"},
        {"v2n", "70", "", "v2n"},     {"v2n", "31", "", "v2n"},       {"vn", "41", "", "vn"},
        {"vc2", "30", "", "v2c"},     {"v2nt", "50", "", "v2nt"},     {"v2n", "60", "", "v2n"},
        // Pause, unpause, play again; strays hold back nothing; a move proves the opponent plays.
        {"v2n", "p30", "30", "v2no"}, {"v2ntm", "pu", "u", "v2not"},  {"v2no", "u30", "30", "v2n"},
        {"v2n", "P30", "P30", "v2n"}, {"vr2na", "P30", "30", "vr2n"}, {"vr2na", "p", "", "vr2n"},
        {"v2no", "p~30", "", "v2ntm"}, {"v2na", "u!30", "", "v2ntm"}, {"v2n", "3x", "x", "v2n"},
        {"v2n", "uq\x01z30", "", "v2ntm"},
        // The unpause gives back the sowing the pause took. A copy still in
        // its last move pauses while this side waits for the play-again: its
        // "p" reads as play again until its "u" says otherwise, or a second "p" says it played.
        {"v2ntm", "p u", "", "v2ntm"}, {"vrna", "p u", "", "vrna"}, {"vrna", "p u P", "", "vrn"},
        {"vrna", "p p", "", "vrn"},
    };
    // clang-format on
    for (const auto& [flags, received, left, flags_after] : rows) {
        SCOPED_TRACE(received);
        enter_state(kBoardScreen, 0, flags);
        pit_at(0, 6).count = 0;  // for the empty pit
        std::istringstream pieces(received);
        for (std::string piece; pieces >> piece;) {
            std::strcat(net_link.inbox, piece.c_str());
            message_timer(0);
        }
        EXPECT_STREQ(net_link.inbox, left);
        EXPECT_EQ(state_flags(), flags_after);
        if (match.sowing_active && std::strchr(flags, 'm') == nullptr) {  // column, then row
            EXPECT_EQ(10 * match.source_column + match.source_row,
                      std::stoi(received + std::strlen(received) - 2));
        }
        EXPECT_EQ(platform.timers.back().milliseconds, 100u);
    }
}

// How the front of the inbox reads, from what this side knows (the letters):
// a awaiting the opponent's play-again, b the play-again just taken was a
// "p", o the opponent has paused, w a move must wait here, l the sowing here
// ends the game.
TEST(Messages, TheFrontReadsByWhatThisSideKnows) {
    using A = WireAction;
    // clang-format off
    const std::tuple<const char*, const char*, WireAction> rows[] = {
        {"", "", A::kWait},            {"3", "", A::kMoveWaits},       {"3x", "", A::kBrokenMove},
        {"30", "w", A::kMoveWaits},    {"30", "", A::kMove},           {"30", "abol", A::kMove},
        {"P", "a", A::kPlayAgain},     {"P", "", A::kWait},            {"P", "bo", A::kWait},
        {"p", "al", A::kPlayAgain},    {"p", "bl", A::kSecondPause},   {"p", "w", A::kPause},
        {"p", "l", A::kWait},          {"p", "o", A::kSkip},           {"u", "bo", A::kUnpause},
        {"u", "b", A::kUndoPlayAgain}, {"u", "a", A::kSkip},           {"q", "abo", A::kSkip},
        {"~", "", A::kSkip},
    };
    // clang-format on
    for (const auto& [front, known, action] : rows) {
        const auto has = [known = known](char letter) {
            return std::strchr(known, letter) != nullptr;
        };
        const WireView view{
            front[0], front[0] ? front[1] : '\0', has('a'), has('b'), has('o'), has('w'), has('l')};
        EXPECT_EQ(read_front(view), action) << front << " " << known;
    }
}

// A "p" that comes while this side sows the game's last move may be the
// play-again of a copy already past the end, so it waits; behind any other
// move it is a pause.
TEST(Messages, APlayAgainWaitsBehindTheLastMove) {
    for (const auto& [row0, last] : {std::pair{RowCounts{0, 0, 0, 0, 0, 3, 0}, true},
                                     {RowCounts{0, 0, 0, 0, 0, 3, 1}, false}}) {
        enter_state(kBoardScreen, 0, "vn");
        set_board(row0, {0, 0, 0, 0, 0, 1, 0}, 30);  // (1, 5) captures (0, 5), or relays
        begin_sowing(1, 5);
        std::strcpy(net_link.inbox, "p");
        message_timer(0);
        EXPECT_EQ(paused_by_opponent(), !last);
        EXPECT_STREQ(net_link.inbox, last ? "p" : "");
    }
}

// This side's pause is told unless the opponent is to move and one of its
// picks could end the game: a copy past the end would take the "p" for its
// play-again. With (0, 1) player 2 captures (1, 1) and leaves player 1's row
// empty, or two seeds on the board; player 1's own picks do not count.
TEST(Messages, APauseIsToldUnlessTheOpponentsNextMoveMayEndTheGame) {
    // clang-format off
    const std::tuple<bool, int, RowCounts, RowCounts, const char*, const char*> rows[] = {
        {true, 2, {0, 1, 0, 0, 0, 3, 0}, {}, "", ""},  {true, 2, {0, 1}, {0, 3, 1}, "", ""},
        {true, 2, {0, 1}, {0, 3, 0, 0, 2}, "", "p"},   {true, 1, {0, 1}, {0, 3, 1}, "", "p"},
        {true, 1, {0, 1}, {0, 3, 0, 0, 0, 0, 1}, "10", ""},
        {false, 2, {0, 1}, {0, 3, 1}, "", "p"},
        {false, 1, {0, 0, 1}, {0, 0, 0, 0, 0, 0, 1}, "", ""},
    };
    // clang-format on
    for (const auto& [hosting, mover, row0, row1, inbox, sent] : rows) {
        enter_state(kBoardScreen, 0, "v");
        open_link(hosting);
        net_link.phase = LinkPhase::kConnected;
        set_board(row0, row1, 0);
        match.current_player = mover;
        std::strcpy(net_link.inbox, inbox);
        if (mover == 1 && hosting) {
            begin_sowing(1, 6);  // this side's move, under way
        }
        pause_game();
        EXPECT_EQ(messages_sent(), sent) << hosting << " " << mover << " " << inbox;
    }
}

TEST(Messages, TheEndOfAConnection) {
    for (const auto& [flags, leaves, flags_after, wins] :
         {std::tuple{"pv2nao", false, "vh", 3}, std::tuple{"vc2o", false, "vj", 3},
          std::tuple{"vrna", true, "vh", 0}}) {
        enter_state(kBoardScreen, 0, flags);
        match.player1_wins = 3;
        match.player2_store = 9;
        net_link.play_again_may_be_pause = true;
        net_link.phase = LinkPhase::kDropped;
        connection_report_timer(0);
        EXPECT_EQ(net_link.phase, paused_here() ? LinkPhase::kDropped : LinkPhase::kTellingLoss);
        net_link.phase = LinkPhase::kLost;  // the box was dismissed
        if (leaves) {
            leave_game();
            start_hosting();
        }
        connection_report_timer(0);
        message_timer(0);
        std::strcat(net_link.inbox, "u");
        message_timer(0);
        EXPECT_EQ(state_flags(), flags_after);
        EXPECT_EQ(match.player1_wins, wins);
        EXPECT_EQ(match.player2_store, 0);
    }
}

TEST(StatusText, TheCaretBlinksAndTheDotsGrowWithOneSharedPhase) {
    enter_state(kBoardScreen, 0, "vj");
    std::strcpy(net_link.peer_address, "10.0.0.2");
    for (const char* caret : {"", "_", ""}) {
        caret_timer(0);
        connecting_dots_timer(0);
        waiting_dots_timer(0);
        EXPECT_EQ(net_link.address_prompt_text, "Enter IP Address: 10.0.0.2" + std::string(caret));
    }
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait");
    EXPECT_STREQ(net_link.waiting_text, "Waiting for connection");
    enter_state(kBoardScreen, 0, "vh");
    for (const char* dots : {"", ".", "..", "...", "....", ""}) {
        waiting_dots_timer(0);
        caret_timer(0);
        connecting_dots_timer(0);
        EXPECT_EQ(net_link.waiting_text, "Waiting for connection" + std::string(dots));
    }
    // The connecting line picks the phase up where the waiting line left it.
    enter_state(kBoardScreen, 0, "vc");
    net_link.text_anim_phase = 1;
    connecting_dots_timer(0);
    EXPECT_STREQ(net_link.connecting_text, "connecting please wait.");
    EXPECT_EQ(platform.timers.back().milliseconds, 500u);
}

}  // namespace
