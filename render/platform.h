// What the drawing asks of the desktop beyond OpenGL: the hand pointer, the
// window manager's hold on the window, the room the screen leaves it, and
// showing only a part of what was drawn. app/platform.cpp and app/desktop.cpp
// answer for X11 and GLX.
#pragma once

#include <vector>

#include "rules/layout.h"

// Installs the pointing hand over the window, so that the pointer looks like
// the hand that carries the seeds.
void show_hand_pointer();

// Whether the window manager holds the window maximized or full screen: its
// size is then the manager's to choose, and asking for another would undo it.
bool window_held_by_manager();

// The part of the screen windows may take (without panels and docks), and
// how far the window manager's frame reaches beyond the window on each side.
struct ScreenRoom {
    WindowRect work_area;
    WindowRect frame;  // extents: left, top, right, bottom
};
ScreenRoom screen_room();

// Where the outer top-left corner of the frame (of the window itself, where
// there is no frame) is on the screen, and moving it elsewhere.
Point frame_position();
void move_frame(int x, int y);

// Whether the window can show parts of its back buffer, leaving the rest of
// it and of the screen alone; then what was drawn stays in the back buffer.
bool parts_can_be_shown();
// Shows rectangles of the back buffer, in window pixels from the top-left;
// the whole of it, swapped, while the window's size is no longer the one
// it was drawn for (a reshape is then on its way).
void show_window_parts(const std::vector<WindowRect>& parts);
