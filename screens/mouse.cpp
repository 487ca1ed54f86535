#include "net/link.h"
#include "rules/board.h"
#include "rules/layout.h"
#include "screens/choices.h"
#include "screens/floating_seeds.h"
#include "screens/input.h"
#include "screens/platform.h"
#include "screens/screen.h"

namespace {

// GLUT's left button and press codes.
constexpr int kLeftButton = 0, kButtonDown = 0;

// Strict on both sides: the drawn border pixels do not count.
bool inside(int x, int y, const WindowRect& area) {
    return x > area.left && x < area.right && y > area.top && y < area.bottom;
}

// The menu button under a point, or -1. The bands of the main menu's four
// buttons are there on every menu; on the others the fourth is empty.
int menu_band_at(int x, int y) {
    for (int band = 0; band < kMenuSlotCount; ++band) {
        if (inside(x, y, button_slot(band))) {
            return band;
        }
    }
    return -1;
}

// Behind the open exit box the menu takes no click but on its own button.
void main_menu_click(int x, int y) {
    const int band = menu_band_at(x, y);
    const bool box_open = screen.exit_dialog_open;
    // A click on a button that starts something highlights it first.
    if (band == kExitItem || (band > 0 && !box_open)) {
        screen.menu_choice = band;
    }
    if (band >= 0 && !box_open) {
        choose_menu_item(band);
    }
    if (!screen.exit_dialog_open) {
        return;
    }
    if (inside(x, y, kExitYesButton)) {
        exit_program(0);
    } else if (inside(x, y, kExitNoButton)) {
        close_exit_box();
    }
}

// The highlight stays where the pointer put it.
void other_menu_click(int x, int y) {
    const int band = menu_band_at(x, y);
    if (band >= 0 && band < menu_item_count()) {
        choose_menu_item(band);
    }
}

bool board_takes_clicks() {
    if (match.game_result != kInPlay || match.paused_by != 0 || match.sowing_active) {
        return false;
    }
    if (!match.versus_human) {
        return !match.who_first_open;
    }
    const LinkPhase phase = net_link.phase;
    return phase != LinkPhase::kHostWaiting && phase != LinkPhase::kTypingAddress &&
           awaiting_rematch() == 0;
}

void board_click(int x, int y) {
    if (!board_takes_clicks()) {
        return;
    }
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            if (inside(x, y, at_pit(kPitHitArea, row, column))) {
                pick_pit({row, column});
            }
        }
    }
}

// On the exit box's button bands the pointer moves its highlight instead.
void highlight_under_pointer(int x, int y) {
    const int band = menu_band_at(x, y);
    if (band < 0) {
        return;
    }
    if (!screen.exit_dialog_open) {
        if (band < menu_item_count()) {
            screen.menu_choice = band;
        }
    } else if (inside(x, y, kExitYesButton)) {
        screen.exit_yes_selected = true;
    } else if (inside(x, y, kExitNoButton)) {
        screen.exit_yes_selected = false;
    }
}

}  // namespace

void mouse_handler(int button, int state, int x, int y) {
    if (button != kLeftButton || state != kButtonDown) {
        return;
    }
    if (screen.screen_code == kBoardScreen) {
        board_click(x, y);
    } else if (screen.quit_question_open) {
        return;
    } else if (screen.screen_code == kMainMenu) {
        main_menu_click(x, y);
    } else if (on_a_menu()) {
        other_menu_click(x, y);
    }
}

void motion_handler(int x, int y) {
    const bool menu = on_a_menu();
    if (menu) {
        highlight_under_pointer(x, y);
    }
    if (menu || screen_is(kInstructionsPage) || screen_is(kControlsPage)) {
        for (FloatingSeed& seed : floating_seeds) {
            if (inside(x, y, seed_sprite(seed.x, seed.y))) {
                respawn_floating_seed(seed);
            }
        }
    }
}
