#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "screens/input.h"
#include "tests/states.h"

namespace {

constexpr double M = kMainMenu, PM = kPlayerMenu, NM = kNetworkMenu, I = kInstructionsPage,
                 C = kControlsPage, B = kBoardScreen;
constexpr int kEnter = 13, kEsc = 27, kLeft = -100, kUp = -101, kRight = -102, kDown = -103;

// A key on a screen in a state (the letters of tests/states.h), then
// the screen, the highlight, the state, what was sent, whether the program
// ended. A negative key is an arrow key. No key here changes the address.
using Text = const char*;
// clang-format off
const std::tuple<double, int, Text, int, double, int, Text, Text, bool> kRows[] = {
    // Enter on the menus; with the exit box open it acts on the highlight, and
    // the box stays flagged open unless a new game closes it.
    {M, 0, "", kEnter, PM, 0, "", "", 0},       {M, 1, "", kEnter, B, 1, "w", "", 0},
    {M, 2, "", kEnter, I, 2, "", "", 0},        {M, 3, "", kEnter, M, 3, "x", "", 0},
    {M, 3, "xy", kEnter, M, 3, "xy", "", 1},    {M, 3, "x", kEnter, M, 3, "", "", 0},
    {M, 0, "x", kEnter, PM, 0, "x", "", 0},     {M, 1, "x", kEnter, B, 1, "w", "", 0},
    {M, 0, "q", kEnter, M, 0, "q", "", 0},      {PM, 0, "", kEnter, B, 0, "v", "", 0},
    {PM, 1, "", kEnter, NM, 0, "", "", 0},      {PM, 2, "", kEnter, M, 0, "", "", 0},
    {NM, 0, "", kEnter, B, 0, "vh", "", 0},     {NM, 1, "", kEnter, B, 1, "vj", "", 0},
    {NM, 1, "vh", kEnter, B, 1, "vj", "", 0},   {NM, 0, "vj", kEnter, B, 0, "vh", "", 0},
    {NM, 2, "", kEnter, PM, 0, "", "", 0},      {B, 0, "vj", kEnter, B, 0, "vc", "", 0},
    {B, 0, "pvj", kEnter, B, 0, "vc", "", 0},   {B, 0, "vc", kEnter, B, 0, "vc", "", 0},
    // Esc: back a screen; on the board a pause, told only in play to one there, then the menu.
    {M, 0, "x", kEsc, M, 0, "", "", 0},        {M, 0, "xy", kEsc, M, 0, "", "", 0},
    {M, 0, "", kEsc, M, 0, "q", "", 0},        {M, 0, "q", kEsc, M, 0, "q", "", 0},
    {PM, 0, "", kEsc, M, 0, "", "", 0},        {NM, 0, "", kEsc, PM, 0, "", "", 0},
    {I, 0, "", kEsc, M, 0, "", "", 0},         {C, 0, "", kEsc, I, 0, "", "", 0},
    {B, 0, "w", kEsc, B, 0, "wp", "", 0},      {B, 0, "vn", kEsc, B, 0, "pvn", "p", 0},
    {B, 0, "vrn", kEsc, B, 0, "pvrn", "", 0},  {B, 0, "vna", kEsc, B, 0, "pvna", "", 0},
    {B, 0, "p", kEsc, M, 0, "w", "", 0},       {B, 0, "pv", kEsc, PM, 0, "v", "", 0},
    {B, 0, "pvn", kEsc, NM, 0, "v", "q", 0},   {B, 0, "vh", kEsc, B, 0, "pvh", "", 0},
    // Who plays first, only against the computer and only unpaused (r after
    // srand(2) draws the person). The relay key, for the player to move, on
    // the side that moves for that player, unpaused on both sides; in a
    // network game the move is sent.
    {B, 0, "w", 'c', B, 0, "2", "", 0},           {B, 0, "w2", 'P', B, 0, "", "", 0},
    {B, 0, "w", 'r', B, 0, "", "", 0},            {B, 0, "wp", 'c', B, 0, "w", "", 0},
    {B, 0, "wp", 'p', B, 0, "w", "", 0},          {B, 0, "wp", 'R', B, 0, "w", "", 0},
    {B, 0, "wv", 'c', B, 0, "wv", "", 0},         {B, 0, "vt", 'a', B, 0, "vtm", "", 0},
    {B, 0, "v2t", 'a', B, 0, "v2tm", "", 0},      {B, 0, "2t", 'a', B, 0, "2t", "", 0},
    {B, 0, "vnt", 'A', B, 0, "vntm", "01", 0},    {B, 0, "v2nt", 'a', B, 0, "v2nt", "", 0},
    {B, 0, "v2ct", 'a', B, 0, "v2ctm", "01", 0},  {B, 0, "vct", 'a', B, 0, "vct", "", 0},
    {B, 0, "pvnt", 'a', B, 0, "vnt", "u", 0},     {B, 0, "vnot", 'a', B, 0, "vnot", "", 0},
    // The sound anywhere; y ends only from the main menu; other keys resume,
    // and type only while the address is entered.
    {M, 0, "", 'S', M, 0, "s", "", 0},        {I, 0, "s", 's', I, 0, "", "", 0},
    {B, 0, "pvn", 's', B, 0, "vsn", "u", 0},  {M, 0, "", 'y', M, 0, "", "", 1},
    {M, 0, "q", 'Y', M, 0, "q", "", 1},       {PM, 0, "", 'y', PM, 0, "", "", 0},
    {B, 0, "p", 'y', B, 0, "", "", 0},        {B, 0, "p", 'x', B, 0, "", "", 0},
    {M, 0, "", 'x', M, 0, "", "", 0},         {B, 0, "pw", kEnter, B, 0, "w", "", 0},
    {B, 0, "vc", '7', B, 0, "vc", "", 0},     {B, 0, "vc", '\b', B, 0, "vc", "", 0},
    {B, 0, "vn", '7', B, 0, "vn", "", 0},     {B, 0, "vn", '\b', B, 0, "vn", "", 0},
    {B, 0, "v", '7', B, 0, "v", "", 0},       {B, 0, "v", '\b', B, 0, "v", "", 0},
    // The help pages, which do not wrap; play again from wherever a game
    // ended. The arrows: Yes and No in the box; the highlight without wrapping.
    {I, 0, "", 'm', M, 0, "", "", 0},        {C, 0, "", 'M', M, 0, "", "", 0},
    {PM, 0, "", 'm', PM, 0, "", "", 0},      {B, 0, "p", 'm', B, 0, "", "", 0},
    {M, 0, "q", 'N', M, 0, "", "", 0},       {I, 0, "", 'n', C, 0, "", "", 0},
    {C, 0, "", 'n', C, 0, "", "", 0},        {B, 0, "p", 'n', B, 0, "", "", 0},
    {B, 0, "r", 'p', B, 0, "w", "", 0},      {B, 0, "rp", 'p', B, 0, "w", "", 0},
    {B, 0, "vrn", 'p', B, 0, "vn", "P", 0},  {B, 0, "v", 'p', B, 0, "v", "", 0},
    {C, 0, "", 'p', I, 0, "", "", 0},        {C, 0, "r", 'p', B, 0, "w", "", 0},
    {I, 0, "", 'p', I, 0, "", "", 0},        {M, 0, "x", kLeft, M, 0, "xy", "", 0},
    {M, 0, "xy", kRight, M, 0, "x", "", 0},  {M, 0, "", kLeft, M, 0, "", "", 0},
    {M, 0, "", kUp, M, 0, "", "", 0},        {M, 1, "", kUp, M, 0, "", "", 0},
    {M, 2, "", kDown, M, 3, "", "", 0},      {M, 3, "", kDown, M, 3, "", "", 0},
    {M, 1, "x", kDown, M, 2, "x", "", 0},    {PM, 1, "", kDown, PM, 2, "", "", 0},
    {NM, 2, "", kDown, NM, 2, "", "", 0},    {NM, 2, "", kUp, NM, 1, "", "", 0},
    {M, 1, "q", kUp, M, 1, "q", "", 0},      {I, 1, "", kUp, I, 1, "", "", 0},
    {NM, 0, "r", 'p', B, 0, "w", "", 0},
};
// clang-format on

TEST(Keyboard, EveryKeyOnEveryScreen) {
    for (const auto& [code, choice, flags, key, to_code, to_choice, to_flags, sent, ends] : kRows) {
        SCOPED_TRACE(::testing::Message() << key << " on " << code << " in \"" << flags << '"');
        enter_state(code, choice, flags);
        std::strcpy(net_link.peer_address, "10.0.0.5");
        std::srand(2);
        key < 0 ? special_key_handler(-key, 0, 0) : key_handler(key, 0, 0);
        EXPECT_EQ(screen.screen_code, to_code);
        EXPECT_EQ(screen.menu_choice, to_choice);
        EXPECT_EQ(state_flags(), to_flags);
        EXPECT_EQ(messages_sent(), sent);
        EXPECT_EQ(platform.exits, std::vector<int>(ends, 0));
        EXPECT_STREQ(net_link.peer_address, "10.0.0.5");
    }
    enter_state(B, 0, "w");
    std::srand(1);  // its first draw gives the computer the first move
    key_handler('r', 0, 0);
    EXPECT_EQ(state_flags(), "2");
    EXPECT_EQ(match.computer_delay, 4) << "the computer opens the game";
}

TEST(Keyboard, TheAddressTakesDigitsAndDotsUpToFifteen) {
    enter_state(B, 0, "vj");
    for (const char key : std::string("1x9.2:168.100.2007\b")) {
        key_handler(key, 0, 0);
    }
    EXPECT_STREQ(net_link.peer_address, "19.2168.100.20");
    for (int i = 0; i < 20; ++i) {
        key_handler(8, 0, 0);
    }
    EXPECT_STREQ(net_link.peer_address, "");
}

}  // namespace
