#include <gtest/gtest.h>

#include <cstdlib>

#include "render/floating_seeds.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

constexpr double M = kMainMenu, PM = kPlayerMenu, NM = kNetworkMenu, I = kInstructionsPage,
                 B = kBoardScreen;

// A left press at (x, y) on a screen in a state (the letters of
// tests/states.h). The bands take x 361 to 669 and y 156 to 194, 55
// more a band down; Yes x 391 to 489 and No 511 to 609, y 181 to 239: the
// drawn borders do not count.
struct ClickRow {
    double screen;
    int choice;
    const char* flags;
    int x, y;
    double screen_after;
    int choice_after;
    const char* flags_after;
    bool ends;
};

// clang-format off
const ClickRow kClickRows[] = {
    // The main menu's bands, their corners and borders, between and beyond them.
    {M, 2, "", 361, 156, PM, 2, "", 0},   {M, 2, "", 669, 194, PM, 2, "", 0},
    {M, 2, "", 360, 156, M, 2, "", 0},    {M, 2, "", 670, 194, M, 2, "", 0},
    {M, 2, "", 500, 155, M, 2, "", 0},    {M, 2, "", 500, 195, M, 2, "", 0},
    {M, 2, "", 500, 200, M, 2, "", 0},    {M, 2, "", 500, 380, M, 2, "", 0},
    {M, 0, "", 500, 230, B, 1, "w", 0},   {M, 0, "", 500, 285, I, 2, "", 0},
    {M, 0, "", 500, 340, M, 3, "x", 0},   {M, 0, "q", 361, 156, M, 0, "q", 0},
    // The exit box: the menu is behind it but for band 3; Yes and No.
    {M, 0, "x", 500, 340, M, 3, "x", 0},    {M, 3, "x", 500, 175, M, 3, "x", 0},
    {M, 3, "x", 500, 230, M, 3, "x", 0},    {M, 3, "x", 380, 175, M, 3, "x", 0},
    {M, 3, "x", 450, 190, M, 3, "x", 1},    {M, 3, "x", 450, 200, M, 3, "x", 1},
    {M, 3, "x", 391, 239, M, 3, "x", 1},    {M, 3, "xy", 390, 190, M, 3, "xy", 0},
    {M, 3, "x", 490, 190, M, 3, "x", 0},    {M, 3, "x", 450, 180, M, 3, "x", 0},
    {M, 3, "x", 450, 240, M, 3, "x", 0},    {M, 3, "xy", 560, 230, M, 3, "", 0},
    {M, 3, "x", 511, 181, M, 3, "", 0},     {M, 3, "x", 610, 230, M, 3, "x", 0},
    {M, 3, "x", 510, 230, M, 3, "x", 0},    {M, 3, "x", 560, 180, M, 3, "x", 0},
    {M, 3, "x", 560, 240, M, 3, "x", 0},
    // The other menus keep the highlight where the pointer put it.
    {PM, 1, "", 500, 175, B, 1, "v", 0},   {PM, 2, "", 500, 230, NM, 2, "", 0},
    {PM, 0, "", 500, 285, M, 0, "", 0},    {PM, 0, "", 500, 340, PM, 0, "", 0},
    {NM, 0, "", 500, 175, B, 0, "vh", 0},  {NM, 0, "", 500, 230, B, 0, "vj", 0},
    {NM, 0, "", 500, 285, PM, 0, "", 0},   {NM, 0, "", 500, 340, NM, 0, "", 0},
    {NM, 0, "", 669, 195, NM, 0, "", 0},   {I, 0, "", 500, 175, I, 0, "", 0},
};
// clang-format on

TEST(Mouse, EveryClickOnTheMenus) {
    for (const ClickRow& row : kClickRows) {
        SCOPED_TRACE(&row - kClickRows);
        enter_state(row.screen, row.choice, row.flags);
        mouse_handler(2, 0, row.x, row.y);  // the right button
        mouse_handler(0, 1, row.x, row.y);  // a release
        EXPECT_EQ(screen.screen_code, row.screen);
        mouse_handler(0, 0, row.x, row.y);
        EXPECT_EQ(screen.screen_code, row.screen_after);
        EXPECT_EQ(screen.menu_choice, row.choice_after);
        EXPECT_EQ(state_flags(), row.flags_after);
        EXPECT_EQ(platform.exits, std::vector<int>(row.ends, 0));
    }
}

