// Recording fakes of the desktop services, for tests without a window.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "app/platform.h"
#include "rules/board.h"

struct ArmedTimer {
    unsigned milliseconds;
    TimerCallback callback;
};

struct ErrorBox {
    std::string text;
    std::string caption;
};

struct PlatformRecord {
    std::vector<ArmedTimer> timers;
    std::vector<Point> warps;
    int seed_sounds = 0;
    std::vector<ErrorBox> error_boxes;
    std::vector<int> sleeps;
    std::vector<int> exits;
    int pointer_shape = -1;
    std::string local_address = "192.0.2.7";
};

extern PlatformRecord platform;

// Calls of wake_main_loop, which come from the connection thread.
extern std::atomic<int> main_loop_wakes;

// Forgets every recorded call.
void reset_platform_record();

// Puts every record of the game back to its state at program start.
void reset_game_state();
