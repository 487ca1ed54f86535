#include "rules/sowing.h"

#include "app/platform.h"
#include "rules/board.h"

void begin_sowing(int row, int column) {
    match.source_row = row;
    match.source_column = column;
    match.sow_row = row;
    match.sow_column = column;
    match.new_turn = false;
    match.step_phase = 1;
    match.sowing_active = true;
}

void sowing_timer(int) {
    arm_timer(500, sowing_timer);
}

void computer_timer(int) {
    arm_timer(100, computer_timer);
}

void end_turn() {}
