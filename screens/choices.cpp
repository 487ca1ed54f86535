#include "screens/choices.h"

#include "net/link.h"
#include "net/messages.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "screens/platform.h"
#include "screens/screen.h"

namespace {

// In a network game the host moves only for player 1, the joiner only for
// player 2; against the computer only player 1 is moved for here.
bool moves_for(int player) {
    if (in_network_game()) {
        return player != opponent_player();
    }
    return player == 1 || match.versus_human;
}

void open_exit_box() {
    screen.exit_dialog_open = true;
    screen.exit_yes_selected = false;
}

// What each button of each menu does, from the top one down.
using MenuAction = void (*)();
template <const double& kScreen>
void show() {
    screen.screen_code = kScreen;
}
const MenuAction kMainMenuItems[] = {show<kPlayerMenu>, start_versus_computer,
                                     show<kInstructionsPage>, open_exit_box};
const MenuAction kPlayerMenuItems[] = {start_local_game, show<kNetworkMenu>, show<kMainMenu>};
const MenuAction kNetworkMenuItems[] = {start_hosting, start_joining, show<kPlayerMenu>};

}  // namespace

bool on_a_menu() {
    return screen.screen_code == kMainMenu || screen_is(kPlayerMenu) || screen_is(kNetworkMenu);
}

int menu_item_count() {
    return screen.screen_code == kMainMenu ? 4 : 3;
}

void choose_menu_item(int item) {
    const MenuAction* items = screen.screen_code == kMainMenu ? kMainMenuItems
                              : screen_is(kPlayerMenu)        ? kPlayerMenuItems
                                                              : kNetworkMenuItems;
    if (on_a_menu() && item >= 0 && item < menu_item_count()) {
        items[item]();
    }
}

void close_exit_box() {
    screen.exit_dialog_open = false;
    screen.exit_yes_selected = false;
}

void answer_exit_box() {
    if (screen.exit_yes_selected) {
        exit_program(0);
        return;
    }
    close_exit_box();
}

void pick_pit(PitPosition pit) {
    const int player = match.current_player;
    if (!moves_for(player) || !may_pick(player, pit)) {
        return;
    }
    begin_sowing(pit.row, pit.column);
    if (in_network_game()) {
        send_move(pit.row, pit.column);
    }
}

void continue_move() {
    pick_pit(next_pit(match.source_row, match.source_column));
}
