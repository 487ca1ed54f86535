// The game screen's board, seeds and the two side panels.
#pragma once

void draw_game_board();
void draw_seeds();
// Expects texturing already switched off.
void draw_score_panels();
