// What the network play asks of the desktop; app/platform.cpp provides it
// for real, tests/fake_platform.cpp records it.
#pragma once

#include <cstddef>

// A modal error box with one OK button. Blocks the calling thread until the
// player dismisses it; the game window keeps running meanwhile. Where no box
// can be shown at all, the text goes to standard error instead.
void show_error_box(const char* text, const char* caption);

void sleep_milliseconds(int milliseconds);

// Wakes the main loop from its sleep so it looks for a changed picture at
// once. The connection thread calls it right after changing what the board
// shows; safe from any thread.
void wake_main_loop();

// The dotted IPv4 address an opponent can best reach this machine at (see
// choose_host_address), or "0.0.0.0" when it has none.
void local_ipv4_address(char* text, std::size_t capacity);