TEST(Mouse, ThePointerMovesTheHighlight) {
    struct Row {
        double screen;
        const char* flags;
        int x, y, choice_after;
        const char* flags_after;
    };
    // clang-format off
    const Row rows[] = {
        {M, "", 361, 156, 0, ""},      {M, "", 360, 175, 2, ""},      {M, "", 400, 200, 2, ""},
        {M, "", 669, 249, 1, ""},      {M, "", 500, 340, 3, ""},      {M, "", 500, 380, 2, ""},
        {PM, "", 500, 340, 2, ""},     {NM, "", 500, 230, 1, ""},     {NM, "", 500, 175, 0, ""},
        {M, "q", 361, 156, 0, "q"},    {M, "x", 450, 200, 2, "x"},    {M, "x", 450, 190, 2, "xy"},
        {M, "xy", 550, 230, 2, "x"},   {M, "xy", 380, 175, 2, "xy"},  {M, "xy", 550, 200, 2, "xy"},
        {B, "", 500, 175, 2, ""},      {I, "", 500, 175, 2, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        enter_state(row.screen, 2, row.flags);
        motion_handler(row.x, row.y);
        EXPECT_EQ(screen.menu_choice, row.choice_after);
        EXPECT_EQ(state_flags(), row.flags_after);
    }
}

// Who may pick which pit, and what is sent; the borders of pit (1, 0), x
// 165 and 235, y 220 and 310, do not count. A relay is taken only from the
// pit after the last one sown, here round the corner from (0, 0) to (1, 0).
TEST(Mouse, WhoMayPickWhichPit) {
    struct Row {
        const char* flags;
        int x, y;
        const char* sent;  // null: no pick
    };
    // clang-format off
    const Row rows[] = {
        {"", 200, 265, ""},          {"", 166, 221, ""},          {"", 234, 309, ""},
        {"", 165, 265, nullptr},     {"", 235, 265, nullptr},     {"", 200, 220, nullptr},
        {"", 200, 310, nullptr},     {"", 200, 135, nullptr},     {"w", 200, 265, nullptr},
        {"p", 200, 265, nullptr},    {"r", 200, 265, nullptr},    {"2", 200, 135, nullptr},
        {"2", 200, 265, nullptr},    {"v2", 200, 135, ""},        {"v2", 200, 265, nullptr},
        {"vn", 600, 265, "41"},      {"vn", 600, 135, nullptr},   {"vn2", 600, 135, nullptr},
        {"vc2", 400, 135, "20"},     {"vc2", 900, 135, nullptr},  {"vc", 400, 265, nullptr},
        {"vh", 200, 265, nullptr},   {"vj2", 200, 135, nullptr},  {"vna", 200, 265, nullptr},
        {"vno", 200, 265, nullptr},  {"v2t", 200, 265, ""},       {"v2t", 200, 135, nullptr},
        {"v2t", 300, 265, nullptr},  {"vn2t", 200, 265, nullptr}, {"t", 200, 265, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        enter_state(B, 0, row.flags);
        mouse_handler(0, 0, row.x, row.y);
        EXPECT_EQ(match.sowing_active, row.sent != nullptr);
        EXPECT_EQ(messages_sent(), row.sent ? row.sent : "");
    }
    enter_state(B, 0, "");
    pit_at(1, 3).count = 0;
    mouse_handler(0, 0, 500, 265);
    EXPECT_TRUE(match.new_turn) << "an empty pit";
}

TEST(FloatingSeeds, DriftWrapAndFleeThePointer) {
    struct Row {
        FloatingSeed before;
        int x_after, y_after;
    };
    const Row rows[] = {
        {{800, 5, 1, 0}, 180, 5},      {{180, 5, -1, 0}, 800, 5},     {{799, 5, 1, 0}, 800, 5},
        {{500, 390, 0, 1}, 500, -10},  {{500, -10, 0, -1}, 500, 390}, {{500, 389, 0, 1}, 500, 390},
        {{181, -9, -1, -1}, 180, -10},
    };
    for (const Row& row : rows) {
        floating_seeds[0] = row.before;
        move_floating_seeds(0);
        EXPECT_EQ(floating_seeds[0].x * 1000 + floating_seeds[0].y,
                  row.x_after * 1000 + row.y_after);
    }
    // A seed flees only a pointer strictly inside its sprite, and only on the
    // menus and help pages; a new place takes four draws.
    for (const double screen_code : {M, PM, NM, I, kControlsPage, B}) {
        enter_state(screen_code, 0, "");
        floating_seeds[0] = {300, 100, 1, 1};
        motion_handler(309, 100);
        motion_handler(300, 90);
        EXPECT_EQ(floating_seeds[0].x, 300);
        std::srand(5);
        const int x = std::rand() % 600 + 200;
        std::srand(5);
        motion_handler(308, 109);
        EXPECT_EQ(floating_seeds[0].x, screen_code == B ? 300 : x);
    }
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::srand(seed);
        respawn_floating_seed(floating_seeds[1]);
        EXPECT_FALSE(floating_seeds[1].dx == 0 && floating_seeds[1].dy == 0);
    }
    blink_phase = 0;
    for (int tick = 0; tick < 3; ++tick) {
        toggle_blink(0);
    }
    EXPECT_EQ(blink_phase, 1);
    EXPECT_EQ(platform.timers.back().milliseconds, 500u);
}

}  // namespace
