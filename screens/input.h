// Keyboard and mouse callbacks.
#pragma once

void key_handler(unsigned char key, int x, int y);
void special_key_handler(int key, int x, int y);
void mouse_handler(int button, int state, int x, int y);
void motion_handler(int x, int y);

// Continues a move that waits for its relay, for the player to move.
void continue_move();
