// The window's size and place, asked of the window manager, and the drawing
// fitted into whatever it grants.
#include <GL/freeglut.h>

#include "render/draw.h"
#include "render/frame.h"
#include "render/platform.h"
#include "render/window_fit.h"

void ask_for_window_place() {
    if (window_held_by_manager()) {
        return;
    }
    const WindowPlace place = place_window(screen_room(), frame_position());
    glutReshapeWindow(place.width, place.height);
    if (!(place.frame_corner == frame_position())) {
        move_frame(place.frame_corner.x, place.frame_corner.y);
    }
}

// The window asks for its own size again after any change; where the window
// manager will not grant it (tiled), or holds it maximized or full screen,
// the drawing is fitted into what it has.
void on_reshape(int width, int height) {
    ask_for_window_place();
    window_fit = fit_drawing(width, height);
    redraw_whole_window();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kDrawingWidth, kDrawingHeight, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
}
