// The computer opponent's choice of pit on row 0.
#pragma once

int pick_computer_pit();
int pick_random_pit();
int best_capture_pit();
void computer_opens_game();
