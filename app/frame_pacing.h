// The game window is redrawn whenever the main loop has nothing else to do.
// Left alone that draws hundreds of frames a second and keeps a core busy;
// these pace it to about one frame per display refresh.
#pragma once

// Asks the driver to swap buffers once per vertical blank, where it can.
// Needs the window and its GL context to exist.
void request_swap_interval();

// The idle callback. Rests until the next frame is due, and draws it then;
// wakes early, without drawing, when a timer falls due or input arrives, so
// the main loop can serve them on time.
void redraw_when_due();
