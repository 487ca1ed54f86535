// The move engine: plays a move out one step every 500 ms.
#pragma once

// Starts sowing from a pit. Callers check the pit may be played.
void begin_sowing(int row, int column);

// Timers: one engine step every 500 ms; the computer's moves every 100 ms.
void sowing_timer(int);
void computer_timer(int);

// Passes the turn, settles a finished game and lets the computer pick.
void end_turn();
