#include <gtest/gtest.h>

#include <cstdlib>

#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/screen_state.h"

namespace {

constexpr double M = kMainMenu, PM = kPlayerMenu, NM = kNetworkMenu, I = kInstructionsPage,
                 C = kControlsPage, B = kBoardScreen;
constexpr int kEnter = 13, kEsc = 27, kLeft = -100, kUp = -101, kRight = -102, kDown = -103;

// The keys, screen by screen: a negative key is an arrow key.
struct KeyRow {
    double screen;
    int choice;
    const char* flags;
    int key;
    double screen_after;
    int choice_after;
    const char* flags_after;
    const char* sent;
    bool ends;
};

// clang-format off
const KeyRow kKeyRows[] = {
    {M, 0, "", kEnter, PM, 0, "", "", false},
    {M, 1, "", kEnter, B, 1, "w", "", false},            // versus the computer
    {M, 2, "", kEnter, I, 2, "", "", false},
    {M, 3, "", kEnter, M, 3, "x", "", false},            // the exit box, No highlighted
    {M, 3, "xy", kEnter, M, 3, "xy", "", true},
    {M, 3, "x", kEnter, M, 3, "", "", false},
    {M, 0, "x", kEnter, PM, 0, "x", "", false},          // the box stays flagged open
    {M, 1, "x", kEnter, B, 1, "w", "", false},           // ... but not through a new game
    {M, 0, "q", kEnter, M, 0, "q", "", false},
    {PM, 0, "", kEnter, B, 0, "v", "", false},
    {PM, 1, "", kEnter, NM, 0, "", "", false},
    {PM, 2, "", kEnter, M, 0, "", "", false},
    {NM, 0, "", kEnter, B, 0, "vh", "", false},
    {NM, 1, "", kEnter, B, 1, "vj", "", false},
    {NM, 1, "vh", kEnter, B, 1, "vj", "", false},        // nothing left of hosting
    {NM, 0, "vj", kEnter, B, 0, "vh", "", false},
    {NM, 2, "", kEnter, PM, 0, "", "", false},
    {B, 0, "vj", kEnter, B, 0, "vc", "", false},         // the address is entered
    {B, 0, "pvj", kEnter, B, 0, "vc", "u", false},       // after the prompt closes
    {B, 0, "vc", kEnter, B, 0, "vc", "", false},
    {M, 0, "x", kEsc, M, 0, "", "", false},
    {M, 0, "xy", kEsc, M, 0, "", "", false},
    {M, 0, "", kEsc, M, 0, "q", "", false},
    {M, 0, "q", kEsc, M, 0, "q", "", false},
    {PM, 0, "", kEsc, M, 0, "", "", false},
    {NM, 0, "", kEsc, PM, 0, "", "", false},
    {I, 0, "", kEsc, M, 0, "", "", false},
    {C, 0, "", kEsc, I, 0, "", "", false},
    {B, 0, "w", kEsc, B, 0, "wp", "", false},            // a pause from any overlay
    {B, 0, "vn", kEsc, B, 0, "pvn", "p", false},
    {B, 0, "vrn", kEsc, B, 0, "pvrn", "", false},        // after the game p means play again
    {B, 0, "vna", kEsc, B, 0, "pvna", "", false},        // ... and before the opponent's
    {B, 0, "p", kEsc, M, 0, "w", "", false},             // leaving: to the menu of the game
    {B, 0, "pv", kEsc, PM, 0, "v", "", false},
    {B, 0, "pvn", kEsc, NM, 0, "v", "q", false},
    {B, 0, "w", 'c', B, 0, "2", "", false},              // who plays first
    {B, 0, "w2", 'P', B, 0, "", "", false},
    {B, 0, "w", 'r', B, 0, "2", "", false},              // the draw after srand(1)
    {B, 0, "wp", 'c', B, 0, "w", "", false},             // at the prompt they only resume
    {B, 0, "wp", 'p', B, 0, "w", "", false},
    {B, 0, "wp", 'R', B, 0, "w", "", false},
    {B, 0, "wv", 'c', B, 0, "wv", "", false},            // no question between people
    {I, 0, "", 'm', M, 0, "", "", false},
    {C, 0, "", 'M', M, 0, "", "", false},
    {PM, 0, "", 'm', PM, 0, "", "", false},
    {B, 0, "p", 'm', B, 0, "", "", false},
    {M, 0, "q", 'N', M, 0, "", "", false},
    {I, 0, "", 'n', C, 0, "", "", false},
    {C, 0, "", 'n', C, 0, "", "", false},                // the pages do not wrap
    {B, 0, "p", 'n', B, 0, "", "", false},
    {B, 0, "r", 'p', B, 0, "w", "", false},              // play again, the question again
    {B, 0, "rp", 'p', B, 0, "w", "", false},
    {B, 0, "vrn", 'p', B, 0, "vn", "P", false},
    {B, 0, "v", 'p', B, 0, "v", "", false},              // nothing to play again
    {C, 0, "", 'p', I, 0, "", "", false},
    {C, 0, "r", 'p', B, 0, "w", "", false},              // play again from wherever
    {I, 0, "", 'p', I, 0, "", "", false},
    {M, 0, "", 'S', M, 0, "s", "", false},
    {I, 0, "s", 's', I, 0, "", "", false},
    {B, 0, "pvn", 's', B, 0, "vsn", "u", false},
    {M, 0, "", 'y', M, 0, "", "", true},
    {M, 0, "q", 'Y', M, 0, "q", "", true},
    {PM, 0, "", 'y', PM, 0, "", "", false},
    {B, 0, "p", 'y', B, 0, "", "", false},
    {B, 0, "p", 'x', B, 0, "", "", false},
    {B, 0, "pw", kEnter, B, 0, "w", "", false},
    {M, 0, "", 'x', M, 0, "", "", false},
    {M, 0, "x", kLeft, M, 0, "xy", "", false},
    {M, 0, "xy", kRight, M, 0, "x", "", false},
    {M, 0, "", kLeft, M, 0, "", "", false},
    {M, 0, "", kUp, M, 0, "", "", false},
    {M, 1, "", kUp, M, 0, "", "", false},
    {M, 2, "", kDown, M, 3, "", "", false},
    {M, 3, "", kDown, M, 3, "", "", false},              // no wrap
    {M, 1, "x", kDown, M, 2, "x", "", false},            // also with the box open
    {PM, 1, "", kDown, PM, 2, "", "", false},
    {NM, 2, "", kDown, NM, 2, "", "", false},
    {NM, 2, "", kUp, NM, 1, "", "", false},
    {M, 1, "q", kUp, M, 1, "q", "", false},              // nothing under the question
    {I, 1, "", kUp, I, 1, "", "", false},
};
// clang-format on

TEST(Keyboard, EveryKeyOnEveryScreen) {
    for (const KeyRow& row : kKeyRows) {
        enter_state(row.screen, row.choice, row.flags);
        std::srand(1);
        if (row.key < 0) {
            special_key_handler(-row.key, 0, 0);
        } else {
            key_handler(static_cast<unsigned char>(row.key), 0, 0);
        }
        const int line = static_cast<int>(&row - kKeyRows);
        EXPECT_EQ(screen.screen_code, row.screen_after) << "row " << line;
        EXPECT_EQ(screen.menu_choice, row.choice_after) << "row " << line;
        EXPECT_EQ(state_flags(), row.flags_after) << "row " << line;
        EXPECT_EQ(messages_sent(), row.sent) << "row " << line;
        EXPECT_EQ(platform.exits, row.ends ? std::vector<int>{0} : std::vector<int>{})
            << "row " << line;
    }
}

TEST(Keyboard, ARandomFirstPlayerCanBeThePlayer) {
    enter_state(B, 0, "w");
    std::srand(2);  // its first draw gives player 1
    key_handler('r', 0, 0);
    EXPECT_EQ(state_flags(), "");
}

TEST(Keyboard, TheAddressTakesDigitsAndDotsUpToFifteen) {
    enter_state(B, 0, "vj");
    for (const char* key = "1x9.2:168.100.2007"; *key != '\0'; ++key) {
        key_handler(static_cast<unsigned char>(*key), 0, 0);
    }
    EXPECT_STREQ(net_link.peer_address, "19.2168.100.200");
    key_handler(8, 0, 0);
    EXPECT_STREQ(net_link.peer_address, "19.2168.100.20");
    for (int i = 0; i < 20; ++i) {
        key_handler(8, 0, 0);
    }
    EXPECT_STREQ(net_link.peer_address, "");
    // Typed nowhere else, and kept once the entry has closed.
    for (const char* flags : {"vc", "vn", "v"}) {
        enter_state(B, 0, flags);
        std::strcpy(net_link.peer_address, "10.0.0.5");
        for (const unsigned char key : {'7', '\b'}) {
            key_handler(key, 0, 0);
            EXPECT_STREQ(net_link.peer_address, "10.0.0.5") << flags;
        }
    }
}

// The relay key continues a move for the player to move, on the side that
// moves for that player, and tells the opponent.
TEST(Keyboard, TheRelayKeyMovesForThePlayerOfThisSide) {
    struct Row {
        const char* flags;
        bool relays;
        const char* sent;
    };
    const Row rows[] = {{"v", true, ""},    {"v2", true, ""},   {"2", false, ""},
                        {"vn", true, "60"}, {"vn2", false, ""}, {"vc2", true, "60"},
                        {"vc", false, ""},  {"pvn", false, "u"}};
    for (const Row& row : rows) {
        enter_state(B, 0, row.flags);
        match.new_turn = false;  // the last seed fell in (1, 6); (0, 6) holds seeds
        match.source_row = 1;
        match.source_column = 6;
        key_handler('A', 0, 0);
        EXPECT_EQ(match.sowing_active, row.relays) << row.flags;
        EXPECT_EQ(match.source_row, row.relays ? 0 : 1) << row.flags;
        EXPECT_EQ(messages_sent(), row.sent) << row.flags;
    }
    enter_state(B, 0, "vn");
    match.new_turn = false;
    net_link.peer_paused = true;
    key_handler('a', 0, 0);
    EXPECT_FALSE(match.sowing_active) << "the opponent's pause holds the relay key";
}

}  // namespace
