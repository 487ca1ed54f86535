#include "render/draw.h"

#include <GL/freeglut.h>

void on_reshape(int width, int height) {
    glutReshapeWindow(1000, 400);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1000, 400, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
}
