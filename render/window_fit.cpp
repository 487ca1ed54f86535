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
