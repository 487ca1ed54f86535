#include "render/window_fit.h"

#include <algorithm>
#include <cmath>

WindowFit window_fit = fit_drawing(kDrawingWidth, kDrawingHeight);

WindowFit fit_drawing(int window_width, int window_height) {
    const double scale = std::min(static_cast<double>(window_width) / kDrawingWidth,
                                  static_cast<double>(window_height) / kDrawingHeight);
    // Never empty, so the mappings below never divide by zero.
    const int width = std::max(1, static_cast<int>(std::lround(kDrawingWidth * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(kDrawingHeight * scale)));
    const int left = (window_width - width) / 2;
    const int top = (window_height - height) / 2;
    return {window_width, window_height, {left, top, left + width, top + height}};
}

namespace {

// Along one axis: the drawing coordinate of a window pixel's centre, and back.
int to_drawing(int at, int start, int end, int extent) {
    return static_cast<int>(std::floor((at - start + 0.5) * extent / (end - start)));
}

int to_window(int at, int start, int end, int extent) {
    return start + static_cast<int>(std::floor((at + 0.5) * (end - start) / extent));
}

}  // namespace

Point window_to_drawing(const WindowFit& fit, int x, int y) {
    const WindowRect& area = fit.drawing;
    return {to_drawing(x, area.left, area.right, kDrawingWidth),
            to_drawing(y, area.top, area.bottom, kDrawingHeight)};
}

Point drawing_to_window(const WindowFit& fit, int x, int y) {
    const WindowRect& area = fit.drawing;
    return {to_window(x, area.left, area.right, kDrawingWidth),
            to_window(y, area.top, area.bottom, kDrawingHeight)};
}

namespace {

// Where a span of `size` starting at `at` comes to lie wholly in [low, high),
// moved as little as it can be; at `low` when it is longer.
int moved_within(int at, int size, int low, int high) {
    return std::max(low, std::min(at, high - size));
}

}  // namespace

WindowPlace place_window(const ScreenRoom& room, Point frame_corner) {
    const WindowRect &area = room.work_area, &frame = room.frame;
    const int room_width = area.right - area.left - frame.left - frame.right;
    const int room_height = area.bottom - area.top - frame.top - frame.bottom;
    int width = kDrawingWidth, height = kDrawingHeight;
    if (width > room_width || height > room_height) {
        // Whole steps of 5 x 2 keep the shape exact.
        const int steps = std::max(1, std::min(room_width / 5, room_height / 2));
        width = 5 * steps;
        height = 2 * steps;
    }
    const int outer_width = width + frame.left + frame.right;
    const int outer_height = height + frame.top + frame.bottom;
    return {{moved_within(frame_corner.x, outer_width, area.left, area.right),
             moved_within(frame_corner.y, outer_height, area.top, area.bottom)},
            width,
            height};
}
