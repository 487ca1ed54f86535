// What the rules ask of the desktop: a timer, the hand that carries the
// seeds, the click of a seed. app/platform.cpp provides them for real,
// tests/fake_platform.cpp records every call, so the engine can be tested
// without a window.
#pragma once

using TimerCallback = void (*)(int);

// Calls `callback(0)` once, `milliseconds` from now, on the main thread.
void arm_timer(unsigned milliseconds, TimerCallback callback);

// Moves the mouse pointer onto a point of the drawing, wherever the drawing
// sits in the window, but only while the player is with the game.
void warp_pointer(int x, int y);

// The seed sound: a short click each time a seed drops or is taken.
void play_seed_sound();
