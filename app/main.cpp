#include <GL/freeglut.h>
#include <SFML/System/Thread.hpp>

#include <cstdlib>
#include <ctime>

#include "app/audio.h"
#include "app/desktop.h"
#include "app/main_loop.h"
#include "net/connection.h"
#include "net/messages.h"
#include "net/status_text.h"
#include "render/compose.h"
#include "render/draw.h"
#include "render/frame.h"
#include "render/textures.h"
#include "render/window_fit.h"
#include "rules/board.h"
#include "rules/platform.h"
#include "rules/sowing.h"
#include "screens/floating_seeds.h"
#include "screens/input.h"
#include "screens/platform.h"
#include "screens/screen.h"

namespace {

void on_window_close() {
    close_handler();
    exit_program(0);
}

// Every input callback is followed by a look at whether the picture changed.
void on_key(unsigned char key, int x, int y) {
    key_handler(key, x, y);
    show_changes();
}

void on_special_key(int key, int x, int y) {
    special_key_handler(key, x, y);
    show_changes();
}

// The handlers take points of the drawing, wherever it sits in the window.
void on_mouse(int button, int state, int x, int y) {
    const Point at = window_to_drawing(window_fit, x, y);
    mouse_handler(button, state, at.x, at.y);
    show_changes();
}

void on_motion(int x, int y) {
    const Point at = window_to_drawing(window_fit, x, y);
    motion_handler(at.x, at.y);
    show_changes();
}

// The drawing is fitted to the new size and drawn again.
void on_reshape_window(int width, int height) {
    on_reshape(width, height);
    glutPostRedisplay();
}

}  // namespace

int main(int argc, char** argv) {
    if (!start_audio()) {
        return -1;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    new_game();
    match.starting_player = 2;  // so the first game is begun by player 1
    for (FloatingSeed& seed : floating_seeds) {
        respawn_floating_seed(seed);
    }

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    // At (100, 100) and 1000 x 400 where the screen has room for it.
    const WindowPlace place = place_window(screen_room(), {100, 100});
    glutInitWindowPosition(place.frame_corner.x, place.frame_corner.y);
    glutInitWindowSize(place.width, place.height);
    glutCreateWindow("Sowrow");
    introduce_window();
    request_swap_interval();
    glEnable(GL_TEXTURE_2D);
    load_all_textures();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);

    glutReshapeFunc(on_reshape_window);
    glutDisplayFunc(on_display);
    glutKeyboardFunc(on_key);
    glutSpecialFunc(on_special_key);
    glutMouseFunc(on_mouse);
    glutPassiveMotionFunc(on_motion);
    glutMotionFunc(on_motion);
    glutWindowStatusFunc(on_window_status);
    glutCloseFunc(on_window_close);

    arm_timer(100, computer_timer);
    sf::Thread connection(&network_thread, 0);
    connection.launch();
    arm_timer(100, message_timer);
    arm_timer(100, connection_report_timer);
    arm_timer(300, caret_timer);
    arm_timer(300, connecting_dots_timer);
    arm_timer(500, waiting_dots_timer);
    arm_timer(500, sowing_timer);
    arm_timer(500, toggle_blink);
    arm_timer(500, move_floating_seeds);
    arm_timer(1000, audio_device_timer);

    glClearColor(0, 0, 0, 0);
    run_main_loop();
}
