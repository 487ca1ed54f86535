// A frame as data: the drawing operations of one picture, in painter's order.
// Composing one touches no OpenGL, so it can be compared with the frame on
// screen (an equal one needs no drawing) and read by tests; replay_draw_list
// (render/draw.h) draws it.
#pragma once

#include <vector>

#include "render/textures.h"

enum class DrawKind : unsigned char {
    kTexturedQuad,  // `texture` stretched over the rectangle, shaded by `colour`
    kMaskedSprite,  // `texture` is the mask, `image` the sprite's colours
    kFilledRect,    // untextured, in `colour`
    kOutlineRect,   // one pixel wide, in `colour`
    kText,          // `text` in `colour`, its baseline starting at (x0, y0)
};

struct Colour {
    float red, green, blue;
};

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{1, 1, 1};
constexpr Colour kBlue{0, 0, 1};
constexpr Colour kGreen{0, 1, 0};
constexpr Colour kYellow{1, 1, 0};

// Room for the longest text of the game, the status texts, with the NUL.
constexpr int kDrawTextCapacity = 100;

struct DrawOp {
    DrawKind kind;
    TextureName texture;
    TextureName image;
    float x0, y0, x1, y1;
    Colour colour;
    char text[kDrawTextCapacity];
};

bool operator==(const DrawOp& a, const DrawOp& b);
inline bool operator!=(const DrawOp& a, const DrawOp& b) {
    return !(a == b);
}

using DrawList = std::vector<DrawOp>;

// A picture's shade s is the colour (s, s, s): 1 shows it as stored.
void add_textured_quad(DrawList& list, TextureName texture, float x0, float y0, float x1, float y1,
                       float shade);
void add_masked_sprite(DrawList& list, TextureName mask, TextureName image, float x0, float y0,
                       float x1, float y1);
// The 18 x 20 seed sprite centred on a seed's point.
void add_seed(DrawList& list, int x, int y);
void add_filled_rect(DrawList& list, float x0, float y0, float x1, float y1, Colour colour);
void add_outline_rect(DrawList& list, float x0, float y0, float x1, float y1, Colour colour);
// An empty text draws nothing and adds nothing.
void add_text(DrawList& list, float x, float y, const char* text, Colour colour);
