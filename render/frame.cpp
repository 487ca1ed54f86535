#include "render/frame.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/platform.h"
#include "net/link.h"
#include "render/board_view.h"
#include "render/draw.h"
#include "render/floating_seeds.h"
#include "render/textures.h"
#include "rules/board.h"
#include "screens/screen.h"

namespace {

// The picture area of the menus and help pages; the rest is covered by a
// black frame so drifting seeds are cut off at its edge.
constexpr float kPictureLeft = 200;
constexpr float kPictureTop = 10;
constexpr float kPictureRight = 800;
constexpr float kPictureBottom = 390;

constexpr float kButtonLeft = 360;
constexpr float kButtonRight = 670;
constexpr float kButtonTop = 155;
constexpr float kButtonHeight = 40;
constexpr float kButtonSpacing = 55;
constexpr float kHighlightGrowth = 4;

constexpr float kDimmed = 0.9f;
constexpr float kBright = 1.0f;

constexpr int kMenuSlotCount = 4;
using MenuSlots = TextureName TextureSet::*[kMenuSlotCount];

// A null slot stays empty.
const MenuSlots kMainMenuSlots = {&TextureSet::vsplayer, &TextureSet::vscomputer,
                                  &TextureSet::instruction, &TextureSet::exit};
const MenuSlots kPlayerMenuSlots = {&TextureSet::vsplayer1, &TextureSet::vsplayer2,
                                    &TextureSet::back, nullptr};
const MenuSlots kNetworkMenuSlots = {&TextureSet::host, &TextureSet::connect, &TextureSet::back,
                                     nullptr};

// Bitmap text crashes Mesa's software renderer while texturing is on, so
// every text goes through here.
void draw_colored_text(float x, float y, const char* text, float r, float g, float b) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(r, g, b);
    draw_text(x, y, text);
    glEnable(GL_TEXTURE_2D);
}

void draw_blue_text(float x, float y, const char* text) {
    draw_colored_text(x, y, text, 0, 0, 1);
}

float slot_top(int slot) {
    return kButtonTop + kButtonSpacing * slot;
}

void draw_menu_button(TextureName picture, int slot) {
    const float top = slot_top(slot);
    const float bottom = top + kButtonHeight;
    if (screen.menu_choice == slot) {
        draw_textured_quad(picture, kButtonLeft - kHighlightGrowth, top - kHighlightGrowth,
                           kButtonRight + kHighlightGrowth, bottom + kHighlightGrowth, kBright);
    } else {
        draw_textured_quad(picture, kButtonLeft, top, kButtonRight, bottom, kDimmed);
    }
}

void draw_hover_overlay() {
    const float top = slot_top(screen.menu_choice);
    const float bottom = top + kButtonHeight;
    if (blink_phase == 0) {
        draw_masked_sprite(textures.select_mask1, textures.select_1, kButtonLeft, top, kButtonRight,
                           bottom);
    } else {
        draw_masked_sprite(textures.select_mask2, textures.select_2, kButtonLeft, top, kButtonRight,
                           bottom);
    }
}

void draw_floating_seeds_and_frame() {
    for (const FloatingSeed& seed : floating_seeds) {
        draw_masked_sprite(textures.seed1_mask, textures.seed1, seed.x - 9, seed.y - 10, seed.x + 9,
                           seed.y + 10);
    }
    draw_filled_rect(0, 0, kPictureLeft, 400, 0, 0, 0);
    draw_filled_rect(kPictureRight, 0, 1000, 400, 0, 0, 0);
    draw_filled_rect(kPictureLeft, 0, kPictureRight, kPictureTop, 0, 0, 0);
    draw_filled_rect(kPictureLeft, kPictureBottom, kPictureRight, 400, 0, 0, 0);
}

void draw_button_menu(const MenuSlots& slots) {
    draw_textured_quad(textures.menu, kPictureLeft, kPictureTop, kPictureRight, kPictureBottom,
                       kDimmed);
    for (int slot = 0; slot < kMenuSlotCount; ++slot) {
        if (slots[slot] != nullptr) {
            draw_menu_button(textures.*slots[slot], slot);
        }
    }
    draw_hover_overlay();
    draw_floating_seeds_and_frame();
}

// The quit question wins over the exit box when both are open.
void draw_main_menu_overlays() {
    if (screen.quit_question_open) {
        draw_colored_text(385, 260, "Do you really want to quit (y/n)?", 1, 1, 0);
    } else if (screen.exit_dialog_open) {
        draw_textured_quad(textures.exit_question_box, 350, 100, 650, 300, kDimmed);
        draw_textured_quad(textures.yes, 390, 180, 490, 240,
                           screen.exit_yes_selected ? kBright : kDimmed);
        draw_textured_quad(textures.no, 510, 180, 610, 240,
                           screen.exit_yes_selected ? kDimmed : kBright);
    }
}

void draw_information_page(TextureName page) {
    draw_textured_quad(page, kPictureLeft, kPictureTop, kPictureRight, kPictureBottom, kBright);
    draw_floating_seeds_and_frame();
}

