#include "render/draw_list.h"

#include <cstdio>
#include <cstring>

#include "rules/layout.h"

namespace {

DrawOp& add(DrawList& list, DrawKind kind, float x0, float y0, float x1, float y1, Colour colour) {
    list.push_back(DrawOp{});
    DrawOp& op = list.back();
    op.kind = kind;
    op.x0 = x0;
    op.y0 = y0;
    op.x1 = x1;
    op.y1 = y1;
    op.colour = colour;
    return op;
}

}  // namespace

bool operator==(const DrawOp& a, const DrawOp& b) {
    return a.kind == b.kind && a.texture == b.texture && a.image == b.image && a.x0 == b.x0 &&
           a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 && a.colour.red == b.colour.red &&
           a.colour.green == b.colour.green && a.colour.blue == b.colour.blue &&
           std::strcmp(a.text, b.text) == 0;
}

void add_textured_quad(DrawList& list, TextureName texture, float x0, float y0, float x1, float y1,
                       float shade) {
    add(list, DrawKind::kTexturedQuad, x0, y0, x1, y1, Colour{shade, shade, shade}).texture =
        texture;
}

void add_masked_sprite(DrawList& list, TextureName mask, TextureName image, float x0, float y0,
                       float x1, float y1) {
    DrawOp& op = add(list, DrawKind::kMaskedSprite, x0, y0, x1, y1, kWhite);
    op.texture = mask;
    op.image = image;
}

void add_seed(DrawList& list, int x, int y) {
    const WindowRect sprite = seed_sprite(x, y);
    add_masked_sprite(list, textures.seed1_mask, textures.seed1, sprite.left, sprite.top,
                      sprite.right, sprite.bottom);
}

void add_filled_rect(DrawList& list, float x0, float y0, float x1, float y1, Colour colour) {
    add(list, DrawKind::kFilledRect, x0, y0, x1, y1, colour);
}

void add_outline_rect(DrawList& list, float x0, float y0, float x1, float y1, Colour colour) {
    add(list, DrawKind::kOutlineRect, x0, y0, x1, y1, colour);
}

void add_text(DrawList& list, float x, float y, const char* text, Colour colour) {
    if (text[0] == '\0') {
        return;
    }
    DrawOp& op = add(list, DrawKind::kText, x, y, x, y, colour);
    std::snprintf(op.text, sizeof op.text, "%s", text);
}
