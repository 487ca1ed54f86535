// The computer opponent's choice of pit on row 0.
#pragma once

#include "rules/board.h"

int pick_computer_pit();
int pick_random_pit();
int best_capture_pit();

// Ticks of the computer timer before each of its sowings and relays.
constexpr int kComputerPauseTicks = 4;

// A candidate cut short would leave the computer relaying for ever, so it
// scores below a move that captures nothing.
constexpr int kEndlessScore = -1;

// The column best_capture_pit chooses, from each column's score (the seeds
// its move captures, or kEndlessScore) and whether its pit holds seeds.
int best_scored_column(const int (&scores)[kColumnCount], const bool (&holds_seeds)[kColumnCount]);
void computer_opens_game();
