#include "rules/board.h"

#include <cstdlib>

#include "rules/layout.h"
// The one reset closes the overlays of the screen too: a plain record,
// written, never called.
#include "screens/screen.h"

Board board;
Match match = [] {
    Match initial{};
    initial.sound_on = true;  // the one field that does not start at zero
    return initial;
}();

namespace {

constexpr Point kWindowMiddle{kDrawingWidth / 2, kDrawingHeight / 2};

}  // namespace

Pit& pit_at(int row, int column) {
    return board.pits[row * kColumnCount + column];
}

int own_row(int player) {
    return player == 1 ? 1 : 0;
}

bool is_on_board(int row, int column) {
    return row >= 0 && row < kRowCount && column >= 0 && column < kColumnCount;
}

PitPosition next_pit(int row, int column) {
    if (row == 1) {
        return column < kColumnCount - 1 ? PitPosition{1, column + 1}
                                         : PitPosition{0, kColumnCount - 1};
    }
    return column > 0 ? PitPosition{0, column - 1} : PitPosition{1, 0};
}

Point scatter_point(int row, int column) {
    // Two separate statements: the x draw must come before the y draw.
    const int x = kSeedAreaLeft + kPitSpacingX * column + std::rand() % kSeedSpread;
    const int y = kSeedAreaTop + kPitSpacingY * row + std::rand() % kSeedSpread;
    return {x, y};
}

Point top_seed_point(int row, int column) {
    const Pit& pit = pit_at(row, column);
    if (pit.count <= 0) {
        return kWindowMiddle;
    }
    return {pit.seed_x[pit.count - 1], pit.seed_y[pit.count - 1]};
}

Point store_slot_point(int player, int n) {
    const int left = player == 1 ? kPlayer1StoreX : kPlayer2StoreX;
    return {left + kStoreSlotSpacing * (n / kStoreColumnHeight),
            kStoreTopY + kStoreSlotSpacing * (n % kStoreColumnHeight)};
}

int row_seed_total(int row) {
    int total = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        total += pit_at(row, column).count;
    }
    return total;
}

PitCounts pit_counts() {
    PitCounts counts{};
    for (int index = 0; index < kPitCount; ++index) {
        counts[index] = board.pits[index].count;
    }
    return counts;
}

void new_game() {
    match.source_column = 0;
    match.source_row = 1;
    match.starting_player = match.starting_player == 1 ? 2 : 1;
    match.current_player = match.starting_player;
    match.who_first_open = !match.versus_human;
    match.new_turn = true;
    match.step_phase = 1;
    match.sowing_active = false;

    for (int index = 0; index < kPitCount; ++index) {
        Pit& pit = board.pits[index];
        pit.count = kStartingSeedsPerPit;
        for (int slot = 0; slot < kStartingSeedsPerPit; ++slot) {
            const Point spot = scatter_point(index / kColumnCount, index % kColumnCount);
            pit.seed_x[slot] = spot.x;
            pit.seed_y[slot] = spot.y;
        }
    }

    match.player1_store = 0;
    match.player2_store = 0;
    match.game_result = kInPlay;
    match.capture_pending = false;
    // The opponent's pause is the opponent's to end.
    match.paused_by &= ~kPausedHere;

    screen.quit_question_open = false;
    screen.exit_dialog_open = false;
    screen.exit_yes_selected = false;
}

bool may_pick(int player, PitPosition pit) {
    if (player != match.current_player || !is_on_board(pit.row, pit.column) ||
        pit_at(pit).count == 0) {
        return false;
    }
    if (match.new_turn) {
        return pit.row == own_row(player);
    }
    return pit == next_pit(match.source_row, match.source_column);
}

bool is_game_over(const PitCounts& counts, int player_to_move) {
    int on_board = 0, on_row = 0;
    for (int index = 0; index < kPitCount; ++index) {
        on_board += counts[index];
        on_row += index / kColumnCount == own_row(player_to_move) ? counts[index] : 0;
    }
    return on_row == 0 || on_board == 2;
}

bool is_game_over() {
    return is_game_over(pit_counts(), match.current_player);
}
