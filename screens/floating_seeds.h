// The seven decorative seeds that drift over the menus and help pages.
#pragma once

constexpr int kFloatingSeedCount = 7;

struct FloatingSeed {
    int x, y;    // centre
    int dx, dy;  // step per 100 ms tick, never both 0
};

extern FloatingSeed floating_seeds[kFloatingSeedCount];

// A new random place and direction; four rand draws: x, y, dx, dy.
void respawn_floating_seed(FloatingSeed& seed);

// Drifts every seed one step; its timer runs every 100 ms.
void move_floating_seeds(int);
