#include "net/messages.h"

#include <cstdio>
#include <cstring>

#include "app/platform.h"
#include "net/connection.h"
#include "net/link.h"
#include "rules/board.h"
#include "rules/sowing.h"
#include "screens/screen.h"

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Shifts the rest of the inbox, its NUL included, to the front.
void remove_front(std::size_t count) {
    char* inbox = net_link.inbox;
    const std::size_t length = std::strlen(inbox);
    if (count > length) {
        count = length;
    }
    std::memmove(inbox, inbox + count, length - count + 1);
}

int opponent_player() {
    if (net_link.hosting) {
        return 2;
    }
    if (net_link.joining) {
        return 1;
    }
    return 0;
}

// The same tests a local click passes: the opponent's turn, a pit on the
// board that holds seeds, on the mover's own row for a first pick and the
// pit after the source for a relay.
bool move_fits(int row, int column) {
    if (!is_on_board(row, column) || match.current_player != opponent_player()) {
        return false;
    }
    if (pit_at(row, column).count == 0) {
        return false;
    }
    if (match.new_turn) {
        return row == own_row(match.current_player);
    }
    return next_pit(match.source_row, match.source_column) == PitPosition{row, column};
}

// Whether a received move must wait: this side is still playing out the
// previous one, its own pause prompt is open or its game is over.
bool move_must_wait() {
    return match.sowing_active || screen.paused || match.game_result != kInPlay;
}

void take_pause() {
    net_link.peer_paused = true;
    if (match.sowing_active) {
        net_link.resume_sowing_on_unpause = true;
        match.sowing_active = false;
    }
}

void take_unpause() {
    net_link.peer_paused = false;
    // A sowing stopped by a pause goes on only once neither prompt is open.
    if (net_link.resume_sowing_on_unpause && !screen.paused) {
        net_link.resume_sowing_on_unpause = false;
        match.sowing_active = true;
    }
}

// Whether the move under way here ends the game before anyone has to act:
// its sowing, running or stopped by a pause, then the opponent's moves in
// `moves`, played out on a copy of the counts. The opponent's copy plays the
// same steps on a clock of its own, so it may already be past the game's end.
bool ends_game_after(const char* moves) {
    PitCounts counts = pit_counts();
    const auto seeds = [&counts](PitPosition pit) -> int& {
        return counts[pit.row * kColumnCount + pit.column];
    };
    PitPosition source{match.source_row, match.source_column},
        landing{match.sow_row, match.sow_column};
    bool sowing = match.sowing_active || net_link.resume_sowing_on_unpause;
    bool capturing = sowing && match.capture_pending, new_turn = match.new_turn;
    int player = match.current_player;
    for (;;) {
        if (!sowing) {  // the next pick or relay must have come already, and fit
            if (!is_digit(moves[0]) || !is_digit(moves[1])) {
                return false;
            }
            const PitPosition pit{moves[1] - '0', moves[0] - '0'};
            moves += 2;
            const bool fits = new_turn ? player == opponent_player() && pit.row == own_row(player)
                                       : pit == next_pit(source);
            if (!fits || !is_on_board(pit.row, pit.column) || seeds(pit) == 0) {
                return false;
            }
            source = landing = pit;
            sowing = true;
        }
        PitPosition capture{match.capture_row, match.capture_column};
        if (!capturing) {
            while (seeds(source) > 0) {
                landing = next_pit(landing);
                ++seeds(landing);
                --seeds(source);
            }
            capture = next_pit(landing);
            if (seeds(capture) > 0) {
                source = landing;  // waits for the relay from the pit after it
                sowing = new_turn = false;
                continue;
            }
            capture = next_pit(capture);
        }
        seeds(capture) = 0;
        capturing = sowing = false;
        new_turn = true;
        player = player == 1 ? 2 : 1;
        if (is_game_over(counts, player)) {
            return true;
        }
    }
}

