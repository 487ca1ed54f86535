#define GL_GLEXT_PROTOTYPES
#include "render/drawing_target.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>

#include "render/draw.h"

namespace {

GLuint framebuffer = 0;
GLuint drawing_texture = 0;
bool drawing_into_texture = false;

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

// OpenGL counts window rows from the bottom.
void view_fitted_part(const WindowFit& fit) {
    const WindowRect& area = fit.drawing;
    glViewport(area.left, fit.window_height - area.bottom, area.right - area.left,
               area.bottom - area.top);
}

int shown_width(const WindowFit& fit) {
    return fit.drawing.right - fit.drawing.left;
}

}  // namespace

// At its own size the drawing goes straight into the window, as cheap as
// ever; only a scaled one takes the way through the texture.
void begin_drawing(const WindowFit& fit) {
    const bool scaled =
        shown_width(fit) != kDrawingWidth || fit.drawing.bottom - fit.drawing.top != kDrawingHeight;
    drawing_into_texture = scaled && texture_ready();
    if (drawing_into_texture) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, kDrawingWidth, kDrawingHeight);
    } else {
        view_fitted_part(fit);
    }
}

void show_drawing(const WindowFit& fit) {
    if (!drawing_into_texture) {
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, fit.window_width, fit.window_height);
    glClear(GL_COLOR_BUFFER_BIT);
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
    draw_textured_quad(drawing_texture, 0, 0, kDrawingWidth, kDrawingHeight, 1.0f);
}
