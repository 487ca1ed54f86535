#include "render/window_fit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace {

struct FitRow {
    int width, height;
    WindowRect drawing;
    Point window_point, drawing_under_it;    // window to drawing
    Point drawing_point, window_showing_it;  // and back
};

// clang-format off
// As the window gets it: its own size, maximized under openbox on a
// 1280 x 1024 screen, a half-screen tile, full screen on a 4K monitor.
const FitRow kRows[] = {
    {1000,  400, {0,   0, 1000,  400}, {361, 156}, {361, 156}, {999, 399}, { 999,  399}},
    {1280, 1005, {0, 246, 1280,  758}, {512, 419}, {400, 135}, {400, 265}, { 512,  585}},
    { 636,  778, {0, 262,  636,  516}, {254, 348}, {400, 136}, {400, 265}, { 254,  430}},
    {3840, 2160, {0, 312, 3840, 1848}, {  0, 311}, {  0,  -1}, {500, 200}, {1921, 1081}},
};
// clang-format on

TEST(WindowFit, OneScaleCentredAndTheSameMappingBothWays) {
    for (const FitRow& row : kRows) {
        const WindowFit fit = fit_drawing(row.width, row.height);
        const WindowRect &area = fit.drawing, &expected = row.drawing;
        EXPECT_EQ(std::tie(area.left, area.top, area.right, area.bottom),
                  std::tie(expected.left, expected.top, expected.right, expected.bottom));
        EXPECT_EQ(window_to_drawing(fit, row.window_point.x, row.window_point.y),
                  row.drawing_under_it)
            << row.width;
        EXPECT_EQ(drawing_to_window(fit, row.drawing_point.x, row.drawing_point.y),
                  row.window_showing_it)
            << row.width;
        // A point warped to is found again under the pointer, to a pixel
        // of a window that shows the drawing smaller.
        const int slack = area.right - area.left < kDrawingWidth ? 1 : 0;
        for (int x = 0; x < kDrawingWidth; x += 7) {
            for (int y = 0; y < kDrawingHeight; y += 3) {
                const Point shown = drawing_to_window(fit, x, y);
                const Point found = window_to_drawing(fit, shown.x, shown.y);
                ASSERT_LE(std::abs(found.x - x), slack) << row.width << " " << x;
                ASSERT_LE(std::abs(found.y - y), slack) << row.width << " " << y;
            }
        }
    }
}

struct PlaceRow {
    WindowRect work_area, frame;  // the frame's extents: left, top, right, bottom
    Point corner, placed_corner;
    int width, height;
};

// clang-format off
// A large screen under openbox; 800 x 600 without a window manager and with
// openbox; a panel along the top; a screen too small for any frame at all.
const PlaceRow kPlaces[] = {
    {{0,  0, 1920, 1080}, {1, 20, 1, 5}, {100, 100}, {100, 100}, 1000, 400},
    {{0,  0,  800,  600}, {0,  0, 0, 0}, {100, 100}, {  0, 100},  800, 320},
    {{0,  0,  800,  600}, {1, 20, 1, 5}, {100, 100}, {  3, 100},  795, 318},
    {{0, 30, 1024,  768}, {0,  0, 0, 0}, {100,   0}, { 24,  30}, 1000, 400},
    {{0,  0,    4,    2}, {1, 20, 1, 5}, {100, 100}, {  0,   0},    5,   2},
};
// clang-format on

TEST(WindowFit, PlacedWhollyInTheRoomInItsOwnShape) {
    for (const PlaceRow& row : kPlaces) {
        const WindowPlace place = place_window({row.work_area, row.frame}, row.corner);
        EXPECT_EQ(place.frame_corner, row.placed_corner) << row.work_area.right;
        EXPECT_EQ(std::tie(place.width, place.height), std::tie(row.width, row.height))
            << row.work_area.right;
    }
}

}  // namespace