// A move: two digits, the column then the row. One that breaks the rules is
// taken off and ignored; one that must wait stays at the front.
void take_move() {
    const char second = net_link.inbox[1];
    if (second == '\0') {
        return;  // the rest of the move is still on its way
    }
    if (!is_digit(second)) {
        remove_front(1);
        return;
    }
    if (move_must_wait()) {
        return;
    }
    const int column = net_link.inbox[0] - '0';
    const int row = second - '0';
    remove_front(2);
    if (move_fits(row, column)) {
        begin_sowing(row, column);
    }
}

// The copies play a game's last move each on its own clock, so one can end
// the game and start the next while the other still sows. "P" is only ever
// play again and waits at the front until this side's game is over too. "p"
// is a pause while this side plays; once its game is over it is taken as
// play again, which a copy that sends "p" for both means by it. At most one
// message is taken per tick, like the opponent's own pace; a byte that means
// nothing in this side's state is dropped so it holds back nothing behind it.
void interpret_front() {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    for (;;) {
        const char first = net_link.inbox[0];
        if (first == '\0') {
            return;
        }
        if (is_digit(first)) {
            // Only a copy that has played again, with no prompt open, moves.
            net_link.awaiting_rematch = 0;
            net_link.play_again_may_be_pause = false;
            if (net_link.peer_paused) {
                take_unpause();
            }
            take_move();
            return;
        }
        if (first == 'P' && !net_link.awaiting_rematch) {
            return;
        }
        const bool may_be_pause = net_link.play_again_may_be_pause;
        // A "p" during the game's last sowing here may be the play-again of a
        // copy already past the end: it waits until this side is there too.
        if (first == 'p' && !net_link.awaiting_rematch && !may_be_pause && !net_link.peer_paused &&
            match.game_result == kInPlay && ends_game_after("")) {
            return;
        }
        net_link.play_again_may_be_pause = false;
        remove_front(1);
        if ((first == 'p' || first == 'P') && net_link.awaiting_rematch) {
            --net_link.awaiting_rematch;
            net_link.play_again_may_be_pause = first == 'p';
            return;
        }
        // After a "p" taken as play again, another: either the first was a
        // pause at the result and this the play-again, or this a pause in
        // the next game, whose "u" is to come. Either way the opponent is in
        // the next game; showing it unpaused lets the game go on in both.
        if (first == 'p' && may_be_pause) {
            return;
        }
        if (first == 'p' && !net_link.peer_paused) {
            take_pause();
            return;
        }
        if (first == 'u' && net_link.peer_paused) {
            take_unpause();
            return;
        }
        if (first == 'u' && may_be_pause) {
            ++net_link.awaiting_rematch;
            return;
        }
    }
}

}  // namespace

bool last_move_under_way() {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    return ends_game_after(net_link.inbox);
}

void send_message(const char* text) {
    std::snprintf(net_link.send_buffer, sizeof net_link.send_buffer, "%s", text);
    send_to_peer(net_link.send_buffer, std::strlen(net_link.send_buffer) + 1);
}

void send_move(int row, int column) {
    char text[3];
    std::snprintf(text, sizeof text, "%d%d", column, row);
    send_message(text);
}

void apply_lost_connection() {
    if (!net_link.connection_lost) {
        return;
    }
    match.starting_player = 2;
    new_game();
    // The same role again: the host listens, the joiner types an address.
    if (net_link.hosting) {
        net_link.awaiting_peer = true;
    } else {
        net_link.address_entry_open = true;
    }
    net_link.connected = false;
    net_link.awaiting_rematch = 0;
    net_link.quiet_disconnect = false;
    net_link.peer_paused = false;
    net_link.play_again_may_be_pause = false;
    net_link.network_game = true;
    // Last: the connection thread waits for this before it listens or
    // connects again.
    net_link.connection_lost = false;
}

void message_timer(int) {
    apply_lost_connection();
    if (net_link.port_taken) {
        back_to_menu();  // nobody can have joined
    }
    if (match.versus_human && net_link.network_game) {
        interpret_front();
    }
    arm_timer(100, message_timer);
}

void close_handler() {
    if (match.versus_human && net_link.network_game) {
        send_message("q");
        sleep_milliseconds(100);  // let it leave before the process ends
    }
}
