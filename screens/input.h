// Keyboard and mouse callbacks.
#pragma once

// The keys that have no letter, as the keyboard callback gets them, and the
// arrow keys as the special-key callback gets them (GLUT's codes).
constexpr int kBackspaceKey = 8;
constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;
constexpr int kLeftKey = 100, kUpKey = 101, kRightKey = 102, kDownKey = 103;

void key_handler(unsigned char key, int x, int y);
void special_key_handler(int key, int x, int y);
void mouse_handler(int button, int state, int x, int y);
void motion_handler(int x, int y);

// Continues a move that waits for its relay, for the player to move.
void continue_move();
