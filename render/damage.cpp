#include "render/damage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Helvetica 18 as GLUT draws it: no glyph advances more than 18 pixels, and
// its bitmaps reach 18 rows above the baseline and 5 below.
constexpr int kWidestGlyph = 18;
constexpr int kGlyphAscent = 18;
constexpr int kGlyphDescent = 5;

bool touch(const WindowRect& a, const WindowRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

WindowRect joined(const WindowRect& a, const WindowRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

WindowRect within_drawing(const WindowRect& area) {
    return {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, kDrawingWidth),
            std::min(area.bottom, kDrawingHeight)};
}

// Adds a rectangle, merging it with every one it touches, and those merged
// rectangles with the rest in turn.
void add_part(Damage& damage, WindowRect part) {
    part = within_drawing(part);
    if (part.left >= part.right || part.top >= part.bottom) {
        return;
    }
    for (auto other = damage.begin(); other != damage.end();) {
        if (touch(*other, part)) {
            part = joined(part, *other);
            damage.erase(other);
            other = damage.begin();
        } else {
            ++other;
        }
    }
    damage.push_back(part);
}

// One pixel more on every side than the corners give: a corner between two
// pixels lights neither fully, and rounding may take either.
WindowRect op_bounds(const DrawOp& op) {
    if (op.kind == DrawKind::kText) {
        const int x = static_cast<int>(std::floor(op.x0));
        const int y = static_cast<int>(std::floor(op.y0));
        const int width = kWidestGlyph * static_cast<int>(std::strlen(op.text));
        return {x - 1, y - kGlyphAscent - 1, x + width + 1, y + kGlyphDescent + 1};
    }
    // An outline lights the pixel rows and columns of its far corner too.
    const int reach = op.kind == DrawKind::kOutlineRect ? 1 : 0;
    return {static_cast<int>(std::floor(std::min(op.x0, op.x1))) - 1,
            static_cast<int>(std::floor(std::min(op.y0, op.y1))) - 1,
            static_cast<int>(std::ceil(std::max(op.x0, op.x1))) + reach + 1,
            static_cast<int>(std::ceil(std::max(op.y0, op.y1))) + reach + 1};
}

}  // namespace

// Operations are compared place by place: one added or taken away shifts the
// rest, and all of them then count as changed, which costs drawing but never
// leaves a pixel stale.
Damage frame_damage(const DrawList& before, const DrawList& after) {
    Damage damage;
    const std::size_t longest = std::max(before.size(), after.size());
    for (std::size_t at = 0; at < longest; ++at) {
        const bool in_before = at < before.size(), in_after = at < after.size();
        if (in_before && in_after && before[at] == after[at]) {
            continue;
        }
        if (in_before) {
            add_part(damage, op_bounds(before[at]));
        }
        if (in_after) {
            add_part(damage, op_bounds(after[at]));
        }
    }
    if (static_cast<int>(damage.size()) > kMostDamagedParts) {
        WindowRect all = damage.front();
        for (const WindowRect& part : damage) {
            all = joined(all, part);
        }
        damage.assign(1, all);
    }
    return damage;
}
