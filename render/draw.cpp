#include "render/draw.h"

#include <GL/freeglut.h>

#include <cstring>

#include "render/damage.h"
#include "rules/layout.h"

bool has_extension(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* found = extensions; (found = std::strstr(found, name)) != nullptr;
         found += length) {
        const bool starts = found == extensions || found[-1] == ' ';
        const bool ends = found[length] == ' ' || found[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

void draw_text(float x, float y, const char* text) {
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, static_cast<unsigned char>(*c));
}

// Images are stored bottom-up, so the top edge takes texture row 1.
static void textured_quad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y0);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y1);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y1);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y0);
    glEnd();
}

void draw_textured_quad(GLuint texture, float x0, float y0, float x1, float y1, float shade) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor3f(shade, shade, shade);
    textured_quad(x0, y0, x1, y1);
}

void draw_masked_sprite(GLuint mask, GLuint image, float x0, float y0, float x1, float y1) {
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, mask);
    glColor3f(1, 1, 1);
    textured_quad(x0, y0, x1, y1);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, image);
    glColor3f(1, 1, 1);
    textured_quad(x0, y0, x1, y1);
    glBlendFunc(GL_ONE, GL_ZERO);
}

void draw_filled_rect(float x0, float y0, float x1, float y1, float r, float g, float b) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(r, g, b);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x1, y0);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

static void pixel_band(float x0, float y0, float x1, float y1) {
    glVertex2f(x0, y0);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x1, y0);
}

// Four one-pixel bands rather than a line loop: line rasterisation may leave
// out a corner pixel (Mesa drops one), filled quads light exactly the pixels
// from (x0, y0) to (x1, y1) inclusive.
void draw_outline_rect(float x0, float y0, float x1, float y1, float r, float g, float b) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(r, g, b);
    glBegin(GL_QUADS);
    pixel_band(x0, y0, x1 + 1, y0 + 1);
    pixel_band(x0, y1, x1 + 1, y1 + 1);
    pixel_band(x0, y0 + 1, x0 + 1, y1);
    pixel_band(x1, y0 + 1, x1 + 1, y1);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

// Bitmap text crashes Mesa's software renderer while texturing is on, so
// every text is drawn with it off.
static void draw_coloured_text(const DrawOp& op) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(op.colour.red, op.colour.green, op.colour.blue);
    draw_text(op.x0, op.y0, op.text);
    glEnable(GL_TEXTURE_2D);
}

void replay_draw_list(const DrawList& list, const WindowRect* within) {
    for (const DrawOp& op : list) {
        if (within != nullptr && !lights_within(op, *within)) {
            continue;
        }
        const Colour& colour = op.colour;
        switch (op.kind) {
            case DrawKind::kTexturedQuad:
                draw_textured_quad(op.texture, op.x0, op.y0, op.x1, op.y1, colour.red);
                break;
            case DrawKind::kMaskedSprite:
                draw_masked_sprite(op.texture, op.image, op.x0, op.y0, op.x1, op.y1);
                break;
            case DrawKind::kFilledRect:
                draw_filled_rect(op.x0, op.y0, op.x1, op.y1, colour.red, colour.green, colour.blue);
                break;
            case DrawKind::kOutlineRect:
                draw_outline_rect(op.x0, op.y0, op.x1, op.y1, colour.red, colour.green,
                                  colour.blue);
                break;
            case DrawKind::kText:
                draw_coloured_text(op);
                break;
        }
    }
}
