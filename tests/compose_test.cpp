// The composed frames read as text: pictures on rectangles, dimmed or not; texts in colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "app/frame_schedule.h"
#include "net/messages.h"
#include "net/port_mapping.h"
#include "net/status_text.h"
#include "render/compose.h"
#include "render/damage.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

using Lines = std::vector<std::string>;

std::string rect(double x0, double y0, double x1, double y1) {
    char text[64];
    std::snprintf(text, sizeof text, "%g,%g %g,%g", x0, y0, x1, y1);
    return text;
}

// Draws the frame, as the window does, and reads its operations from `first` on, or only the game
// screen's coloured texts; pictures by their files, numbered by their places in the file table.
Lines frame(std::size_t first = 0, bool coloured_texts = false) {
    static const char* const kColours[] = {"black", "blue", "green", "", "", "", "yellow", "white"};
    const auto picture = [](TextureName name) {
        const std::string path = kTextureFiles[name - 1].path;
        return path.substr(7, path.size() - 11);  // without "Images/" and ".bmp"
    };
    for (int i = 0; i < kTextureFileCount; ++i) {
        textures.*kTextureFiles[i].field = i + 1;
    }
    compose_frame(shown_frame);
    Lines lines;
    for (std::size_t i = first; i < shown_frame.size(); ++i) {
        const DrawOp& op = shown_frame[i];
        const Colour& c = op.colour;
        const std::string colour = kColours[int(c.red) * 4 + int(c.green) * 2 + int(c.blue)];
        const std::string at = rect(op.x0, op.y0, op.x1, op.y1);
        const bool text = op.kind == DrawKind::kText;
        if (coloured_texts && (!text || colour == "black" || colour == "white")) {
            continue;
        }
        lines.push_back(
            op.kind == DrawKind::kTexturedQuad
                ? picture(op.texture) + " " + at + (c.red < 1 ? " dimmed" : "")
            : op.kind == DrawKind::kMaskedSprite
                ? picture(op.texture) + "/" + picture(op.image) + " " + at
            : text ? colour + " " + at.substr(0, at.find(' ') + 1) + op.text
                   : colour + (op.kind == DrawKind::kFilledRect ? " rect " : " outline ") + at);
    }
    return lines;
}

std::string seed_at(int x, int y) {
    return "seed1_mask/seed1 " + rect(x - 9, y - 10, x + 9, y + 10);
}

// The last layers of menus and help pages: the floating seeds, then the black frame over strays.
Lines framed(Lines lines) {
    for (const FloatingSeed& seed : floating_seeds) {
        lines.push_back(seed_at(seed.x, seed.y));
    }
    lines.insert(lines.end(), {"black rect 0,0 200,400", "black rect 800,0 1000,400",
                               "black rect 200,0 800,10", "black rect 200,390 800,400"});
    return lines;
}

// A button in each slot, dimmed, or bright and bigger when chosen, the blinking highlight over
// the chosen one; help pages have no buttons. The exit box, or the quit question over it,
// follows the menu's 17 operations.
TEST(Composition, MenusPagesAndOverlays) {
    const std::string kSlots[][2] = {{"360,155 670,195", "356,151 674,199"},  // as is, chosen
                                     {"360,210 670,250", "356,206 674,254"},
                                     {"360,265 670,305", "356,261 674,309"},
                                     {"360,320 670,360", "356,316 674,364"}};
    const std::tuple<double, std::string, Lines> kScreens[] = {
        {0.0, "Menu 200,10 800,390 dimmed", {"vsplayer", "vscomputer", "instruction", "exit"}},
        {0.1, "Menu 200,10 800,390 dimmed", {"vsplayer1", "vsplayer2", "back"}},
        {0.2000001, "Menu 200,10 800,390 dimmed", {"host", "connect", "back"}},
        {1.0, "Instruction2 200,10 800,390", {}},
        {1.1, "Controls 200,10 800,390", {}}};
    for (const auto& [code, background, pictures] : kScreens) {
        for (int choice = 0; choice < 4; ++choice) {
            enter_state(code, choice, "");
            blink_phase = choice % 2;
            Lines ops = {background};
            for (int slot = 0; slot < int(pictures.size()); ++slot) {
                ops.push_back(pictures[slot] + " " +
                              (slot == choice ? kSlots[slot][1] : kSlots[slot][0] + " dimmed"));
            }
            ops.push_back((blink_phase ? "Select_Mask2/Select_2 " : "Select_Mask1/Select_1 ") +
                          kSlots[choice][0]);
            EXPECT_EQ(frame(), framed(pictures.empty() ? Lines{background} : ops)) << choice;
        }
    }
    const std::string box = "exit_question_box 350,100 650,300 dimmed";
    const std::tuple<double, const char*, std::size_t, Lines> kOverlays[] = {
        {0.0, "x", 17, {box, "yes 390,180 490,240 dimmed", "no 510,180 610,240"}},
        {0.0, "xy", 17, {box, "yes 390,180 490,240", "no 510,180 610,240 dimmed"}},
        {0.0, "qx", 17, {"yellow 385,260 Do you really want to quit (y/n)?"}},
        {1.9999999, "", 0, {}}};  // not the board: the frame stays black
    for (const auto& [code, flags, first, lines] : kOverlays) {
        enter_state(code, 0, flags);
        EXPECT_EQ(frame(first), lines) << code << flags;
    }
}

