// The whole window for whichever screen shows, composed as a list of drawing
// operations from the state of the game.
#pragma once

#include "render/draw_list.h"

// Replaces the content of `frame` with the current picture.
void compose_frame(DrawList& frame);

// The frame the window shows now: the one display_frame drew last.
extern DrawList shown_frame;

// Which hover picture shows, 0 or 1, switched every 500 ms by its timer.
extern int blink_phase;
void toggle_blink(int);

// Composes the current picture and answers whether it differs from the one
// on screen, that is, whether a frame needs drawing.
bool picture_changed();
