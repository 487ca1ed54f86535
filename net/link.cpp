#include "net/link.h"

#include <cstdio>

#include "net/connection.h"
#include "rules/board.h"

NetLink net_link;

namespace {

// Nothing the opponent sent or was thought to be doing outlives a link.
void forget_opponent() {
    {
        std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
        net_link.last_received[0] = '\0';
        net_link.inbox[0] = '\0';
    }
    net_link.rematches_seen = match.games_ended;
    net_link.play_again_may_be_pause = false;
    match.paused_by &= ~kPausedByOpponent;
}

void set_base_text(char* text, const char* base) {
    if (text[0] == '\0') {
        std::snprintf(text, kMessageCapacity, "%s", base);
    }
}

}  // namespace

int opponent_player() {
    return !in_network_game() ? 0 : net_link.hosting ? 2 : 1;
}

int awaiting_rematch() {
    return in_network_game() ? match.games_ended - net_link.rematches_seen : 0;
}

void open_link(bool hosting) {
    forget_opponent();
    set_base_text(net_link.waiting_text, "Waiting for connection");
    set_base_text(net_link.address_prompt_text, "Enter IP Address: ");
    set_base_text(net_link.connecting_text, "connecting please wait");
    net_link.hosting = hosting;
    // Last: the connection thread acts on the phase.
    net_link.phase = hosting ? LinkPhase::kHostWaiting : LinkPhase::kTypingAddress;
}

void submit_address() {
    advance_link(LinkPhase::kTypingAddress, LinkPhase::kConnecting);
}

void close_link() {
    net_link.phase = LinkPhase::kOff;
    close_connection();
    forget_opponent();
}

bool advance_link(LinkPhase from, LinkPhase to) {
    return net_link.phase.compare_exchange_strong(from, to);
}
