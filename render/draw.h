// The drawing space and the operations every picture is made of.
#pragma once

#include <GL/gl.h>

#include "render/draw_list.h"
#include "render/textures.h"
#include "rules/layout.h"

void on_reshape(int width, int height);

// Asks for the window's own size, or the largest of its shape that the
// screen has room for, and moves it wholly onto the screen if need be; not
// while the window manager holds it maximized or full screen.
void ask_for_window_place();

// Whether a driver's space-separated list of extensions names one, whole.
bool has_extension(const char* extensions, const char* name);

// Text in the game's one bitmap font; the caller sets the colour and turns
// texturing off around it.
void draw_text(float x, float y, const char* text);

void draw_textured_quad(GLuint texture, float x0, float y0, float x1, float y1, float shade);

// A picture with transparent parts: the mask cuts a hole, the image fills it.
void draw_masked_sprite(GLuint mask, GLuint image, float x0, float y0, float x1, float y1);

// Untextured shapes; both switch texturing off while they draw and back on.
void draw_filled_rect(float x0, float y0, float x1, float y1, float r, float g, float b);
void draw_outline_rect(float x0, float y0, float x1, float y1, float r, float g, float b);

// Issues every operation of the list, in order, through the calls above;
// given an area, only those that light a pixel of it.
void replay_draw_list(const DrawList& list, const WindowRect* within = nullptr);
