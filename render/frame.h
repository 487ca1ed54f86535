// Draws the whole window for whichever screen shows.
#pragma once

// The display callback: composes the current picture, draws it and keeps
// it as the frame on screen.
void display_frame();

// With SOWROW_FRAME_STATS set, writes to standard error how many frames were
// drawn per second, once a second has passed since the last report; the main
// loop calls it on every pass, so idle seconds report 0.
void report_frame_rate();
