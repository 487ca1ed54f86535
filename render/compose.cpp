#include "render/compose.h"

#include "net/link.h"
#include "net/port_mapping.h"
#include "render/board_view.h"
#include "rules/board.h"
#include "rules/layout.h"
#include "rules/platform.h"
#include "screens/floating_seeds.h"
#include "screens/screen.h"

DrawList shown_frame;
int blink_phase;

namespace {

constexpr float kDimmed = 0.9f;
constexpr float kBright = 1.0f;

using MenuSlots = TextureName TextureSet::*[kMenuSlotCount];

// A null slot stays empty.
const MenuSlots kMainMenuSlots = {&TextureSet::vsplayer, &TextureSet::vscomputer,
                                  &TextureSet::instruction, &TextureSet::exit};
const MenuSlots kPlayerMenuSlots = {&TextureSet::vsplayer1, &TextureSet::vsplayer2,
                                    &TextureSet::back, nullptr};
const MenuSlots kNetworkMenuSlots = {&TextureSet::host, &TextureSet::connect, &TextureSet::back,
                                     nullptr};

void add_picture(DrawList& frame, TextureName picture, const WindowRect& area, float shade) {
    add_textured_quad(frame, picture, area.left, area.top, area.right, area.bottom, shade);
}

void add_menu_button(DrawList& frame, TextureName picture, int slot) {
    const WindowRect normal = button_slot(slot);
    if (screen.menu_choice != slot) {
        add_picture(frame, picture, normal, kDimmed);
        return;
    }
    add_picture(frame, picture, grown(normal, kHighlightGrowth), kBright);
}

void add_hover_overlay(DrawList& frame) {
    const WindowRect area = button_slot(screen.menu_choice);
    const bool first = blink_phase == 0;
    add_masked_sprite(frame, first ? textures.select_mask1 : textures.select_mask2,
                      first ? textures.select_1 : textures.select_2, area.left, area.top,
                      area.right, area.bottom);
}

// The frame covers seeds that drift beyond the picture.
void add_floating_seeds_and_frame(DrawList& frame) {
    for (const FloatingSeed& seed : floating_seeds) {
        add_seed(frame, seed.x, seed.y);
    }
    const WindowRect& picture = kPictureArea;
    add_filled_rect(frame, 0, 0, picture.left, kDrawingHeight, kBlack);
    add_filled_rect(frame, picture.right, 0, kDrawingWidth, kDrawingHeight, kBlack);
    add_filled_rect(frame, picture.left, 0, picture.right, picture.top, kBlack);
    add_filled_rect(frame, picture.left, picture.bottom, picture.right, kDrawingHeight, kBlack);
}

void add_button_menu(DrawList& frame, const MenuSlots& slots) {
    add_picture(frame, textures.menu, kPictureArea, kDimmed);
    for (int slot = 0; slot < kMenuSlotCount; ++slot) {
        if (slots[slot] != nullptr) {
            add_menu_button(frame, textures.*slots[slot], slot);
        }
    }
    add_hover_overlay(frame);
    add_floating_seeds_and_frame(frame);
}

// The quit question wins over the exit box when both are open.
void add_main_menu_overlays(DrawList& frame) {
    if (screen.quit_question_open) {
        add_text(frame, 385, 260, "Do you really want to quit (y/n)?", kYellow);
    } else if (screen.exit_dialog_open) {
        const bool yes = screen.exit_yes_selected;
        add_picture(frame, textures.exit_question_box, kExitBox, kDimmed);
        add_picture(frame, textures.yes, kExitYesButton, yes ? kBright : kDimmed);
        add_picture(frame, textures.no, kExitNoButton, yes ? kDimmed : kBright);
    }
}

void add_information_page(DrawList& frame, TextureName page) {
    add_picture(frame, page, kPictureArea, kBright);
    add_floating_seeds_and_frame(frame);
}

// What the router made of the request to forward the game's port, if any.
void add_forwarding_line(DrawList& frame) {
    char line[kDrawTextCapacity];
    current_forwarding_line(line, sizeof line);
    if (line[0] != '\0') {
        add_text(frame, 370, 256, line, kBlue);
    }
}

// Adds the status line, if any: none while the pause prompt shows.
void add_status_line(DrawList& frame) {
    if (paused_here()) {
        return;
    }
    if (!match.versus_human) {
        if (match.who_first_open) {
            add_text(frame, 290, 210,
                     "Who Plays First (computer: c / player: p / randomly choose: r)?", kBlue);
        }
        return;
    }
    switch (net_link.phase) {
        case LinkPhase::kHostWaiting:
        case LinkPhase::kPortTaken:  // until the network menu shows
            add_text(frame, 400, 200, net_link.waiting_text, kBlue);
            if (net_link.waiting_text[0] != '\0') {
                add_text(frame, 370, 228, "Your IP Adress is: ", kBlue);
                add_text(frame, 525, 228, net_link.local_address, kBlue);
                add_forwarding_line(frame);
            }
            return;
        case LinkPhase::kTypingAddress:
            add_text(frame, 370, 210, net_link.address_prompt_text, kBlue);
            return;
        case LinkPhase::kConnecting:
            add_text(frame, 370, 210, net_link.connecting_text, kBlue);
            return;
        default:
            return;
    }
}

// The turn line gives way to the who-plays-first question and to a network
// game being set up, also while the pause prompt hides them; to the
// connecting line only while it shows.
bool turn_line_shown() {
    switch (net_link.phase) {
        case LinkPhase::kHostWaiting:
        case LinkPhase::kPortTaken:
        case LinkPhase::kTypingAddress:
            return false;
        case LinkPhase::kConnecting:
            return paused_here();
        default:
            return !match.who_first_open;
    }
}

void add_turn_line(DrawList& frame) {
    if (match.current_player == 1) {
        add_text(frame, 460, 380, "Player1's turn", kGreen);
    } else {
        add_text(frame, 460, 35, match.versus_human ? "Player2's turn" : "Computer's turn", kGreen);
    }
}

void add_result_lines(DrawList& frame, const char* result, float result_x, const char* menu_key) {
    add_text(frame, result_x, 180, result, kBlue);
    add_text(frame, 375, 200, "Press p to play again", kBlue);
    add_text(frame, 390, 220, menu_key, kBlue);
}

void add_pause_and_result_lines(DrawList& frame) {
    if (paused_here()) {
        add_text(frame, 380, 195, "Press esc again to quit to Main Menu", kBlue);
        add_text(frame, 425, 215, "any other key to continue", kBlue);
        return;
    }
    switch (match.game_result) {
        case kPlayer1Won:
            add_result_lines(frame, "Player1 Wins!", 405, "Press esc for menu");
            return;
        case kPlayer2Won:
            add_result_lines(frame, match.versus_human ? "Player2 Wins!" : "Computer Wins!", 405,
                             "Press ecs for menu");
            return;
        case kDraw:
            add_result_lines(frame, "It's a tie!", 425, "Press esc for menu");
            return;
        default:
            break;
    }
    if (match.game_result != kInPlay || !in_network_game()) {
        return;
    }
    if (awaiting_rematch() > 0) {
        add_text(frame, 355, 210, "Waiting for opponent to hit p (play again)", kBlue);
    } else if (paused_by_opponent()) {
        add_text(frame, 355, 210, "Opponent has paused the game", kBlue);
    }
}

void add_game_screen(DrawList& frame) {
    draw_game_board(frame);
    add_status_line(frame);
    if (turn_line_shown()) {
        add_turn_line(frame);
    }
    draw_score_panels(frame);
    add_pause_and_result_lines(frame);
}

}  // namespace

void compose_frame(DrawList& frame) {
    frame.clear();
    if (screen.screen_code == kMainMenu) {
        add_button_menu(frame, kMainMenuSlots);
        add_main_menu_overlays(frame);
    } else if (screen_is(kPlayerMenu)) {
        add_button_menu(frame, kPlayerMenuSlots);
    } else if (screen_is(kNetworkMenu)) {
        add_button_menu(frame, kNetworkMenuSlots);
    } else if (screen_is(kInstructionsPage)) {
        add_information_page(frame, textures.instruction2);
    } else if (screen_is(kControlsPage)) {
        add_information_page(frame, textures.controls);
    } else if (screen.screen_code == kBoardScreen) {
        add_game_screen(frame);
    }
}

bool picture_changed() {
    static DrawList next_frame;
    compose_frame(next_frame);
    return next_frame != shown_frame;
}

void toggle_blink(int) {
    blink_phase = 1 - blink_phase;
    arm_timer(500, toggle_blink);
}
