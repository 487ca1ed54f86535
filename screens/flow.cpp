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
    net_link.awaiting_rematch = false;
    net_link.quiet_disconnect = false;
    net_link.peer_paused = false;
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
    net_link.resume_sowing_on_unpause = match.sowing_active;
    screen.paused = true;
    net_link.quiet_disconnect = true;
    match.sowing_active = false;
    if (in_network_game()) {
        send_message("p");
    }
}

void resume_game() {
    screen.paused = false;
    net_link.quiet_disconnect = false;
    if (net_link.resume_sowing_on_unpause) {
        match.sowing_active = true;
    }
    if (in_network_game()) {
        send_message("u");
    }
}

void leave_game() {
    if (net_link.network_game) {
        screen.screen_code = kNetworkMenu;
    } else if (match.versus_human) {
        screen.screen_code = kPlayerMenu;
    } else {
        screen.screen_code = kMainMenu;
    }
    if (in_network_game()) {
        send_message("q");
        sleep_milliseconds(100);  // let the quit message leave before the socket closes
    }
    match.player1_wins = 0;
    match.player2_wins = 0;
    match.computer_wins = 0;
    net_link.network_game = false;
    close_connection();
    new_game();
    match.starting_player = 2;
}

void play_again() {
    const bool stays_in_network_game = in_network_game();
    screen.screen_code = kBoardScreen;
    new_game();
    if (stays_in_network_game) {
        send_message("p");
        net_link.network_game = true;
    }
}
