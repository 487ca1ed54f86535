// Where the drawing space sits in a window of whatever size the window
// manager grants: one scale for both axes, centred, black around it. Every
// click, every pointer move and every warp of the hand goes through the same
// mapping, so each lands on what is drawn there.
#pragma once

#include "render/platform.h"
#include "rules/layout.h"

struct WindowFit {
    int window_width, window_height;
    WindowRect drawing;  // in window pixels; right and bottom lie just outside
};

WindowFit fit_drawing(int window_width, int window_height);

// The drawing point under the centre of a window pixel; beside the drawing
// it lies off its edges, where nothing is hit.
Point window_to_drawing(const WindowFit& fit, int x, int y);

// The window pixel that shows a drawing point.
Point drawing_to_window(const WindowFit& fit, int x, int y);

// The window as the last reshape found it.
extern WindowFit window_fit;

// The place and size the window asks for: its own size where that fits the
// room with the frame around it, else the largest of the same 5 : 2 shape
// that does; the frame's corner moved only as far as it must to lie wholly
// in the room.
struct WindowPlace {
    Point frame_corner;
    int width, height;
};
WindowPlace place_window(const ScreenRoom& room, Point frame_corner);
