#include "rules/sowing.h"

#include "rules/board.h"
#include "rules/computer.h"
#include "rules/platform.h"

namespace {

constexpr unsigned kSowingStepMilliseconds = 500;
constexpr unsigned kComputerStepMilliseconds = 100;

void play_sound_if_on() {
    if (match.sound_on) {
        play_seed_sound();
    }
}

void warp_to_top_seed(int row, int column) {
    const Point top = top_seed_point(row, column);
    warp_pointer(top.x, top.y);
}

Pit& source_pit() {
    return pit_at(match.source_row, match.source_column);
}

Pit& capture_pit() {
    return pit_at(match.capture_row, match.capture_column);
}

void lift_from_source() {
    warp_to_top_seed(match.source_row, match.source_column);
    match.step_phase = 0;
}

// Drops the seed in the hand into the pit after the last one sown. A seed
// landing back in the source goes on top of it and is taken up at once.
void drop_seed() {
    const PitPosition landing = next_pit(match.sow_row, match.sow_column);
    match.sow_row = landing.row;
    match.sow_column = landing.column;
    Pit& pit = pit_at(landing);
    const Point spot = scatter_point(landing.row, landing.column);
    // Only a seed landing back on a source holding every seed of the game
    // could reach past the last slot, and it is taken up again at once.
    if (pit.count < kTotalSeeds) {
        pit.seed_x[pit.count] = spot.x;
        pit.seed_y[pit.count] = spot.y;
    }
    ++pit.count;
    warp_pointer(spot.x, spot.y);

    --source_pit().count;
    if (source_pit().count > 0) {
        match.step_phase = 1;
        play_sound_if_on();
        return;
    }

    // The hand is empty: the pit after the last seed decides between a relay
    // and a capture of the pit beyond it.
    PitPosition next = next_pit(landing);
    if (pit_at(next).count == 0) {
        next = next_pit(next);
        match.capture_pending = true;
    }
    match.capture_row = next.row;
    match.capture_column = next.column;
    match.source_row = landing.row;
    match.source_column = landing.column;
    warp_to_top_seed(landing.row, landing.column);
    if (!match.capture_pending) {
        match.sowing_active = false;  // waits for the relay
    }
    match.step_phase = 1;
    play_sound_if_on();
}

void lift_from_capture_pit() {
    if (capture_pit().count == 0) {
        end_turn();
        return;
    }
    warp_to_top_seed(match.capture_row, match.capture_column);
    match.step_phase = 0;
}

void take_seed() {
    if (capture_pit().count == 0) {
        end_turn();
        return;
    }
    --capture_pit().count;
    const int mover = match.current_player == 1 ? 1 : 2;
    int& store = mover == 1 ? match.player1_store : match.player2_store;
    ++store;
    const Point slot = store_slot_point(mover, store - 1);
    warp_pointer(slot.x, slot.y);
    match.step_phase = 1;
    play_sound_if_on();
}

void settle_game() {
    if (match.player2_store < match.player1_store) {
        ++match.player1_wins;
        match.game_result = kPlayer1Won;
    } else if (match.player2_store > match.player1_store) {
        match.game_result = kPlayer2Won;
        if (match.versus_human) {
            ++match.player2_wins;
        } else {
            ++match.computer_wins;
        }
    } else {
        match.game_result = kDraw;
    }
    ++match.games_ended;
}

// Against the computer the question of who plays first is open from every
// new game until answered on the board, so an answered question means the
// board shows.
bool computer_may_act() {
    return match.game_result == kInPlay && match.paused_by == 0 && !match.versus_human &&
           match.current_player == 2 && !match.sowing_active && !match.who_first_open;
}

}  // namespace

void begin_sowing(int row, int column) {
    // A move received from the opponent arrives unchecked; one that names no
    // pit, or an empty one, would corrupt the counts, so it is ignored.
    if (!is_on_board(row, column) || pit_at(row, column).count <= 0) {
        return;
    }
    match.source_row = row;
    match.source_column = column;
    match.sow_row = row;
    match.sow_column = column;
    match.new_turn = false;
    match.step_phase = 1;
    match.sowing_active = true;
}

void sowing_timer(int) {
    arm_timer(kSowingStepMilliseconds, sowing_timer);
    if (!match.sowing_active || match.paused_by != 0) {
        return;
    }
    if (match.capture_pending) {
        if (match.step_phase == 1) {
            lift_from_capture_pit();
        } else {
            take_seed();
        }
    } else if (match.step_phase == 1) {
        lift_from_source();
    } else {
        drop_seed();
    }
}

void computer_timer(int) {
    arm_timer(kComputerStepMilliseconds, computer_timer);
    if (!computer_may_act()) {
        return;
    }
    if (match.computer_delay > 0) {
        --match.computer_delay;
        return;
    }
    if (match.new_turn) {
        match.new_turn = false;  // the pit picked at the turn's start is sown now
    } else {
        const PitPosition relay = next_pit(match.source_row, match.source_column);
        match.source_row = relay.row;
        match.source_column = relay.column;
        match.sow_row = relay.row;
        match.sow_column = relay.column;
    }
    match.sowing_active = true;
    match.computer_delay = kComputerPauseTicks;
}

void end_turn() {
    match.sow_column = 0;
    if (match.current_player == 1) {
        match.current_player = 2;
    } else {
        match.current_player = 1;
    }
    match.sow_row = own_row(match.current_player);
    match.new_turn = true;

    if (is_game_over()) {
        settle_game();
    }
    if (match.current_player == 2 && !match.versus_human) {
        match.sow_column = pick_computer_pit();
    }

    match.source_row = match.sow_row;
    match.source_column = match.sow_column;
    warp_to_top_seed(match.source_row, match.source_column);
    match.sowing_active = false;
    match.capture_pending = false;
    match.step_phase = 0;
}
