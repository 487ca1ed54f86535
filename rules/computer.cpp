#include "rules/computer.h"

#include "rules/board.h"

int pick_computer_pit() {
    return 0;
}
int pick_random_pit() {
    return 0;
}
int best_capture_pit() {
    return 0;
}
void computer_opens_game() {}
