// The game screen's board, seeds and the two side panels, added to a frame.
#pragma once

#include "render/draw_list.h"

void draw_game_board(DrawList& frame);
void draw_seeds(DrawList& frame);
void draw_score_panels(DrawList& frame);
