#define GL_GLEXT_PROTOTYPES
#include "render/drawing_target.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "render/draw.h"
#include "render/platform.h"

namespace {

GLuint framebuffer = 0;
GLuint drawing_texture = 0;

bool framebuffers_supported() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return (version != nullptr && std::atoi(version) >= 3) ||
           (extensions != nullptr && has_extension(extensions, "GL_ARB_framebuffer_object"));
}

bool make_drawing_texture() {
    glGenTextures(1, &drawing_texture);
    glBindTexture(GL_TEXTURE_2D, drawing_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, kDrawingWidth, kDrawingHeight, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Filtering must not blend one edge of the drawing into the other.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, drawing_texture, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}

// Made when the drawing is first scaled, and only once.
bool texture_ready() {
    static const bool ready = framebuffers_supported() && make_drawing_texture();
    return ready;
}

int shown_width(const WindowFit& fit) {
    return fit.drawing.right - fit.drawing.left;
}

bool scaled(const WindowFit& fit) {
    return shown_width(fit) != kDrawingWidth ||
           fit.drawing.bottom - fit.drawing.top != kDrawingHeight;
}

// OpenGL counts rows from the bottom; `area` is in pixels of a target
// `target_height` high.
void scissor_to(const WindowRect& area, int target_height) {
    glScissor(area.left, target_height - area.bottom, area.right - area.left,
              area.bottom - area.top);
}

void view_fitted_part(const WindowFit& fit) {
    const WindowRect& area = fit.drawing;
    glViewport(area.left, fit.window_height - area.bottom, shown_width(fit),
               area.bottom - area.top);
}

// The frame replayed inside each part only, the drawing space's corner at
// (`left`, `top`) of a target `target_height` high; the viewport is set.
void replay_within(const DrawList& frame, const Damage& parts, int left, int top,
                   int target_height) {
    glEnable(GL_SCISSOR_TEST);
    for (const WindowRect& part : parts) {
        scissor_to(shifted(part, left, top), target_height);
        glClear(GL_COLOR_BUFFER_BIT);
        replay_draw_list(frame, &part);
    }
    glDisable(GL_SCISSOR_TEST);
}

// The window pixels a changed part of the drawing shows in, scaled: filtering
// reaches a texel beyond it when enlarged, and a few when shrunk through the
// mipmaps.
WindowRect shown_part(const WindowFit& fit, const WindowRect& part) {
    const WindowRect& area = fit.drawing;
    const double x_scale = static_cast<double>(shown_width(fit)) / kDrawingWidth;
    const double y_scale = static_cast<double>(area.bottom - area.top) / kDrawingHeight;
    const int margin = 2 + (x_scale < 1 ? static_cast<int>(std::ceil(2 / x_scale)) : 0);
    const WindowRect wide = grown(part, margin);
    auto left_of = [](int at, double scale) { return static_cast<int>(std::floor(at * scale)); };
    auto right_of = [](int at, double scale) { return static_cast<int>(std::ceil(at * scale)); };
    return {std::max(area.left, area.left + left_of(wide.left, x_scale)),
            std::max(area.top, area.top + left_of(wide.top, y_scale)),
            std::min(area.right, area.left + right_of(wide.right, x_scale)),
            std::min(area.bottom, area.top + right_of(wide.bottom, y_scale))};
}

// Binds the drawing's texture, ready to be stretched over the fitted part.
void prepare_stretch(const WindowFit& fit) {
    view_fitted_part(fit);
    glBindTexture(GL_TEXTURE_2D, drawing_texture);
    // Shrunk, every pixel of the drawing counts, through its mipmaps; larger,
    // each window pixel blends the nearest four.
    if (shown_width(fit) < kDrawingWidth) {
        glGenerateMipmap(GL_TEXTURE_2D);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
}

void clear_window(const WindowFit& fit) {
    glViewport(0, 0, fit.window_width, fit.window_height);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Draws the parts into the texture and stretches them into the window; gives
// the window pixels they show in.
Damage draw_scaled(const DrawList& frame, const Damage& parts, bool whole, const WindowFit& fit) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, kDrawingWidth, kDrawingHeight);
    replay_within(frame, parts, 0, 0, kDrawingHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (whole) {
        clear_window(fit);
    }
    prepare_stretch(fit);
    Damage shown;
    glEnable(GL_SCISSOR_TEST);
    for (const WindowRect& part : parts) {
        shown.push_back(whole ? fit.drawing : shown_part(fit, part));
        scissor_to(shown.back(), fit.window_height);
        draw_textured_quad(drawing_texture, 0, 0, kDrawingWidth, kDrawingHeight, 1.0f);
    }
    glDisable(GL_SCISSOR_TEST);
    return shown;
}

// Draws the parts straight into the window at the drawing's own scale, or,
// scaled without framebuffer objects, the whole frame; gives the window
// pixels drawn.
Damage draw_in_window(const DrawList& frame, const Damage& parts, bool whole,
                      const WindowFit& fit) {
    if (whole || scaled(fit)) {
        clear_window(fit);
    }
    view_fitted_part(fit);
    if (scaled(fit)) {
        replay_draw_list(frame);
        return {{0, 0, fit.window_width, fit.window_height}};
    }
    replay_within(frame, parts, fit.drawing.left, fit.drawing.top, fit.window_height);
    Damage drawn;
    for (const WindowRect& part : parts) {
        drawn.push_back(shifted(part, fit.drawing.left, fit.drawing.top));
    }
    return drawn;
}

// Mesa's software renderer looks at the window's size again only at a swap;
// showing parts alone, its back buffer would keep its first size. So a
// window of a new size gets a swap (of the last picture) before it is drawn.
void follow_window_size(const WindowFit& fit) {
    static int width = -1, height = -1;
    if (parts_can_be_shown() && (fit.window_width != width || fit.window_height != height)) {
        glutSwapBuffers();
        width = fit.window_width;
        height = fit.window_height;
    }
}

}  // namespace

void draw_and_show(const DrawList& frame, const Damage& damage, bool whole, const WindowFit& fit) {
    const Damage parts = whole ? Damage{{0, 0, kDrawingWidth, kDrawingHeight}} : damage;
    if (parts.empty()) {
        return;
    }
    follow_window_size(fit);
    const Damage shown = scaled(fit) && texture_ready() ? draw_scaled(frame, parts, whole, fit)
                                                        : draw_in_window(frame, parts, whole, fit);
    if (!parts_can_be_shown()) {
        glutSwapBuffers();
    } else {
        show_window_parts(whole ? Damage{{0, 0, fit.window_width, fit.window_height}} : shown);
    }
}
