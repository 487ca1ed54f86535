#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "screens/floating_seeds.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

constexpr double M = kMainMenu, PM = kPlayerMenu, NM = kNetworkMenu, I = kInstructionsPage,
                 C = kControlsPage, B = kBoardScreen, END = -1;

// Left presses on a screen in a state, written as the highlight and the letters of
// tests/states.h, then the screen and the state (END: the program exits with status 0). The
// bands take x 361 to 669 and y 156 to 194, 55 more a band down; Yes x 391 to 489 and No 511
// to 609, y 181 to 239: the drawn borders do not count.
// clang-format off
const std::tuple<double, const char*, int, int, double, const char*> kClicks[] = {
    // The main menu's bands, their corners and borders, between and beyond them.
    {M, "2", 361, 156, PM, "2"},    {M, "2", 669, 194, PM, "2"},    {M, "2", 360, 156, M, "2"},
    {M, "2", 670, 194, M, "2"},     {M, "2", 500, 155, M, "2"},     {M, "2", 500, 195, M, "2"},
    {M, "2", 500, 200, M, "2"},     {M, "2", 500, 380, M, "2"},     {M, "0", 500, 230, B, "1w"},
    {M, "0", 500, 285, I, "2"},     {M, "0", 500, 340, M, "3x"},    {M, "0q", 361, 156, M, "0q"},
    // The exit box: the menu is behind it but for band 3; Yes and No.
    {M, "0x", 500, 340, M, "3x"},   {M, "3x", 500, 175, M, "3x"},   {M, "3x", 500, 230, M, "3x"},
    {M, "3x", 380, 175, M, "3x"},   {M, "3x", 450, 190, END, "3x"}, {M, "3x", 450, 200, END, "3x"},
    {M, "3x", 391, 239, END, "3x"}, {M, "3xy", 390, 190, M, "3xy"}, {M, "3x", 490, 190, M, "3x"},
    {M, "3x", 450, 180, M, "3x"},   {M, "3x", 450, 240, M, "3x"},   {M, "3xy", 560, 230, M, "3"},
    {M, "3x", 511, 181, M, "3"},    {M, "3x", 610, 230, M, "3x"},   {M, "3x", 510, 230, M, "3x"},
    {M, "3x", 560, 180, M, "3x"},   {M, "3x", 560, 240, M, "3x"},
    // The other menus keep the highlight where the pointer put it.
    {PM, "1", 500, 175, B, "1v"},   {PM, "2", 500, 230, NM, "2"},   {PM, "0", 500, 285, M, "0"},
    {PM, "0", 500, 340, PM, "0"},   {NM, "0", 500, 175, B, "0vh"},  {NM, "0", 500, 230, B, "0vj"},
    {NM, "0", 500, 285, PM, "0"},   {NM, "0", 500, 340, NM, "0"},   {NM, "0", 669, 195, NM, "0"},
    {I, "0", 500, 175, I, "0"},
};
// clang-format on

TEST(Mouse, EveryClickOnTheMenus) {
    for (const auto& [from, before, x, y, to, after] : kClicks) {
        enter_state(from, before[0] - '0', before + 1);
        mouse_handler(2, 0, x, y);  // the right button
        mouse_handler(0, 1, x, y);  // a release
        mouse_handler(0, 0, x, y);
        SCOPED_TRACE(testing::Message() << from << before << " " << x << "," << y);
        EXPECT_EQ(screen.screen_code, to == END ? from : to);
        EXPECT_EQ(std::to_string(screen.menu_choice) + state_flags(), after);
        EXPECT_EQ(platform.exits, std::vector<int>(to == END, 0));
    }
}

// The state, written as above, after the pointer moves. A floating seed just under it flees,
// only on the menus and help pages, to a new place of four draws; those it borders stay.
TEST(Mouse, ThePointerMovesTheHighlightAndTheSeeds) {
    // clang-format off
    const std::tuple<double, const char*, int, int, const char*> rows[] = {
        {M, "2", 361, 156, "0"},       {M, "2", 360, 175, "2"},       {M, "2", 400, 200, "2"},
        {M, "2", 669, 249, "1"},       {M, "2", 500, 340, "3"},       {M, "2", 500, 380, "2"},
        {PM, "2", 500, 340, "2"},      {NM, "2", 500, 230, "1"},      {NM, "2", 500, 175, "0"},
        {M, "2q", 361, 156, "0q"},     {M, "2x", 450, 200, "2x"},     {M, "2x", 450, 190, "2xy"},
        {M, "2xy", 550, 230, "2x"},    {M, "2xy", 380, 175, "2xy"},   {M, "2xy", 550, 200, "2xy"},
        {B, "2", 500, 175, "2"},       {I, "2", 500, 175, "2"},       {C, "2", 300, 100, "2"},
    };
    // clang-format on
    for (const auto& [code, before, x, y, after] : rows) {
        enter_state(code, before[0] - '0', before + 1);
        floating_seeds[0] = {x + 8, y - 9, 1, 1};
        floating_seeds[1] = {x - 9, y, 1, 1};
        floating_seeds[2] = {x, y + 10, 1, 1};
        std::srand(5);
        motion_handler(x, y);
        EXPECT_EQ(std::to_string(screen.menu_choice) + state_flags(), after)
            << code << before << " " << x << "," << y;
        EXPECT_EQ(floating_seeds[1].x + floating_seeds[2].y, x - 9 + y + 10);
        std::srand(5);
        EXPECT_EQ(floating_seeds[0].x, code == B ? x + 8 : std::rand() % 600 + 200) << code;
    }
}