// The board, its counts, the outline, the seeds and the panels; then the coloured lines.
TEST(Composition, GameScreen) {
    // clang-format off
    const std::string p1 = "green 460,380 Player1's turn", press = "blue 390,220 Press ",
        again = "blue 375,200 Press p to play again", wait = "blue 370,210 connecting please wait",
        pause = "blue 380,195 Press esc again to quit to Main Menu",
        key = "blue 425,215 any other key to continue",
        paused = "blue 355,210 Opponent has paused the game";
    // The status, turn, pause and end-of-game lines, in the letters of tests/states.h.
    const std::tuple<const char*, int, Lines> rows[] = {
        {"w", 0, {"blue 290,210 Who Plays First (computer: c / player: p / randomly choose: r)?"}},
        {"wp", 0, {pause, key}},  {"pvh", 0, {pause, key}},  {"pvc", 0, {p1, pause, key}},
        {"2", 0, {"green 460,35 Computer's turn"}},  {"vj", 0, {"blue 370,210 Enter IP Address: "}},
        {"", kPlayer2Won, {p1, "blue 405,180 Computer Wins!", again, press + "ecs for menu"}},
        {"v", kPlayer1Won, {p1, "blue 405,180 Player1 Wins!", again, press + "esc for menu"}},
        {"v", kPlayer2Won, {p1, "blue 405,180 Player2 Wins!", again, press + "ecs for menu"}},
        {"v2", kDraw, {"green 460,35 Player2's turn", "blue 425,180 It's a tie!", again,
                       press + "esc for menu"}},
        {"vh", 0, {"blue 400,200 Waiting for connection", "blue 370,228 Your IP Adress is: ",
                   "blue 525,228 192.0.2.7"}},
        {"vc", 0, {wait}},  {"vco", 0, {wait, paused}},  {"vno", 0, {p1, paused}},
        {"vna", 0, {p1, "blue 355,210 Waiting for opponent to hit p (play again)"}},
    };
    // clang-format on
    enter_state(kBoardScreen, 0, "t");
    set_board({3, 4, 4, 4, 4, 4, 4}, {5, 1, 1, 1, 1, 1, 4}, 1);  // 14 stored: a second column
    match.computer_wins = 12;
    std::tie(match.source_row, match.source_column) = std::pair(1, 6);
    const Lines ops = frame();
    ASSERT_EQ(ops.size(), 1u + 16 + 1 + 41 + 15 + 1 + 8);  // and the turn line
    EXPECT_EQ(Lines(ops.begin(), ops.begin() + 4), (Lines{"board 25,50 975,350", "black 94,341 14",
                                                          "black 195,80 3", "black 195,335 5"}));
    EXPECT_EQ(Lines(ops.begin() + 15, ops.begin() + 19),
              (Lines{"black 795,335 4", "black 895,341 1", "white outline 760,215 840,315",
                     seed_at(pit_at(0, 0).seed_x[0], pit_at(0, 0).seed_y[0])}));
    EXPECT_EQ(frame(71),
              (Lines{seed_at(79, 290), seed_at(94, 110), seed_at(879, 110), p1,
                     "white 865,370 Player1's", "white 875,390 Score",
                     "white 770,35 Player1's Wins:", "white 900,35 0", "white 55,370 Computer's",
                     "white 75,390 Score", "white 55,35 Computer's Wins:", "white 205,35 12"}));
    match.versus_human = true;
    EXPECT_EQ(frame(79), (Lines{"white 65,370 Player2's", "white 75,390 Score",
                                "white 55,35 Player2's Wins:", "white 185,35 0"}));
    for (const auto& [flags, result, lines] : rows) {
        enter_state(kBoardScreen, 0, flags);
        match.game_result = result;
        local_ipv4_address(net_link.local_address, sizeof net_link.local_address);
        EXPECT_EQ(frame(0, true), lines) << flags;
    }
    // The router's line goes under the address, and only there.
    set_forwarding(Forwarding::kOpened, "203.0.113.1");
    enter_state(kBoardScreen, 0, "vh");
    EXPECT_EQ(frame(0, true).back(), "blue 370,256 From the internet: 203.0.113.1");
    enter_state(kBoardScreen, 0, "vc");
    EXPECT_EQ(frame(0, true), Lines{wait});
    enter_state(kBoardScreen, 0, "vh");
    net_link.waiting_text[0] = '\0';
    EXPECT_EQ(frame(0, true), Lines{}) << "no waiting text, no address line";
    set_forwarding(Forwarding::kNothingToSay, "");
}

