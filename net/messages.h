// The tiny text messages two copies of the game exchange, and how this side
// reads the opponent's.
#pragma once

#include <cstddef>

// Sends the text and its terminating NUL to the opponent; failures are ignored.
void send_message(const char* text);

// Sends the move text of a pit: the column digit, then the row digit.
void send_move(int row, int column);

// What the byte at the front of the inbox means, given what this side knows.
enum class WireAction {
    kWait,           // it stays at the front for a later tick
    kSkip,           // a stray, dropped; the next byte is read at once
    kMoveWaits,      // a move of an opponent that plays: it waits at the front
    kBrokenMove,     // a digit not followed by one: the digit is dropped
    kMove,           // the move is taken and sown, if its pit may be picked
    kPause,          // the opponent's pause prompt opened
    kUnpause,        // and closed
    kPlayAgain,      // the opponent played again
    kSecondPause,    // a "p" after a "p" taken as play again: either way,
                     // the opponent is in the next game
    kUndoPlayAgain,  // a "u" after a "p" taken as play again: it was a pause
};

// What decides how the front is read.
struct WireView {
    char first, second;  // the first two bytes of the inbox, NUL past its end
    bool awaiting_rematch;
    bool play_again_may_be_pause;
    bool opponent_paused;
    // This side sows, its pause prompt is open or its game is over.
    bool move_must_wait;
    // The move under way here ends the game without anyone having to act.
    bool last_move_under_way;
};

WireAction read_front(const WireView& view);

// Whether the move under way, with the opponent's moves already received,
// ends the game without anyone having to act, or, with the opponent to move
// next, one of its picks could: the opponent's copy may then be past the
// game's end, where a "p" means play again.
bool last_move_may_be_under_way();

// Reads the opponent's messages: at most one every 100 ms, as it sends them.
void message_timer(int);

// The window is closing: tell a network opponent.
void close_handler();