// Who may pick which pit, and the messages sent ("-": no pick), with pit (1, 3) empty; the
// borders of pit (1, 0), x 165 and 235, y 220 and 310, do not count. A relay is taken only
// from the pit after the last one sown, here round the corner from (0, 0) to (1, 0).
TEST(Mouse, WhoMayPickWhichPit) {
    // clang-format off
    const std::tuple<const char*, int, int, const char*> rows[] = {
        {"", 200, 265, ""},         {"", 166, 221, ""},          {"", 234, 309, ""},
        {"", 165, 265, "-"},        {"", 235, 265, "-"},         {"", 200, 220, "-"},
        {"", 200, 310, "-"},        {"", 200, 135, "-"},         {"vn", 500, 265, "-"},
        {"w", 200, 265, "-"},       {"p", 200, 265, "-"},        {"r", 200, 265, "-"},
        {"2", 200, 135, "-"},       {"2", 200, 265, "-"},        {"v2", 200, 135, ""},
        {"v2", 200, 265, "-"},      {"vn", 600, 265, "41"},      {"vn", 600, 135, "-"},
        {"vn2", 600, 135, "-"},     {"vc2", 400, 135, "20"},     {"vc2", 900, 135, "-"},
        {"vc", 400, 265, "-"},      {"vh", 200, 265, "-"},       {"vj2", 200, 135, "-"},
        {"vna", 200, 265, "-"},     {"vno", 200, 265, "-"},      {"v2t", 200, 265, ""},
        {"v2t", 200, 135, "-"},     {"v2t", 300, 265, "-"},      {"vn2t", 200, 265, "-"},
        {"t", 200, 265, ""},
    };
    // clang-format on
    for (const auto& [flags, x, y, sent] : rows) {
        enter_state(B, 0, flags);
        pit_at(1, 3).count = 0;
        mouse_handler(0, 0, x, y);
        EXPECT_EQ((match.sowing_active ? "" : "-") + messages_sent(), sent)
            << flags << " " << x << "," << y;
    }
}

// Drift every 100 ms, wrapping just outside the picture; blink every 500 ms; respawn inside
// the picture, a step of -2 to 1 each way, never idle.
TEST(FloatingSeeds, DriftWrapBlinkAndRespawn) {
    enter_state(M, 0, "");
    const std::tuple<FloatingSeed, int, int> rows[] = {
        {{800, 5, 1, 0}, 180, 5},      {{180, 5, -1, 0}, 800, 5},     {{799, 5, 1, 0}, 800, 5},
        {{500, 390, 0, 1}, 500, -10},  {{500, -10, 0, -1}, 500, 390}, {{500, 389, 0, 1}, 500, 390},
        {{181, -9, -1, -1}, 180, -10},
    };
    for (const auto& [before, x, y] : rows) {
        floating_seeds[0] = before;
        move_floating_seeds(0);
        EXPECT_EQ(floating_seeds[0].x * 1000 + floating_seeds[0].y, x * 1000 + y);
    }
    EXPECT_EQ(platform.timers.back().milliseconds, 100u);
    for (int tick = 0; tick < 3; ++tick) {
        toggle_blink(0);
    }
    EXPECT_EQ(std::pair(blink_phase, platform.timers.back().milliseconds), std::pair(1, 500u));
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::srand(seed);
        respawn_floating_seed(floating_seeds[1]);
        const auto [x, y, dx, dy] = floating_seeds[1];
        EXPECT_TRUE(x >= 200 && x < 800 && y >= 10 && y < 390) << x << "," << y;
        EXPECT_TRUE(dx >= -2 && dx < 2 && dy >= -2 && dy < 2 && (dx != 0 || dy != 0));
    }
}

}  // namespace
