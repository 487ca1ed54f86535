// The tiny text messages two copies of the game exchange.
#pragma once

#include <cstddef>

// Sends the text and its terminating NUL to the opponent; failures are ignored.
void send_message(const char* text);

// Sends the move text of a pit: the column digit, then the row digit.
void send_move(int row, int column);

// Resets the game after the connection thread has reported a lost
// connection; runs on the main thread, at the next tick of message_timer.
void apply_lost_connection();

// Whether the move under way, with the opponent's moves already received,
// ends the game without anyone having to act; the opponent's copy may then
// be past the game's end.
bool last_move_under_way();

// Interprets at most one received message every 100 ms.
void message_timer(int);

// The window is closing: tell a network opponent.
void close_handler();
