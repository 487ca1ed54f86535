// Draws the whole window for whichever screen shows.
#pragma once

// The display callback: composes the current picture, draws what changed
// since the frame on screen (or all of it) and keeps it as that frame.
void display_frame();

// The next frame is drawn and shown whole: the window's size changed, or
// what it showed was lost (it was covered, hidden or exposed).
void redraw_whole_window();

// With SOWROW_FRAME_STATS set, writes to standard error how many frames were
// drawn per second, once a second has passed since the last report; the main
// loop calls it on every pass, so idle seconds report 0.
void report_frame_rate();
