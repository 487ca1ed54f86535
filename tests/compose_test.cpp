// The composed frames, read as text: which picture on which rectangle, dimmed
// or not, which text in which colour where.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/frame_schedule.h"
#include "net/messages.h"
#include "net/status_text.h"
#include "render/compose.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

using Lines = std::vector<std::string>;

// A picture is named by its file, numbered by its place in the file table.
std::string picture(TextureName name) {
    const std::string path = kTextureFiles[name - 1].path;
    return path.substr(7, path.size() - 11);  // without "Images/" and ".bmp"
}

std::string describe(const DrawOp& op) {
    static const char* const kColours[] = {"black", "blue", "green", "", "", "", "yellow", "white"};
    const Colour& c = op.colour;
    const std::string colour = kColours[int(c.red) * 4 + int(c.green) * 2 + int(c.blue)];
    char at[64];
    std::snprintf(at, sizeof at, "%g,%g %g,%g", op.x0, op.y0, op.x1, op.y1);
    if (op.kind == DrawKind::kTexturedQuad) {
        return picture(op.texture) + " " + at + (c.red < 1 ? " dimmed" : "");
    }
    if (op.kind == DrawKind::kMaskedSprite) {
        return picture(op.texture) + "/" + picture(op.image) + " " + at;
    }
    if (op.kind != DrawKind::kText) {
        return colour + (op.kind == DrawKind::kFilledRect ? " rect " : " outline ") + at;
    }
    std::snprintf(at, sizeof at, "%g,%g ", op.x0, op.y0);
    return colour + " " + at + op.text;
}

// The operations from `first` on, or only the game screen's coloured lines.
Lines frame(std::size_t first = 0, bool lines_only = false) {
    DrawList list;
    compose_frame(list);
    Lines described;
    for (std::size_t i = first; i < list.size(); ++i) {
        const Colour& c = list[i].colour;
        const bool coloured_text =
            list[i].kind == DrawKind::kText && (c.red != c.blue || c.red != c.green);
        if (!lines_only || coloured_text) {
            described.push_back(describe(list[i]));
        }
    }
    return described;
}

std::string seed_at(int x, int y) {
    char line[80];
    std::snprintf(line, sizeof line, "seed1_mask/seed1 %d,%d %d,%d", x - 9, y - 10, x + 9, y + 10);
    return line;
}

// The last layers of the menus and help pages: the floating seeds, then the
// black frame over whatever of them strays outside the picture.
Lines with_floating_seeds_and_frame(Lines lines) {
    for (const FloatingSeed& seed : floating_seeds) {
        lines.push_back(seed_at(seed.x, seed.y));
    }
    for (const char* rect : {"0,0 200,400", "800,0 1000,400", "200,0 800,10", "200,390 800,400"}) {
        lines.push_back(std::string("black rect ") + rect);
    }
    return lines;
}

void enter(double screen_code, int choice, const char* flags) {
    enter_state(screen_code, choice, flags);
    for (int i = 0; i < kTextureFileCount; ++i) {
        textures.*kTextureFiles[i].field = i + 1;
    }
    for (int i = 0; i < kFloatingSeedCount; ++i) {  // some astride the frame
        floating_seeds[i] = {190 + 100 * i, 65 * i, 1, 1};
    }
}

TEST(Composition, MenusWalkTheSlotTable) {
    const char* const kSlots[][2] = {{"360,155 670,195", "356,151 674,199"},
                                     {"360,210 670,250", "356,206 674,254"},
                                     {"360,265 670,305", "356,261 674,309"},
                                     {"360,320 670,360", "356,316 674,364"}};
    const std::pair<double, Lines> kMenus[] = {
        {0.0, {"vsplayer", "vscomputer", "instruction", "exit"}},
        {0.1, {"vsplayer1", "vsplayer2", "back"}},
        {0.2000001, {"host", "connect", "back"}}};
    for (const auto& [code, pictures] : kMenus) {
        for (int choice = 0; choice < 4; ++choice) {
            enter(code, choice, "");
            blink_phase = choice % 2;
            Lines expected = {"Menu 200,10 800,390 dimmed"};
            for (std::size_t slot = 0; slot < pictures.size(); ++slot) {
                const bool chosen = int(slot) == choice;
                expected.push_back(pictures[slot] + " " + kSlots[slot][chosen] +
                                   (chosen ? "" : " dimmed"));
            }
            expected.push_back(
                (blink_phase == 0 ? "Select_Mask1/Select_1 " : "Select_Mask2/Select_2 ") +
                std::string(kSlots[choice][0]));
            EXPECT_EQ(frame(), with_floating_seeds_and_frame(expected)) << code << choice;
        }
    }
}

