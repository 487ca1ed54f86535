#include <cmath>

#include "net/link.h"
#include "net/messages.h"
#include "net/platform.h"
#include "rules/board.h"
#include "rules/platform.h"
#include "screens/floating_seeds.h"
#include "screens/screen.h"

Screen screen;

namespace {

void start_network_game(bool hosting) {
    start_local_game();
    if (hosting) {
        local_ipv4_address(net_link.local_address, sizeof net_link.local_address);
    }
    open_link(hosting);
}

// A pause is told only to an opponent that reads "p" as a pause: one that
// is connected, not past the game's end (there "p" means play again), and
// whose own prompt is not open (some copies then forget the sowing their
// own pause stopped). An opponent about to make a move that may end the
// game may already be past the end when the "p" comes; its move then waits
// here until this side resumes.
bool pause_reaches_opponent() {
    return net_link.phase == LinkPhase::kConnected && match.game_result == kInPlay &&
           awaiting_rematch() == 0 && !paused_by_opponent() && !last_move_may_be_under_way();
}

}  // namespace

bool screen_is(double value) {
    return std::fabs(screen.screen_code - value) <= std::fabs(screen.screen_code) * 1e-5;
}

void start_versus_computer() {
    match.versus_human = false;
    screen.screen_code = kBoardScreen;
    new_game();
}

void start_local_game() {
    match.versus_human = true;
    screen.screen_code = kBoardScreen;
    match.starting_player = 2;  // so that new_game lets player 1 begin
    new_game();
}

void start_hosting() {
    start_network_game(true);
}

void start_joining() {
    start_network_game(false);
}

void pause_game() {
    match.paused_by |= kPausedHere;
    net_link.pause_announced = in_network_game() && pause_reaches_opponent();
    if (net_link.pause_announced) {
        send_message("p");
    }
}

void resume_game() {
    match.paused_by &= ~kPausedHere;
    if (net_link.pause_announced) {
        send_message("u");
    }
}

void leave_game() {
    if (in_network_game()) {
        send_message("q");
        sleep_milliseconds(100);  // let the quit message leave before the socket closes
    }
    back_to_menu();
}

void back_to_menu() {
    if (in_network_game()) {
        screen.screen_code = kNetworkMenu;
    } else if (match.versus_human) {
        screen.screen_code = kPlayerMenu;
    } else {
        screen.screen_code = kMainMenu;
    }
    match.player1_wins = 0;
    match.player2_wins = 0;
    match.computer_wins = 0;
    // A report still pending is for the game just left, and nothing of the
    // opponent may follow into the next game, whatever kind.
    close_link();
    new_game();
    match.starting_player = 2;
    for (FloatingSeed& seed : floating_seeds) {
        respawn_floating_seed(seed);
    }
}

void play_again() {
    screen.screen_code = kBoardScreen;
    // Also closes a pause prompt opened after the game, which told nothing.
    new_game();
    // Not "p": to a copy still playing out the last move that would read as
    // a pause. Every copy holds "P" until its own game is over.
    if (in_network_game()) {
        send_message("P");
    }
}

void connection_report_timer(int) {
    switch (net_link.phase.load()) {
        case LinkPhase::kDropped:
            // Told once the pause prompt is closed; leaving from it tells nothing.
            if (!paused_here()) {
                advance_link(LinkPhase::kDropped, LinkPhase::kTellingLoss);
            }
            break;
        case LinkPhase::kLost:  // the same role again: the host listens, the joiner types
            match.starting_player = 2;
            new_game();
            open_link(net_link.hosting);
            break;
        case LinkPhase::kPortTaken:
            back_to_menu();  // nobody can have joined
            break;
        default:
            break;
    }
    arm_timer(100, connection_report_timer);
}
