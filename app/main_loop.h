// The main loop draws a frame only when the picture changes, and otherwise
// sleeps until the next input, timer or word from the connection thread.
// It drives glutMainLoopEvent itself rather than running glutMainLoop:
// freeglut's own sleep cannot wait on the connection thread's wake-up, and
// with an idle callback freeglut would not sleep at all.
#pragma once

// Asks the driver to swap buffers once per vertical blank, where it can.
// Needs the window and its GL context to exist.
void request_swap_interval();

// Asks for a frame if the window shows and the current state composes a
// picture other than the one on screen. Called after every input callback,
// every timer and every wake-up by the connection thread.
void show_changes();

// The glutWindowStatusFunc callback: nothing is drawn while the window is
// hidden or fully covered, and it is drawn afresh when it shows again.
void on_window_status(int state);

// The display callback: the frame the loop asked for shows what changed;
// any other (the window exposed, resized or shown again) the whole window.
void on_display();

// Whether the window shows: neither hidden (iconified, on another workspace)
// nor fully covered.
bool window_shows();

// Serves input, timers and the frame, then sleeps until there is more to
// serve; never returns.
[[noreturn]] void run_main_loop();
