// Where things are in the drawing space: 1000 x 400, from its top-left
// corner, y downward, one unit a window pixel when the window has its own
// size. Drawing, hit tests and the pointer's moves all read these, so a
// button cannot be drawn in one place and clicked in another.
#pragma once

struct Point {
    int x;
    int y;
};
inline bool operator==(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

struct WindowRect {
    int left, top, right, bottom;
};

constexpr WindowRect shifted(const WindowRect& area, int dx, int dy) {
    return {area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
}
constexpr WindowRect grown(const WindowRect& area, int by) {
    return {area.left - by, area.top - by, area.right + by, area.bottom + by};
}

constexpr int kDrawingWidth = 1000;  // also the size the window asks for
constexpr int kDrawingHeight = 400;

// Pit (row, column) lies kPitSpacingX * column to the right of pit (0, 0)
// and kPitSpacingY * row below it.
constexpr int kPitSpacingX = 100;
constexpr int kPitSpacingY = 130;
// Pit (0, 0): the outline drawn around it, and the smaller area a click
// must fall strictly inside.
constexpr WindowRect kPitOutline{160, 85, 240, 185};
constexpr WindowRect kPitHitArea{165, 90, 235, 180};
// That area of pit (0, 0) moved to pit (row, column).
constexpr WindowRect at_pit(const WindowRect& area, int row, int column) {
    return shifted(area, kPitSpacingX * column, kPitSpacingY * row);
}
// Seed centres of pit (0, 0) fall in a kSeedSpread-pixel square from here.
constexpr int kSeedAreaLeft = 185;
constexpr int kSeedAreaTop = 120;
constexpr int kSeedSpread = 30;

// Every seed sprite is 18 x 20, centred on its seed's point; the pointer
// touches a floating seed strictly inside that rectangle.
constexpr int kSeedHalfWidth = 9;
constexpr int kSeedHalfHeight = 10;
constexpr WindowRect seed_sprite(int x, int y) {
    return {x - kSeedHalfWidth, y - kSeedHalfHeight, x + kSeedHalfWidth, y + kSeedHalfHeight};
}

// Stores fill in columns of 13 seeds, 15 pixels apart both ways; these are
// the centres of each store's first slot.
constexpr int kStoreColumnHeight = 13;
constexpr int kStoreSlotSpacing = 15;
constexpr int kPlayer1StoreX = 879;
constexpr int kPlayer2StoreX = 79;
constexpr int kStoreTopY = 110;

// Menus and help pages show a picture here; a black frame hides the rest.
constexpr WindowRect kPictureArea{200, 10, 800, 390};

// Menu button slot i is kButtonSpacing * i below slot 0; the highlighted
// button grows by kHighlightGrowth on every side. A click counts strictly
// inside the normal rectangle.
constexpr WindowRect kFirstButtonSlot{360, 155, 670, 195};
constexpr int kButtonSpacing = 55;
constexpr int kHighlightGrowth = 4;
constexpr int kMenuSlotCount = 4;
constexpr WindowRect button_slot(int slot) {
    return shifted(kFirstButtonSlot, 0, kButtonSpacing * slot);
}

constexpr WindowRect kExitBox{350, 100, 650, 300};
constexpr WindowRect kExitYesButton{390, 180, 490, 240};
constexpr WindowRect kExitNoButton{510, 180, 610, 240};
