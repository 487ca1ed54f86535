#include "app/platform.h"
#include "net/link.h"
#include "net/messages.h"
#include "render/floating_seeds.h"
#include "render/layout.h"
#include "rules/board.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "screens/screen.h"

namespace {

// GLUT's left button and press codes.
constexpr int kLeftButton = 0, kButtonDown = 0;

// Strict on both sides: the drawn border pixels do not count.
bool inside(int x, int y, const WindowRect& area) {
    return x > area.left && x < area.right && y > area.top && y < area.bottom;
}
bool in_band(int x, int y, int i) {
    return inside(x, y, button_slot(i));
}
bool in_yes(int x, int y) {
    return inside(x, y, kExitYesButton);
}
bool in_no(int x, int y) {
    return inside(x, y, kExitNoButton);
}
bool in_pit(int x, int y, int r, int c) {
    return inside(x, y, at_pit(kPitHitArea, r, c));
}

bool board_takes_clicks() {
    if (match.game_result != kInPlay || screen.paused || screen.screen_code != kBoardScreen ||
        match.sowing_active)
        return false;
    if (!match.versus_human)
        return !screen.who_first_open;
    if (net_link.network_game)
        return !(net_link.hosting && net_link.awaiting_peer) &&
               !(net_link.joining && net_link.address_entry_open) && !net_link.awaiting_rematch &&
               !net_link.peer_paused;
    return true;
}

void pick(int r, int c) {
    bool network = net_link.network_game;
    if (match.new_turn) {
        bool seeds = pit_at(r, c).count > 0;
        bool one = match.current_player == 1 && r == 1 && seeds && !(network && net_link.joining);
        bool two = match.versus_human && match.current_player == 2 && r == 0 && seeds &&
                   !(network && net_link.hosting);
        if (!one && !two)
            return;
        begin_sowing(r, c);
        if (network)
            send_move(r, c);
        return;
    }
    PitPosition relay = next_pit(match.source_row, match.source_column);
    if (relay.row == r && relay.column == c)
        continue_move();
}

}  // namespace

void mouse_handler(int button, int state, int x, int y) {
    if (button != kLeftButton || state != kButtonDown)
        return;
    if (screen.screen_code == kMainMenu && !screen.quit_question_open) {
        for (int i = 0; i < kMenuSlotCount; ++i) {
            if (!in_band(x, y, i))
                continue;
            bool open = screen.exit_dialog_open;
            if (i == 0 && !open)
                screen.screen_code = kPlayerMenu;
            if (i == 1 && !open) {
                screen.menu_choice = 1;
                start_versus_computer();
            }
            if (i == 2 && !open) {
                screen.menu_choice = 2;
                screen.screen_code = kInstructionsPage;
            }
            if (i == 3) {
                screen.menu_choice = 3;
                if (!open) {
                    screen.exit_dialog_open = true;
                    screen.exit_yes_selected = false;
                }
            }
        }
        if (screen.exit_dialog_open) {
            if (in_yes(x, y)) {
                exit_program(0);
                return;
            }
            if (in_no(x, y)) {
                screen.exit_dialog_open = false;
                screen.exit_yes_selected = false;
            }
        }
    } else if (screen_is(kPlayerMenu) && !screen.quit_question_open) {
        if (in_band(x, y, 0))
            start_local_game();
        else if (in_band(x, y, 1))
            screen.screen_code = kNetworkMenu;
        else if (in_band(x, y, 2))
            screen.screen_code = kMainMenu;
    } else if (screen_is(kNetworkMenu) && !screen.quit_question_open) {
        if (in_band(x, y, 0))
            start_hosting();
        else if (in_band(x, y, 1))
            start_joining();
        else if (in_band(x, y, 2))
            screen.screen_code = kPlayerMenu;
    } else if (board_takes_clicks()) {
        for (int r = 0; r < kRowCount; ++r)
            for (int c = 0; c < kColumnCount; ++c)
                if (in_pit(x, y, r, c))
                    pick(r, c);
    }
}

void motion_handler(int x, int y) {
    bool main_menu = screen.screen_code == kMainMenu;
    bool menu = main_menu || screen_is(kPlayerMenu) || screen_is(kNetworkMenu);
    if (menu) {
        for (int i = 0; i < kMenuSlotCount; ++i) {
            if (!in_band(x, y, i))
                continue;
            if (screen.exit_dialog_open) {
                if (in_yes(x, y))
                    screen.exit_yes_selected = true;
                else if (in_no(x, y))
                    screen.exit_yes_selected = false;
            } else if (i < 3 || main_menu) {
                screen.menu_choice = i;
            }
        }
    }
    if (menu || screen_is(kInstructionsPage) || screen_is(kControlsPage)) {
        for (FloatingSeed& seed : floating_seeds)
            if (inside(x, y, seed_sprite(seed.x, seed.y)))
                respawn_floating_seed(seed);
    }
}
