#include "app/platform.h"
#include "net/connection.h"
#include "net/link.h"
#include "net/messages.h"
#include "rules/board.h"
#include "screens/screen.h"

Screen screen;

namespace {

bool in_network_game() {
    return match.versus_human && net_link.network_game;
}

// What every start of a network game shares, once the role flags are set.
void open_network_game() {
    net_link.connected = false;
    net_link.awaiting_rematch = 0;
    net_link.quiet_disconnect = false;
    net_link.peer_paused = false;
    net_link.play_again_may_be_pause = false;
    net_link.network_game = true;
}

}  // namespace

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
    start_local_game();
    net_link.hosting = true;
    net_link.joining = false;
    net_link.awaiting_peer = true;
    local_ipv4_address(net_link.local_address, sizeof net_link.local_address);
    open_network_game();
}

void start_joining() {
    start_local_game();
    net_link.address_entry_open = true;
    net_link.hosting = false;
    net_link.joining = true;
    open_network_game();
}

void pause_game() {
    // A sowing already stopped by the opponent's pause stays remembered.
    if (match.sowing_active) {
        net_link.resume_sowing_on_unpause = true;
        match.sowing_active = false;
    } else if (!net_link.peer_paused) {
        net_link.resume_sowing_on_unpause = false;
    }
    screen.paused = true;
    net_link.quiet_disconnect = true;
    // Told only to an opponent that reads "p" as a pause: one that is
    // connected, not past the game's end (there "p" means play again), and
    // whose own prompt is not open (some copies then forget the sowing their
    // own pause stopped).
    net_link.pause_announced = in_network_game() && net_link.connected &&
                               match.game_result == kInPlay && !net_link.awaiting_rematch &&
                               !net_link.peer_paused && !last_move_under_way();
    if (net_link.pause_announced) {
        send_message("p");
    }
}

void resume_game() {
    screen.paused = false;
    net_link.quiet_disconnect = false;
    // While the opponent's prompt is open its copy of the sowing stands too.
    if (net_link.resume_sowing_on_unpause && !net_link.peer_paused) {
        net_link.resume_sowing_on_unpause = false;
        match.sowing_active = true;
    }
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
    if (net_link.network_game) {
        screen.screen_code = kNetworkMenu;
    } else if (match.versus_human) {
        screen.screen_code = kPlayerMenu;
    } else {
        screen.screen_code = kMainMenu;
    }
    match.player1_wins = 0;
    match.player2_wins = 0;
    match.computer_wins = 0;
    net_link.network_game = false;
    close_connection();
    // A report still pending is for the game just left.
    net_link.connection_lost = false;
    net_link.port_taken = false;
    // Nothing of the opponent may follow into the next game, whatever kind.
    net_link.peer_paused = false;
    net_link.awaiting_rematch = 0;
    new_game();
    match.starting_player = 2;
}

void play_again() {
    // The p that plays again also closes a pause prompt opened after the
    // game, and with it the silence about a lost connection.
    if (screen.paused) {
        resume_game();
    }
    const bool stays_in_network_game = in_network_game();
    screen.screen_code = kBoardScreen;
    if (!stays_in_network_game) {
        new_game();
        return;
    }
    new_game_keeping_inbox();
    // Not "p": to a copy still playing out the last move that would read as
    // a pause. Every copy holds "P" until its own game is over.
    send_message("P");
    net_link.network_game = true;
}
