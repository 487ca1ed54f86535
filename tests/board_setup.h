// Positions for the engine and computer tests.
#pragma once

#include <array>

#include "rules/board.h"

using RowCounts = std::array<int, kColumnCount>;

// Lays out both rows, every seed at its own random spot, and gives the seeds
// not on the board to the stores so that the game holds its 56 seeds.
inline void set_board(const RowCounts& row0, const RowCounts& row1, int player1_store) {
    int on_board = 0;
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            Pit& pit = pit_at(row, column);
            pit.count = row == 0 ? row0[column] : row1[column];
            on_board += pit.count;
            for (int slot = 0; slot < pit.count; ++slot) {
                const Point spot = scatter_point(row, column);
                pit.seed_x[slot] = spot.x;
                pit.seed_y[slot] = spot.y;
            }
        }
    }
    match.player1_store = player1_store;
    match.player2_store = kTotalSeeds - on_board - player1_store;
}

inline int seeds_in_game() {
    return board_seed_total() + match.player1_store + match.player2_store;
}
