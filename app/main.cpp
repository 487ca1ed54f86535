#include <GL/freeglut.h>
#include <SFML/System/Thread.hpp>

#include <cstdlib>
#include <ctime>

#include "app/audio.h"
#include "app/frame_pacing.h"
#include "app/platform.h"
#include "net/connection.h"
#include "net/messages.h"
#include "net/status_text.h"
#include "render/draw.h"
#include "render/floating_seeds.h"
#include "render/frame.h"
#include "render/textures.h"
#include "rules/board.h"
#include "rules/sowing.h"
#include "screens/input.h"

namespace {

void on_window_close() {
    close_handler();
    exit_program(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (!start_audio()) {
        return -1;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    new_game();
    match.starting_player = 2;  // so the first game is begun by player 1

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(1000, 400);
    glutCreateWindow("Sowrow");
    request_swap_interval();
    glEnable(GL_TEXTURE_2D);
    load_all_textures();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);

    glutReshapeFunc(on_reshape);
    glutDisplayFunc(display_frame);
    glutKeyboardFunc(key_handler);
    glutSpecialFunc(special_key_handler);
    glutMouseFunc(mouse_handler);
    glutPassiveMotionFunc(motion_handler);
    glutMotionFunc(motion_handler);
    glutIdleFunc(redraw_when_due);
    glutCloseFunc(on_window_close);

    arm_timer(100, computer_timer);
    sf::Thread connection(&network_thread, 0);
    connection.launch();
    arm_timer(100, message_timer);
    arm_timer(300, caret_timer);
    arm_timer(300, connecting_dots_timer);
    arm_timer(500, waiting_dots_timer);
    arm_timer(500, sowing_timer);
    arm_timer(500, toggle_blink);
    arm_timer(500, move_floating_seeds);

    glClearColor(0, 0, 0, 0);
    glutMainLoop();
    return 0;
}
