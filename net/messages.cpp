#include "net/messages.h"

#include <cstdio>
#include <cstring>

#include "net/connection.h"
#include "net/link.h"
#include "net/platform.h"
#include "rules/board.h"
#include "rules/platform.h"
#include "rules/playout.h"
#include "rules/sowing.h"

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

// Whether one of the picks of `player` from these counts ends the game: at a
// turn's start any pit of their row, else the relay from the pit after
// `source`.
bool some_pick_ends_game(const PitCounts& counts, int player, bool new_turn, PitPosition source) {
    if (!new_turn) {
        return move_ends_game(counts, next_pit(source), player);
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const PitPosition pit{own_row(player), column};
        if (counts[pit_index(pit)] > 0 && move_ends_game(counts, pit, player)) {
            return true;
        }
    }
    return false;
}

// Whether the move under way here ends the game before anyone has to act:
// its sowing, running or held by a pause, then the opponent's moves in
// `moves`, played out on a copy of the counts; where they run out with the
// opponent to move, `any_pick` asks whether one of its picks could.
bool ends_game_after(const char* moves, bool any_pick) {
    PitCounts counts = pit_counts();
    int player = match.current_player, drops = 0;
    bool new_turn = match.new_turn, sowing = match.sowing_active;
    PitPosition source{match.source_row, match.source_column};
    for (;;) {
        HandEmptied hand{HandEmptied::kCapture, source, {match.capture_row, match.capture_column}};
        if (sowing && !match.capture_pending) {
            hand = sow_out(counts, source, {match.sow_row, match.sow_column}, drops);
        } else if (!sowing) {  // the next pick or relay must have come already
            if (!is_digit(moves[0]) || !is_digit(moves[1])) {
                return any_pick && player == opponent_player() &&
                       some_pick_ends_game(counts, player, new_turn, source);
            }
            const PitPosition pit{moves[1] - '0', moves[0] - '0'};
            moves += 2;
            const bool fits = new_turn ? pit.row == own_row(player) : pit == next_pit(source);
            if (player != opponent_player() || !fits || !is_on_board(pit.row, pit.column) ||
                counts[pit_index(pit)] == 0) {
                return false;
            }
            hand = sow_out(counts, pit, pit, drops);
        }
        sowing = new_turn = false;
        if (hand.next == HandEmptied::kEndless) {
            return false;
        }
        if (hand.next == HandEmptied::kRelay) {
            source = hand.last;  // waits for the relay from the pit after it
            continue;
        }
        counts[pit_index(hand.pit)] = 0;
        player = player == 1 ? 2 : 1;
        new_turn = true;
        if (is_game_over(counts, player)) {
            return true;
        }
    }
}

// Whether a received move must wait: this side is still playing out the
// previous one, its own pause prompt is open or its game is over.
bool move_must_wait() {
    return match.sowing_active || paused_here() || match.game_result != kInPlay;
}

WireView view_of_front() {
    const char first = net_link.inbox[0];
    WireView view{first,
                  first == '\0' ? '\0' : net_link.inbox[1],
                  awaiting_rematch() > 0,
                  net_link.play_again_may_be_pause,
                  paused_by_opponent(),
                  move_must_wait(),
                  false};
    // Played out only where it can matter.
    view.last_move_under_way =
        first == 'p' && match.game_result == kInPlay && ends_game_after("", false);
    return view;
}

// Only a copy that has played again, with no prompt open, moves.
void opponent_plays() {
    net_link.rematches_seen = match.games_ended;
    net_link.play_again_may_be_pause = false;
    match.paused_by &= ~kPausedByOpponent;
}

void take_move() {
    const PitPosition pit{net_link.inbox[1] - '0', net_link.inbox[0] - '0'};
    remove_front(2);
    if (may_pick(opponent_player(), pit)) {
        begin_sowing(pit.row, pit.column);
    }
}

// Does what the front means; answers whether the next byte is read at once.
bool apply(WireAction action) {
    using A = WireAction;
    if (action == A::kMoveWaits || action == A::kBrokenMove || action == A::kMove) {
        opponent_plays();
        if (action == A::kMove) {
            take_move();
        } else if (action == A::kBrokenMove) {
            remove_front(1);
        }
        return false;
    }
    if (action == A::kWait) {
        return false;
    }
    net_link.play_again_may_be_pause = action == A::kPlayAgain && net_link.inbox[0] == 'p';
    remove_front(1);
    net_link.rematches_seen += action == A::kPlayAgain ? 1 : action == A::kUndoPlayAgain ? -1 : 0;
    if (action == A::kPause) {
        match.paused_by |= kPausedByOpponent;
    } else if (action == A::kUnpause) {
        match.paused_by &= ~kPausedByOpponent;
    }
    return action == A::kSkip;
}

}  // namespace

// The copies play a game's last move each on its own clock, so one can end
// the game and start the next while the other still sows. "P" is only ever
// play again and waits at the front until this side's game is over too. "p"
// is a pause while this side plays; once its game is over it is taken as
// play again, which a copy that sends "p" for both means by it. A byte that
// means nothing in this side's state is dropped so it holds back nothing.
WireAction read_front(const WireView& view) {
    const char first = view.first;
    if (first == '\0') {
        return WireAction::kWait;
    }
    if (is_digit(first)) {
        if (view.second != '\0' && !is_digit(view.second)) {
            return WireAction::kBrokenMove;
        }
        // The rest of the move may still be on its way.
        return view.second == '\0' || view.move_must_wait ? WireAction::kMoveWaits
                                                          : WireAction::kMove;
    }
    const bool play_again_or_pause = first == 'p' || first == 'P';
    if (play_again_or_pause && view.awaiting_rematch) {
        return WireAction::kPlayAgain;
    }
    if (first == 'P') {
        return WireAction::kWait;
    }
    if (first == 'p' && view.play_again_may_be_pause) {
        return WireAction::kSecondPause;
    }
    // During the game's last sowing here a "p" may be the play-again of a
    // copy already past the end: it waits until this side is there too.
    if (first == 'p' && !view.opponent_paused) {
        return view.last_move_under_way ? WireAction::kWait : WireAction::kPause;
    }
    if (first == 'u' && view.opponent_paused) {
        return WireAction::kUnpause;
    }
    if (first == 'u' && view.play_again_may_be_pause) {
        return WireAction::kUndoPlayAgain;
    }
    return WireAction::kSkip;
}

bool last_move_may_be_under_way() {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    return ends_game_after(net_link.inbox, true);
}

void send_message(const char* text) {
    send_to_peer(text, std::strlen(text) + 1);
}

void send_move(int row, int column) {
    char text[3];
    std::snprintf(text, sizeof text, "%d%d", column, row);
    send_message(text);
}

void message_timer(int) {
    if (in_network_game()) {
        std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
        while (apply(read_front(view_of_front()))) {
        }
    }
    arm_timer(100, message_timer);
}

void close_handler() {
    if (in_network_game()) {
        send_message("q");
        sleep_milliseconds(100);  // let it leave before the process ends
    }
}
