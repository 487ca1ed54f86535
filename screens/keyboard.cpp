#include <cctype>
#include <cstdlib>
#include <cstring>

#include "net/link.h"
#include "rules/board.h"
#include "rules/computer.h"
#include "screens/choices.h"
#include "screens/input.h"
#include "screens/platform.h"
#include "screens/screen.h"

namespace {

bool on_board() {
    return screen.screen_code == kBoardScreen;
}

void resume_if_paused() {
    if (on_board() && paused_here()) {
        resume_game();
    }
}

void play_again_if_over() {
    if (match.game_result != kInPlay) {
        play_again();
    }
}

void edit_address(int key) {
    const std::size_t length = std::strlen(net_link.peer_address);
    if ((std::isdigit(key) || key == '.') && length < kAddressMaxLength) {
        net_link.peer_address[length] = static_cast<char>(key);
        net_link.peer_address[length + 1] = '\0';
    } else if (key == kBackspaceKey && length > 0) {
        net_link.peer_address[length - 1] = '\0';
    }
}

// c: the computer begins, p: the player, r: a draw decides.
void answer_who_plays_first(int key) {
    if (key == 'c' || (key == 'r' && std::rand() % 2 + 1 == 2)) {
        computer_opens_game();
    } else {
        match.current_player = 1;
    }
    match.who_first_open = false;
}

void main_menu_key(int key) {
    switch (key) {
        case kEnterKey:
            if (screen.quit_question_open) {
                break;
            }
            if (screen.menu_choice == kExitItem && screen.exit_dialog_open) {
                answer_exit_box();
            } else {
                choose_menu_item(screen.menu_choice);
            }
            break;
        case kEscapeKey:
            if (screen.exit_dialog_open) {
                close_exit_box();
            } else {
                screen.quit_question_open = true;
            }
            break;
        case 'n':
            screen.quit_question_open = false;
            break;
        case 'y':
            exit_program(0);
            break;
        case 'p':
            play_again_if_over();
            break;
    }
}

void other_menu_key(int key) {
    switch (key) {
        case kEnterKey:
            choose_menu_item(screen.menu_choice);
            // A key that leads to another menu starts at its top button.
            if (on_a_menu()) {
                screen.menu_choice = 0;
            }
            break;
        case kEscapeKey:
            screen.screen_code = screen_is(kPlayerMenu) ? kMainMenu : kPlayerMenu;
            break;
        case 'p':
            play_again_if_over();
            break;
    }
}

void help_page_key(int key) {
    const bool instructions = screen_is(kInstructionsPage);
    switch (key) {
        case kEscapeKey:
            screen.screen_code = instructions ? kMainMenu : kInstructionsPage;
            break;
        case 'm':
            screen.screen_code = kMainMenu;
            break;
        case 'n':
            if (instructions) {
                screen.screen_code = kControlsPage;
            }
            break;
        case 'p':
            if (match.game_result != kInPlay) {
                play_again();
            } else if (!instructions) {
                screen.screen_code = kInstructionsPage;
            }
            break;
    }
}

// At the pause prompt Esc leaves and every other key resumes. The keys with
// work of their own try it first, but the answers and the relay key need
// the game unpaused, so there they only resume.
void board_key(int key) {
    if (key == kEscapeKey) {
        paused_here() ? leave_game() : pause_game();
        return;
    }
    const bool work_first = key != '\0' && std::strchr("acmnprsy", key) != nullptr;
    if (!work_first) {
        resume_if_paused();
    }
    const bool who_first_question = !match.versus_human && match.who_first_open && !paused_here();
    if (who_first_question && (key == 'c' || key == 'p' || key == 'r')) {
        answer_who_plays_first(key);
    } else if (key == 'p') {
        play_again_if_over();
    } else if (key == 'a' && !match.sowing_active && !match.new_turn && match.paused_by == 0) {
        continue_move();
    } else if (net_link.phase == LinkPhase::kTypingAddress) {
        // The connection thread connects once the address is entered.
        key == kEnterKey ? submit_address() : edit_address(key);
    }
    if (work_first) {
        resume_if_paused();
    }
}

}  // namespace

void key_handler(unsigned char raw, int, int) {
    const int key = std::tolower(raw);
    if (key == 's') {
        match.sound_on = !match.sound_on;
    }
    if (screen.screen_code == kMainMenu) {
        main_menu_key(key);
    } else if (on_a_menu()) {
        other_menu_key(key);
    } else if (screen_is(kInstructionsPage) || screen_is(kControlsPage)) {
        help_page_key(key);
    } else if (on_board()) {
        board_key(key);
    }
}

void special_key_handler(int key, int, int) {
    if (paused_here() || screen.quit_question_open || !on_a_menu()) {
        return;
    }
    const bool exit_box = screen.screen_code == kMainMenu && screen.exit_dialog_open;
    if (exit_box && (key == kLeftKey || key == kRightKey)) {
        screen.exit_yes_selected = key == kLeftKey;
    } else if (key == kUpKey && screen.menu_choice > 0) {
        --screen.menu_choice;
    } else if (key == kDownKey && screen.menu_choice < menu_item_count() - 1) {
        ++screen.menu_choice;
    }
}
