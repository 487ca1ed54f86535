// The few services the game asks of the desktop. The game logic calls only
// these; app/platform.cpp provides them for real, tests/fake_platform.cpp
// records every call so handlers and timers can be tested without a window.
#pragma once

#include <cstddef>

using TimerCallback = void (*)(int);

// Calls `callback(0)` once, `milliseconds` from now, on the main thread.
void arm_timer(unsigned milliseconds, TimerCallback callback);

// Moves the mouse pointer onto a point of the drawing, wherever the drawing
// sits in the window, but only while the player is with the game.
void warp_pointer(int x, int y);

// The seed sound: a short click each time a seed drops or is taken.
void play_seed_sound();

// A modal error box with one OK button. Blocks the calling thread until the
// player dismisses it; the game window keeps running meanwhile. Where no box
// can be shown at all, the text goes to standard error instead.
void show_error_box(const char* text, const char* caption);

void sleep_milliseconds(int milliseconds);

// Wakes the main loop from its sleep so it looks for a changed picture at
// once. The connection thread calls it right after changing what the board
// shows; safe from any thread.
void wake_main_loop();

// Ends the process at once, first removing the router's forwarding of the
// game's port, if any. The recording fake returns, so callers must return
// straight after calling it.
void exit_program(int status);

// The pointing-hand pointer shape, and installing a shape over the window.
int hand_pointer_shape();
void set_pointer_shape(int shape);

// The dotted IPv4 address an opponent can best reach this machine at (see
// choose_host_address), or "0.0.0.0" when it has none.
void local_ipv4_address(char* text, std::size_t capacity);
