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

// How far ahead a change is looked for: the seeds of a pit are the most
// operations one change adds or takes away at once.
constexpr std::size_t kLookAhead = 64;

// Where `op` next comes in `list` from `from` on, within the look-ahead; the
// list's end if it does not.
std::size_t found_ahead(const DrawList& list, std::size_t from, const DrawOp& op) {
    const std::size_t end = std::min(list.size(), from + kLookAhead);
    for (std::size_t at = from; at < end; ++at) {
        if (list[at] == op) {
            return at;
        }
    }
    return list.size();
}

// Damages what the operations of `list` from `at` to `until` light, and
// moves `at` past them.
void damage_run(Damage& damage, const DrawList& list, std::size_t& at, std::size_t until) {
    for (; at < until && at < list.size(); ++at) {
        add_part(damage, op_bounds(list[at]));
    }
}

}  // namespace

bool lights_within(const DrawOp& op, const WindowRect& area) {
    const WindowRect bounds = op_bounds(op);
    return bounds.left < area.right && area.left < bounds.right && bounds.top < area.bottom &&
           area.top < bounds.bottom;
}

// The two lists are walked side by side. An operation of one found a little
// ahead in the other means the ones skipped were added or taken away; else
// both are changed. The operations kept are then drawn in the same order in
// both frames, so outside the damage every pixel is as it was.
Damage frame_damage(const DrawList& before, const DrawList& after) {
    Damage damage;
    std::size_t old_at = 0, new_at = 0;
    while (old_at < before.size() || new_at < after.size()) {
        const bool old_left = old_at < before.size(), new_left = new_at < after.size();
        if (old_left && new_left && before[old_at] == after[new_at]) {
            ++old_at, ++new_at;
        } else if (const std::size_t added =
                       old_left ? found_ahead(after, new_at, before[old_at]) : after.size();
                   added < after.size()) {
            damage_run(damage, after, new_at, added);
        } else if (const std::size_t taken =
                       new_left ? found_ahead(before, old_at, after[new_at]) : before.size();
                   taken < before.size()) {
            damage_run(damage, before, old_at, taken);
        } else {  // changed in place, or past the end of one list
            damage_run(damage, before, old_at, old_at + 1);
            damage_run(damage, after, new_at, new_at + 1);
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
