#include "screens/floating_seeds.h"

#include <cstdlib>

#include "rules/platform.h"

FloatingSeed floating_seeds[kFloatingSeedCount];

namespace {

// The visible picture area is (200, 10) to (800, 390); seeds wrap a little
// outside it so they slide in and out under the black frame.
constexpr int kWrapLeft = 180;
constexpr int kWrapRight = 800;
constexpr int kWrapTop = -10;
constexpr int kWrapBottom = 390;

}  // namespace

void respawn_floating_seed(FloatingSeed& seed) {
    seed.x = std::rand() % 600 + 200;
    seed.y = std::rand() % 380 + 10;
    seed.dx = std::rand() % 4 - 2;
    seed.dy = std::rand() % 4 - 2;
    if (seed.dx == 0 && seed.dy == 0) {
        seed.dx = -1;
        seed.dy = -1;
    }
}

void move_floating_seeds(int) {
    for (FloatingSeed& seed : floating_seeds) {
        seed.x += seed.dx;
        if (seed.x > kWrapRight) {
            seed.x = kWrapLeft;
        } else if (seed.x < kWrapLeft) {
            seed.x = kWrapRight;
        }
        seed.y += seed.dy;
        if (seed.y > kWrapBottom) {
            seed.y = kWrapTop;
        }
        if (seed.y < kWrapTop) {
            seed.y = kWrapBottom;
        }
    }
    arm_timer(100, move_floating_seeds);
}