TEST(Composition, MainMenuOverlaysPagesAndScreenCodes) {
    const std::size_t overlays = with_floating_seeds_and_frame(Lines(6)).size();
    enter(kMainMenu, 0, "x");
    EXPECT_EQ(frame(overlays), (Lines{"exit_question_box 350,100 650,300 dimmed",
                                      "yes 390,180 490,240 dimmed", "no 510,180 610,240"}));
    screen.exit_yes_selected = true;
    EXPECT_EQ(frame(overlays)[1] + frame(overlays)[2],
              "yes 390,180 490,240no 510,180 610,240 dimmed");
    screen.quit_question_open = true;  // wins over the exit box
    EXPECT_EQ(frame(overlays), Lines{"yellow 385,260 Do you really want to quit (y/n)?"});
    screen.screen_code = 1.0;
    EXPECT_EQ(frame(), with_floating_seeds_and_frame({"Instruction2 200,10 800,390"}));
    screen.screen_code = 1.1;
    EXPECT_EQ(frame(), with_floating_seeds_and_frame({"Controls 200,10 800,390"}));
    screen.screen_code = 1.9999999;  // not the board: the frame stays black
    EXPECT_TRUE(frame().empty());
}

TEST(Composition, BoardCountsOutlineSeedsAndPanels) {
    enter(kBoardScreen, 0, "");
    pit_at(0, 0).count = 3;  // a seed moved from (0, 0) to (1, 0)
    pit_at(1, 0) = Pit{5, {200, 201, 202, 203, 204}, {260, 261, 262, 263, 264}};
    match.player2_store = 14;  // a second column
    match.player1_store = 1;
    match.computer_wins = 12;
    match.new_turn = false;
    match.source_row = 1;
    match.source_column = 6;
    const Lines ops = frame();
    ASSERT_EQ(ops.size(), 1u + 16 + 1 + 56 + 15 + 1 + 8);  // and the turn line
    EXPECT_EQ(Lines(ops.begin(), ops.begin() + 4), (Lines{"board 25,50 975,350", "black 94,341 14",
                                                          "black 195,80 3", "black 195,335 5"}));
    EXPECT_EQ(Lines(ops.begin() + 15, ops.begin() + 19),
              (Lines{"black 795,335 4", "black 895,341 1", "white outline 760,215 840,315",
                     seed_at(pit_at(0, 0).seed_x[0], pit_at(0, 0).seed_y[0])}));
    EXPECT_EQ(Lines(ops.begin() + 73, ops.begin() + 77),
              (Lines{seed_at(pit_at(1, 6).seed_x[3], pit_at(1, 6).seed_y[3]), seed_at(79, 110),
                     seed_at(79, 125), seed_at(79, 140)}));
    EXPECT_EQ(Lines(ops.begin() + 86, ops.begin() + 89),
              (Lines{seed_at(79, 290), seed_at(94, 110), seed_at(879, 110)}));
    EXPECT_EQ(Lines(ops.end() - 8, ops.end()),
              (Lines{"white 865,370 Player1's", "white 875,390 Score",
                     "white 770,35 Player1's Wins:", "white 900,35 0", "white 55,370 Computer's",
                     "white 75,390 Score", "white 55,35 Computer's Wins:", "white 205,35 12"}));
    match.versus_human = true;
    EXPECT_EQ(frame(94), (Lines{"white 65,370 Player2's", "white 75,390 Score",
                                "white 55,35 Player2's Wins:", "white 185,35 0"}));
}

