#include <gtest/gtest.h>

#include <cstdlib>

#include "render/floating_seeds.h"
#include "screens/input.h"
#include "tests/screen_state.h"

namespace {

constexpr double M = kMainMenu, PM = kPlayerMenu, NM = kNetworkMenu, I = kInstructionsPage,
                 B = kBoardScreen;

// A left press at (x, y). The bands take x 361 to 669 and y 156 to 194 plus
// 55 a band; Yes x 391 to 489 and No 511 to 609, y 181 to 239.
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
    {M, 2, "", 361, 156, PM, 2, "", false},     // band 0, its corners inside
    {M, 2, "", 669, 194, PM, 2, "", false},
    {M, 2, "", 360, 156, M, 2, "", false},      // its drawn border outside
    {M, 2, "", 670, 194, M, 2, "", false},
    {M, 2, "", 500, 155, M, 2, "", false},
    {M, 2, "", 500, 195, M, 2, "", false},
    {M, 2, "", 500, 200, M, 2, "", false},      // between two bands
    {M, 0, "", 500, 230, B, 1, "w", false},     // versus the computer
    {M, 0, "", 500, 285, I, 2, "", false},
    {M, 0, "", 500, 340, M, 3, "x", false},     // the exit box, No highlighted
    {M, 0, "x", 500, 340, M, 3, "x", false},    // stays open
    {M, 3, "x", 500, 175, M, 3, "x", false},    // the menu is behind the box
    {M, 3, "x", 500, 230, M, 3, "x", false},
    {M, 3, "x", 380, 175, M, 3, "x", false},
    {M, 3, "x", 450, 190, M, 3, "x", true},     // Yes
    {M, 3, "x", 450, 200, M, 3, "x", true},     // Yes between the bands
    {M, 3, "xy", 390, 190, M, 3, "xy", false},  // Yes's borders
    {M, 3, "x", 490, 190, M, 3, "x", false},
    {M, 3, "x", 450, 180, M, 3, "x", false},
    {M, 3, "x", 450, 240, M, 3, "x", false},
    {M, 3, "x", 391, 239, M, 3, "x", true},
    {M, 3, "xy", 560, 230, M, 3, "", false},    // No closes the box
    {M, 3, "x", 610, 230, M, 3, "x", false},    // No's borders
    {M, 3, "x", 510, 230, M, 3, "x", false},
    {M, 3, "x", 560, 180, M, 3, "x", false},
    {M, 3, "x", 560, 240, M, 3, "x", false},
    {M, 3, "x", 511, 181, M, 3, "", false},
    {M, 0, "q", 361, 156, M, 0, "q", false},    // nothing under the question
    {PM, 1, "", 500, 175, B, 1, "v", false},
    {PM, 2, "", 500, 230, NM, 2, "", false},    // the highlight stays where the hover put it
    {PM, 0, "", 500, 285, M, 0, "", false},
    {PM, 0, "", 500, 340, PM, 0, "", false},
    {NM, 0, "", 500, 175, B, 0, "vh", false},
    {NM, 0, "", 500, 230, B, 0, "vj", false},
    {NM, 0, "", 500, 285, PM, 0, "", false},
    {NM, 0, "", 500, 340, NM, 0, "", false},
    {NM, 0, "", 669, 195, NM, 0, "", false},
    {M, 2, "", 500, 380, M, 2, "", false},      // there is no fifth band
    {I, 0, "", 500, 175, I, 0, "", false},      // the help pages take no clicks
};
// clang-format on

TEST(Mouse, EveryClickOnTheMenus) {
    for (const ClickRow& row : kClickRows) {
        enter_state(row.screen, row.choice, row.flags);
        mouse_handler(2, 0, row.x, row.y);  // the right button
        mouse_handler(0, 1, row.x, row.y);  // a release
        EXPECT_EQ(screen.screen_code, row.screen) << "row " << &row - kClickRows;
        mouse_handler(0, 0, row.x, row.y);
        EXPECT_EQ(screen.screen_code, row.screen_after) << "row " << &row - kClickRows;
        EXPECT_EQ(screen.menu_choice, row.choice_after) << "row " << &row - kClickRows;
        EXPECT_EQ(state_flags(), row.flags_after) << "row " << &row - kClickRows;
        EXPECT_EQ(platform.exits, row.ends ? std::vector<int>{0} : std::vector<int>{})
            << "row " << &row - kClickRows;
    }
}

