#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/platform.h"
#include "net/link.h"
#include "net/messages.h"
#include "rules/board.h"
#include "rules/computer.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "screens/screen.h"

namespace {

bool on_board() {
    return screen.screen_code == kBoardScreen;
}

// Any key but Esc closes the pause prompt.
void resume_if_paused() {
    if (on_board() && screen.paused)
        resume_game();
}

bool who_first_question() {
    return on_board() && !match.versus_human && screen.who_first_open && !screen.paused;
}

bool typing_address() {
    return net_link.network_game && net_link.address_entry_open && net_link.joining;
}

}  // namespace

void continue_move() {
    // In a network game the host moves only for player 1, the joiner only
    // for player 2.
    const bool network = net_link.network_game;
    const bool may = match.current_player == 1
                         ? !(network && net_link.joining)
                         : match.versus_human && !(network && net_link.hosting);
    if (!may)
        return;
    PitPosition pit = next_pit(match.source_row, match.source_column);
    begin_sowing(pit.row, pit.column);
    if (network)
        send_move(pit.row, pit.column);
}

void key_handler(unsigned char raw, int, int) {
    int key = std::tolower(raw);
    double code = screen.screen_code;
    if (key == 13) {
        if (code == kMainMenu && !screen.quit_question_open) {
            switch (screen.menu_choice) {
                case 0:
                    screen.screen_code = kPlayerMenu;
                    break;
                case 1:
                    start_versus_computer();
                    break;
                case 2:
                    screen.screen_code = kInstructionsPage;
                    break;
                case 3:
                    if (!screen.exit_dialog_open) {
                        screen.exit_dialog_open = true;
                        screen.exit_yes_selected = false;
                    } else if (screen.exit_yes_selected) {
                        exit_program(0);
                        return;
                    } else {
                        screen.exit_dialog_open = false;
                        screen.exit_yes_selected = false;
                    }
                    break;
            }
        } else if (screen_is(kPlayerMenu)) {
            if (screen.menu_choice == 0)
                start_local_game();
            else if (screen.menu_choice == 1)
                screen.menu_choice = 0, screen.screen_code = kNetworkMenu;
            else if (screen.menu_choice == 2)
                screen.menu_choice = 0, screen.screen_code = kMainMenu;
        } else if (screen_is(kNetworkMenu)) {
            if (screen.menu_choice == 0)
                start_hosting();
            else if (screen.menu_choice == 1)
                start_joining();
            else if (screen.menu_choice == 2)
                screen.menu_choice = 0, screen.screen_code = kPlayerMenu;
        } else if (on_board()) {
            resume_if_paused();
            // The connection thread connects once the entry closes.
            if (net_link.network_game && net_link.joining && net_link.address_entry_open)
                net_link.address_entry_open = false;
        }
        return;
    }
    if (key == 27) {
        if (code == kMainMenu) {
            if (screen.exit_dialog_open) {
                screen.exit_dialog_open = false;
                screen.exit_yes_selected = false;
            } else if (!screen.quit_question_open) {
                screen.quit_question_open = true;
            }
        } else if (screen_is(kPlayerMenu))
            screen.screen_code = kMainMenu;
        else if (screen_is(kNetworkMenu))
            screen.screen_code = kPlayerMenu;
        else if (screen_is(kInstructionsPage))
            screen.screen_code = kMainMenu;
        else if (screen_is(kControlsPage))
            screen.screen_code = kInstructionsPage;
        else if (on_board()) {
            if (!screen.paused)
                pause_game();
            else
                leave_game();
        }
        return;
    }
    switch (key) {
        case 'a':
            if (!match.sowing_active && !match.new_turn && !screen.paused &&
                !net_link.peer_paused && on_board())
                continue_move();
            break;
        case 'c':
            if (who_first_question()) {
                computer_opens_game();
                screen.who_first_open = false;
            }
            break;
        case 'm':
            if (screen_is(kInstructionsPage) || screen_is(kControlsPage)) {
                screen.screen_code = kMainMenu;
                return;
            }
            break;
        case 'n':
            if (code == kMainMenu)
                screen.quit_question_open = false;
            resume_if_paused();
            if (screen_is(kInstructionsPage))
                screen.screen_code = kControlsPage;
            return;
        case 'p':
            if (who_first_question()) {
                match.current_player = 1;
                screen.who_first_open = false;
            } else if (match.game_result != kInPlay) {
                play_again();
            }
            resume_if_paused();
            if (screen_is(kControlsPage))
                screen.screen_code = kInstructionsPage;
            return;
        case 'r':
            if (who_first_question()) {
                match.current_player = std::rand() % 2 + 1;
                if (match.current_player == 2)
                    computer_opens_game();
                screen.who_first_open = false;
            }
            break;
        case 's':
            match.sound_on = !match.sound_on;
            break;
        case 'y':
            if (code == kMainMenu) {
                exit_program(0);
                return;
            }
            break;
        default:
            if (!on_board())
                return;
            resume_if_paused();
            if (!typing_address())
                return;
            {
                std::size_t length = std::strlen(net_link.peer_address);
                if ((std::isdigit(key) || key == '.') && length < 15) {
                    net_link.peer_address[length] = static_cast<char>(key);
                    net_link.peer_address[length + 1] = '\0';
                } else if (key == 8 && length > 0) {
                    net_link.peer_address[length - 1] = '\0';
                }
            }
            return;
    }
    resume_if_paused();
}

// GLUT's codes for the arrow keys.
constexpr int kKeyLeft = 100, kKeyUp = 101, kKeyRight = 102, kKeyDown = 103;

void special_key_handler(int key, int, int) {
    if (screen.paused || screen.quit_question_open)
        return;
    bool main_menu = screen.screen_code == kMainMenu;
    bool menu = main_menu || screen_is(kPlayerMenu) || screen_is(kNetworkMenu);
    if (key == kKeyLeft && main_menu && screen.exit_dialog_open)
        screen.exit_yes_selected = true;
    else if (key == kKeyRight && main_menu && screen.exit_dialog_open)
        screen.exit_yes_selected = false;
    else if (key == kKeyUp && menu && screen.menu_choice > 0)
        --screen.menu_choice;
    else if (key == kKeyDown && menu && screen.menu_choice < (main_menu ? 3 : 2))
        ++screen.menu_choice;
}