// Each step, y when the picture changed since the last frame, which is then drawn, or n.
TEST(Composition, OnlyAChangedPictureAsksForAFrame) {
    const TimerCallback point = [](int) { motion_handler(500, 265); };
    const TimerCallback click = [](int) { mouse_handler(0, 0, 500, 265); };
    const TimerCallback escape = [](int) { key_handler(27, 0, 0); };
    std::vector<TimerCallback> steps;
    for (int tick = 0; tick < 20; ++tick) {
        steps.insert(steps.end(),
                     {computer_timer, message_timer, caret_timer, connecting_dots_timer,
                      waiting_dots_timer, sowing_timer, toggle_blink, move_floating_seeds, point});
    }
    steps.insert(steps.end(),
                 {click, sowing_timer, sowing_timer, sowing_timer, sowing_timer, sowing_timer,
                  sowing_timer, escape, escape, move_floating_seeds, toggle_blink});
    enter_state(kPlayerMenu, 0, "");
    start_local_game();
    frame();
    std::string drawn;
    for (TimerCallback step : steps) {
        step(0);
        drawn += picture_changed() ? "y" : "n";
        frame();
    }
    // Waiting for a move nothing changes; then the outline; lifting a seed moves only the
    // pointer; pausing; the menus, where the seeds drift and the overlay blinks.
    EXPECT_EQ(drawn, std::string(180, 'n') + "y" + "nynyny" + "yy" + "yy");
}

// A frame costs what changed in it: every operation that differs from the frame on screen lies
// in the damage, and a tick of the menu's seeds, its blink or a seed sown damages little.
TEST(Composition, DamageCoversWhatChangedAndLittleElse) {
    const TimerCallback click = [](int) { mouse_handler(0, 0, 500, 265); };
    const std::tuple<TimerCallback, double> kSteps[] = {{move_floating_seeds, kMainMenu},
                                                        {toggle_blink, kMainMenu},
                                                        {click, kBoardScreen},
                                                        {sowing_timer, kBoardScreen}};
    enter_state(kPlayerMenu, 0, "");
    start_local_game();
    for (const auto& [step, screen_code] : kSteps) {
        screen.screen_code = screen_code;
        const Lines before = frame();
        const DrawList shown = shown_frame;
        step(0);
        frame();
        const Damage damage = frame_damage(shown, shown_frame);
        int area = 0;
        for (const WindowRect& part : damage) {
            area += (part.right - part.left) * (part.bottom - part.top);
        }
        EXPECT_LT(area, kDrawingWidth * kDrawingHeight / 10) << before.size();
        // What one frame draws and the other does not lies in the damage.
        const DrawList& composed = shown_frame;
        for (const auto& [one, other] : {std::tie(shown, composed), std::tie(composed, shown)}) {
            for (const DrawOp& op : one) {
                const auto inside = [&op](const WindowRect& part) {
                    return part.left < op.x0 && op.x1 < part.right && part.top < op.y0 &&
                           op.y1 < part.bottom;
                };
                EXPECT_TRUE(std::find(other.begin(), other.end(), op) != other.end() ||
                            std::any_of(damage.begin(), damage.end(), inside))
                    << before.size() << " " << op.x0 << "," << op.y0;
            }
        }
    }
}

// A timer due while a wanted frame would be drawn goes first, but never one due later than a
// budget after the change, however slowly frames draw.
TEST(FrameSchedule, TimersGoFirstOnlyWhileTheChangeIsYoung) {
    using namespace std::chrono_literals;
    using namespace frame_schedule;
    const Clock::time_point change{};
    EXPECT_TRUE(timer_goes_first(change, change, change + 5ms, 5ms));
    EXPECT_FALSE(timer_goes_first(change, change, change + 6ms, 5ms));
    EXPECT_TRUE(timer_goes_first(change + 15ms, change, change + kFrameBudget, 40ms));
    EXPECT_FALSE(timer_goes_first(change + 15ms, change, change + kFrameBudget + 1us, 40ms));
}

}  // namespace
