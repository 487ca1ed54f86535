#include "render/frame.h"

#include <GL/freeglut.h>

#include "app/platform.h"
#include "screens/screen.h"

void display_frame() {
    set_pointer_shape(screen.hand_cursor);
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
}