TEST(Mouse, ThePointerMovesTheHighlight) {
    struct Row {
        double screen;
        const char* flags;
        int x, y, choice_after;
        const char* flags_after;
    };
    const Row rows[] = {
        {M, "", 361, 156, 0, ""},    {M, "", 360, 175, 2, ""},     {M, "", 400, 200, 2, ""},
        {M, "", 669, 249, 1, ""},    {M, "", 500, 340, 3, ""},     {M, "", 500, 380, 2, ""},
        {PM, "", 500, 340, 2, ""},   {NM, "", 500, 230, 1, ""},    {NM, "", 500, 175, 0, ""},
        {M, "q", 361, 156, 0, "q"},  {M, "x", 450, 200, 2, "x"},   {M, "x", 450, 190, 2, "xy"},
        {M, "xy", 550, 230, 2, "x"}, {M, "xy", 380, 175, 2, "xy"}, {M, "xy", 550, 200, 2, "xy"},
        {B, "", 500, 175, 2, ""},    {I, "", 500, 175, 2, ""},
    };
    for (const Row& row : rows) {
        enter_state(row.screen, 2, row.flags);
        motion_handler(row.x, row.y);
        EXPECT_EQ(screen.menu_choice, row.choice_after) << "row " << &row - rows;
        EXPECT_EQ(state_flags(), row.flags_after) << "row " << &row - rows;
    }
}

// A first pick at (x, y): who may pick which pit, where the pit's border
// pixels (x 165 and 235, y 220 and 310 for pit (1, 0)) do not count.
TEST(Mouse, WhoMayPickWhichPit) {
    struct Row {
        const char* flags;
        int x, y;
        bool picks;
        const char* sent;
    };
    const Row rows[] = {
        {"", 200, 265, true, ""},      {"", 166, 221, true, ""},     {"", 234, 309, true, ""},
        {"", 165, 265, false, ""},     {"", 235, 265, false, ""},    {"", 200, 220, false, ""},
        {"", 200, 310, false, ""},     {"", 200, 135, false, ""},    {"w", 200, 265, false, ""},
        {"p", 200, 265, false, ""},    {"r", 200, 265, false, ""},   {"2", 200, 135, false, ""},
        {"2", 200, 265, false, ""},    {"v2", 200, 135, true, ""},   {"v2", 200, 265, false, ""},
        {"vn", 600, 265, true, "41"},  {"vn", 600, 135, false, ""},  {"vn2", 600, 135, false, ""},
        {"vc2", 400, 135, true, "20"}, {"vc2", 900, 135, false, ""}, {"vc", 400, 265, false, ""},
        {"vh", 200, 265, false, ""},   {"vj2", 200, 135, false, ""}, {"vna", 200, 265, false, ""},
        {"vno", 200, 265, false, ""},
    };
    for (const Row& row : rows) {
        enter_state(B, 0, row.flags);
        mouse_handler(0, 0, row.x, row.y);
        EXPECT_EQ(match.sowing_active, row.picks) << "row " << &row - rows;
        EXPECT_EQ(messages_sent(), row.sent) << "row " << &row - rows;
    }
    enter_state(B, 0, "");
    pit_at(1, 3).count = 0;
    mouse_handler(0, 0, 500, 265);
    EXPECT_TRUE(match.new_turn) << "an empty pit";
}

// A relay is continued by a click on the pit after the last one sown, even
// round the corner onto the other row, and on no other.
TEST(Mouse, ARelayOnlyFromThePitAfterTheLastSeed) {
    struct Row {
        const char* flags;
        PitPosition last, clicked;
        bool relays;
    };
    const Row rows[] = {
        {"v", {1, 6}, {0, 6}, true},    {"v", {1, 6}, {1, 6}, false},
        {"v", {1, 6}, {0, 5}, false},   {"v2", {0, 0}, {1, 0}, true},
        {"v2", {0, 0}, {0, 0}, false},  {"v2", {0, 0}, {1, 1}, false},
        {"vn2", {0, 0}, {1, 0}, false},
    };
    for (const Row& row : rows) {
        enter_state(B, 0, row.flags);
        match.new_turn = false;
        match.source_row = row.last.row;
        match.source_column = row.last.column;
        mouse_handler(0, 0, 200 + 100 * row.clicked.column, 135 + 130 * row.clicked.row);
        EXPECT_EQ(match.sowing_active, row.relays) << "row " << &row - rows;
    }
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
        EXPECT_EQ(floating_seeds[0].x, row.x_after) << "row " << &row - rows;
        EXPECT_EQ(floating_seeds[0].y, row.y_after) << "row " << &row - rows;
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
    toggle_blink(0);
    toggle_blink(0);
    toggle_blink(0);
    EXPECT_EQ(blink_phase, 1);
    EXPECT_EQ(platform.timers.back().milliseconds, 500u);
}

}  // namespace
