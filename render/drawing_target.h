// A drawing shown at another scale is made at its own 1000 x 400 in a texture
// and shown from there, so texts, outlines and pictures keep their places and
// proportions together in a window of any size. At its own scale, and with a
// driver that has no framebuffer objects, it is drawn straight into the
// fitted part of the window (the latter's texts at their own size).
#pragma once

#include "render/window_fit.h"

// Directs the drawing operations to the drawing space.
void begin_drawing(const WindowFit& fit);

// Puts what was drawn into the window, scaled and centred, black around it.
void show_drawing(const WindowFit& fit);