// The status, turn, pause and end-of-game lines of the game screen, in the
// letters of tests/states.h, with the result.
TEST(Composition, GameScreenLinesWalkTheirSituations) {
    const std::string p1 = "green 460,380 Player1's turn|",
                      again = "|blue 375,200 Press p to play again|blue 390,220 Press ";
    const std::string pause =
        "blue 380,195 Press esc again to quit to Main Menu|blue 425,215 any other key to continue";
    struct Row {
        const char* flags;
        int result;
        std::string lines;
    };
    // clang-format off
    const Row rows[] = {
        {"w", 0, "blue 290,210 Who Plays First (computer: c / player: p / randomly choose: r)?"},
        {"wp", 0, pause},
        {"2", 0, "green 460,35 Computer's turn"},
        {"", kPlayer2Won, p1 + "blue 405,180 Computer Wins!" + again + "ecs for menu"},
        {"v", kPlayer1Won, p1 + "blue 405,180 Player1 Wins!" + again + "esc for menu"},
        {"v", kPlayer2Won, p1 + "blue 405,180 Player2 Wins!" + again + "ecs for menu"},
        {"v2", kDraw, "green 460,35 Player2's turn|blue 425,180 It's a tie!" + again + "esc for menu"},
        {"vh", 0, "blue 400,200 Waiting for connection|blue 370,228 Your IP Adress is: |blue 525,228 192.0.2.7"},
        {"pvh", 0, pause},
        {"vj", 0, "blue 370,210 Enter IP Address: "},
        {"vc", 0, "blue 370,210 connecting please wait"},
        {"pvc", 0, p1 + pause},
        {"vna", 0, p1 + "blue 355,210 Waiting for opponent to hit p (play again)"},
        {"vco", 0, "blue 370,210 connecting please wait|blue 355,210 Opponent has paused the game"},
        {"vno", 0, p1 + "blue 355,210 Opponent has paused the game"},
    };
    // clang-format on
    for (const Row& row : rows) {
        enter(kBoardScreen, 0, row.flags);
        match.game_result = row.result;
        local_ipv4_address(net_link.local_address, sizeof net_link.local_address);
        std::string shown;
        for (const std::string& line : frame(0, true)) {
            shown += line + "|";
        }
        EXPECT_EQ(shown, row.lines + "|") << row.flags;
    }
    enter(kBoardScreen, 0, "vh");
    net_link.waiting_text[0] = '\0';
    EXPECT_TRUE(frame(0, true).empty()) << "no waiting text, no address line";
}

// Whether the picture changed since the last frame drawn; draws it if so.
bool frame_drawn() {
    const bool changed = picture_changed();
    compose_frame(shown_frame);
    return changed;
}

TEST(Composition, OnlyAChangedPictureAsksForAFrame) {
    enter(kPlayerMenu, 0, "");
    start_local_game();
    frame_drawn();
    for (int tick = 0; tick < 20; ++tick) {  // waiting for a move, nothing changes
        for (TimerCallback timer :
             {computer_timer, message_timer, caret_timer, connecting_dots_timer, waiting_dots_timer,
              sowing_timer, toggle_blink, move_floating_seeds}) {
            timer(0);
        }
        motion_handler(500, 265);
        EXPECT_FALSE(frame_drawn()) << tick;
    }
    mouse_handler(0, 0, 500, 265);
    EXPECT_TRUE(frame_drawn());             // the outline
    for (int step = 0; step < 6; ++step) {  // lifting a seed moves only the pointer
        sowing_timer(0);
        EXPECT_EQ(frame_drawn(), step % 2 == 1) << step;
    }
    key_handler(27, 0, 0);
    EXPECT_TRUE(frame_drawn());
    key_handler(27, 0, 0);  // to the menus, where the seeds drift and the overlay blinks
    EXPECT_TRUE(frame_drawn());
    for (TimerCallback timer : {move_floating_seeds, toggle_blink}) {
        timer(0);
        EXPECT_TRUE(frame_drawn());
    }
}

// A timer due while a wanted frame would be drawn goes first; but however
// slowly frames draw and however closely timers follow, the frame comes
// within one budget of the change.
TEST(FrameSchedule, TimersGoFirstOnlyWhileTheChangeIsYoung) {
    using namespace std::chrono_literals;
    using frame_schedule::timer_goes_first;
    const frame_schedule::Clock::time_point change{};
    EXPECT_TRUE(timer_goes_first(change, change, change + 4ms, 5ms));
    EXPECT_FALSE(timer_goes_first(change, change, change + 6ms, 5ms));
    auto now = change;
    for (int timers = 0; timers < 100 && timer_goes_first(now, change, now + 3ms, 40ms); ++timers) {
        now += 3ms;  // the timer ran
    }
    EXPECT_LE(now - change, frame_schedule::kFrameBudget);
}

}  // namespace
