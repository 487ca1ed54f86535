#include "render/board_view.h"

#include <cstdio>

#include "rules/board.h"
#include "rules/layout.h"

namespace {

void draw_number(DrawList& frame, float x, float y, int value, Colour colour) {
    char number_text[12];  // any 32-bit value with its sign and the NUL
    std::snprintf(number_text, sizeof number_text, "%d", value);
    add_text(frame, x, y, number_text, colour);
}

}  // namespace

void draw_game_board(DrawList& frame) {
    add_textured_quad(frame, textures.board, 25, 50, 975, 350, 1.0f);
    draw_number(frame, 94, 341, match.player2_store, kBlack);
    for (int c = 0; c < kColumnCount; ++c) {
        draw_number(frame, 195 + kPitSpacingX * c, 80, pit_at(0, c).count, kBlack);
        draw_number(frame, 195 + kPitSpacingX * c, 335, pit_at(1, c).count, kBlack);
    }
    draw_number(frame, 895, 341, match.player1_store, kBlack);
    if (!match.new_turn) {
        const WindowRect outline = at_pit(kPitOutline, match.source_row, match.source_column);
        add_outline_rect(frame, outline.left, outline.top, outline.right, outline.bottom, kWhite);
    }
    draw_seeds(frame);
}

// Each seed is a whole masked sprite before the next: overlapping seeds
// cover each other rather than adding up.
void draw_seeds(DrawList& frame) {
    for (const Pit& pit : board.pits) {
        for (int k = 0; k < pit.count; ++k) {
            add_seed(frame, pit.seed_x[k], pit.seed_y[k]);
        }
    }
    for (int n = 0; n < match.player2_store; ++n) {
        const Point slot = store_slot_point(2, n);
        add_seed(frame, slot.x, slot.y);
    }
    for (int n = 0; n < match.player1_store; ++n) {
        const Point slot = store_slot_point(1, n);
        add_seed(frame, slot.x, slot.y);
    }
}

void draw_score_panels(DrawList& frame) {
    add_text(frame, 865, 370, "Player1's", kWhite);
    add_text(frame, 875, 390, "Score", kWhite);
    add_text(frame, 770, 35, "Player1's Wins:", kWhite);
    draw_number(frame, 900, 35, match.player1_wins, kWhite);
    if (match.versus_human) {
        add_text(frame, 65, 370, "Player2's", kWhite);
        add_text(frame, 75, 390, "Score", kWhite);
        add_text(frame, 55, 35, "Player2's Wins:", kWhite);
        draw_number(frame, 185, 35, match.player2_wins, kWhite);
    } else {
        add_text(frame, 55, 370, "Computer's", kWhite);
        add_text(frame, 75, 390, "Score", kWhite);
        add_text(frame, 55, 35, "Computer's Wins:", kWhite);
        draw_number(frame, 205, 35, match.computer_wins, kWhite);
    }
}
