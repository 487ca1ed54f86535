// The drawing is made at its own 1000 x 400 in a texture and shown from there
// at the window's scale, so texts, outlines and pictures keep their places
// and proportions together in a window of any size, and a window of the
// drawing's own size shows it pixel for pixel. A driver without framebuffer
// objects draws straight into the fitted part of the window instead, its
// texts at their own size.
#pragma once

#include "render/window_fit.h"

// Directs the drawing operations to the drawing space.
void begin_drawing(const WindowFit& fit);

// Puts what was drawn into the window, scaled and centred, black around it.
void show_drawing(const WindowFit& fit);