// Draws the status line, if any; answers whether it rules out the turn line.
bool draw_status_line() {
    if (!match.versus_human) {
        if (!screen.who_first_open) {
            return false;
        }
        if (!screen.paused) {
            draw_blue_text(290, 210,
                           "Who Plays First (computer: c / player: p / randomly choose: r)?");
        }
        return true;
    }
    if (!net_link.network_game || screen.paused) {
        return false;
    }
    if (net_link.hosting && net_link.awaiting_peer) {
        draw_blue_text(400, 200, net_link.waiting_text);
        if (net_link.waiting_text[0] != '\0') {
            draw_blue_text(370, 228, "Your IP Adress is: ");
            draw_blue_text(525, 228, net_link.local_address);
        }
        return true;
    }
    if (net_link.joining && net_link.address_entry_open) {
        draw_blue_text(370, 210, net_link.address_prompt_text);
        return true;
    }
    if (net_link.joining && !net_link.connected) {
        draw_blue_text(370, 210, net_link.connecting_text);
        return true;
    }
    return false;
}

// While paused, the host's waiting and the joiner's address entry show no
// status line, and no turn line either.
bool turn_line_hidden() {
    if (screen.who_first_open) {
        return true;
    }
    if (!net_link.network_game) {
        return false;
    }
    return (net_link.hosting && net_link.awaiting_peer) ||
           (net_link.joining && net_link.address_entry_open);
}

void draw_turn_line() {
    constexpr float r = 0, g = 1, b = 0;
    if (match.current_player == 1) {
        draw_colored_text(460, 380, "Player1's turn", r, g, b);
    } else if (match.versus_human) {
        draw_colored_text(460, 35, "Player2's turn", r, g, b);
    } else {
        draw_colored_text(460, 35, "Computer's turn", r, g, b);
    }
}

void draw_pause_and_result_lines() {
    if (screen.paused) {
        draw_blue_text(380, 195, "Press esc again to quit to Main Menu");
        draw_blue_text(425, 215, "any other key to continue");
        return;
    }
    switch (match.game_result) {
        case kPlayer1Won:
            draw_blue_text(405, 180, "Player1 Wins!");
            draw_blue_text(375, 200, "Press p to play again");
            draw_blue_text(390, 220, "Press esc for menu");
            return;
        case kPlayer2Won:
            draw_blue_text(405, 180, match.versus_human ? "Player2 Wins!" : "Computer Wins!");
            draw_blue_text(375, 200, "Press p to play again");
            draw_blue_text(390, 220, "Press ecs for menu");
            return;
        case kDraw:
            draw_blue_text(425, 180, "It's a tie!");
            draw_blue_text(375, 200, "Press p to play again");
            draw_blue_text(390, 220, "Press esc for menu");
            return;
        default:
            break;
    }
    if (match.game_result != kInPlay || !match.versus_human || !net_link.network_game) {
        return;
    }
    if (net_link.awaiting_rematch) {
        draw_blue_text(355, 210, "Waiting for opponent to hit p (play again)");
    } else if (net_link.peer_paused) {
        draw_blue_text(355, 210, "Opponent has paused the game");
    }
}

void draw_game_screen() {
    draw_game_board();
    const bool status_shown = draw_status_line();
    if (!status_shown && !turn_line_hidden()) {
        draw_turn_line();
    }
    glDisable(GL_TEXTURE_2D);
    draw_score_panels();
    glEnable(GL_TEXTURE_2D);
    draw_pause_and_result_lines();
}

void draw_screen() {
    if (screen.screen_code == kMainMenu) {
        draw_button_menu(kMainMenuSlots);
        draw_main_menu_overlays();
    } else if (screen_is(kPlayerMenu)) {
        draw_button_menu(kPlayerMenuSlots);
    } else if (screen_is(kNetworkMenu)) {
        draw_button_menu(kNetworkMenuSlots);
    } else if (screen_is(kInstructionsPage)) {
        draw_information_page(textures.instruction2);
    } else if (screen_is(kControlsPage)) {
        draw_information_page(textures.controls);
    } else if (screen.screen_code == kBoardScreen) {
        draw_game_screen();
    }
}

// With SOWROW_FRAME_STATS set, the number of frames drawn in each second
// goes to standard error, to see what the continuous redraw costs.
bool frame_stats_wanted() {
    static const bool wanted = std::getenv("SOWROW_FRAME_STATS") != nullptr;
    return wanted;
}

void count_frame() {
    static int frames;
    static int second_started;
    ++frames;
    const int now = glutGet(GLUT_ELAPSED_TIME);
    if (now - second_started >= 1000) {
        std::fprintf(stderr, "frames/s: %.1f\n", frames * 1000.0 / (now - second_started));
        frames = 0;
        second_started = now;
    }
}

}  // namespace

void display_frame() {
    set_pointer_shape(screen.hand_cursor);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_screen();
    glutSwapBuffers();
    if (frame_stats_wanted()) {
        count_frame();
    }
}
