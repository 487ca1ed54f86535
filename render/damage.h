// Where two frames differ: the few rectangles of the drawing space that must
// be drawn again, and shown again, to turn the one into the other. A frame
// then costs what changed in it, not the size of the window.
#pragma once

#include <vector>

#include "render/draw_list.h"
#include "rules/layout.h"

using Damage = std::vector<WindowRect>;

// Kept apart while they are few; beyond this they become one rectangle.
constexpr int kMostDamagedParts = 8;

// The rectangles (right and bottom just outside) that cover every pixel an
// operation of either frame lights where the two lists differ, merged where
// they touch, within the drawing space.
Damage frame_damage(const DrawList& before, const DrawList& after);

// Whether an operation may light a pixel of the area.
bool lights_within(const DrawOp& op, const WindowRect& area);
