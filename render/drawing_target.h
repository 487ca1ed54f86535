// A drawing shown at another scale is made at its own 1000 x 400 in a texture
// and shown from there, so texts, outlines and pictures keep their places and
// proportions together in a window of any size. At its own scale, and with a
// driver that has no framebuffer objects, it is drawn straight into the
// fitted part of the window (the latter's texts at their own size).
//
// Where the driver can show parts of the back buffer, only the parts of the
// drawing that changed are drawn again and shown: the back buffer, and the
// texture, keep the rest from earlier frames.
#pragma once

#include "render/damage.h"
#include "render/draw_list.h"
#include "render/window_fit.h"

// Draws the frame, within the damaged parts of the drawing space only unless
// `whole`, and puts it on the screen, scaled and centred, black around it.
void draw_and_show(const DrawList& frame, const Damage& damage, bool whole, const WindowFit& fit);
