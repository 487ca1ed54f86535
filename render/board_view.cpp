#include "render/board_view.h"

#include <GL/gl.h>

#include <cstdio>

#include "render/draw.h"
#include "rules/board.h"

// Room for any 32-bit value with its sign and the NUL.
static char number_text[12];

static void draw_number(float x, float y, int value) {
    std::snprintf(number_text, sizeof number_text, "%d", value);
    draw_text(x, y, number_text);
}

static void draw_seed_at(float x0, float y0) {
    draw_masked_sprite(textures.seed1_mask, textures.seed1, x0, y0, x0 + 18, y0 + 20);
}

void draw_game_board() {
    glColor4f(1, 1, 1, 1);
    draw_textured_quad(textures.board, 25, 50, 975, 350, 1.0f);

    glDisable(GL_TEXTURE_2D);
    glColor3f(0, 0, 0);
    draw_number(94, 341, match.player2_store);
    for (int c = 0; c < kColumnCount; ++c) {
        glColor3f(0, 0, 0);
        draw_number(195 + 100 * c, 80, pit_at(0, c).count);
        glColor3f(0, 0, 0);
        draw_number(195 + 100 * c, 335, pit_at(1, c).count);
    }
    glColor3f(0, 0, 0);
    draw_number(895, 341, match.player1_store);
    glEnable(GL_TEXTURE_2D);

    if (!match.new_turn) {
        const float x = 160 + 100 * match.source_column;
        const float y = 85 + 130 * match.source_row;
        draw_outline_rect(x, y, x + 80, y + 100, 1, 1, 1);
    }
    draw_seeds();
}

void draw_seeds() {
    for (int row = 0; row < kRowCount; ++row)
        for (int column = 0; column < kColumnCount; ++column) {
            const Pit& pit = pit_at(row, column);
            for (int k = 0; k < pit.count; ++k)
                draw_seed_at(pit.seed_x[k] - 9, pit.seed_y[k] - 10);
        }
    for (int n = 0; n < match.player2_store; ++n)
        draw_seed_at(70 + 15 * (n / 13), 100 + 15 * (n % 13));
    for (int n = 0; n < match.player1_store; ++n)
        draw_seed_at(870 + 15 * (n / 13), 100 + 15 * (n % 13));
}

void draw_score_panels() {
    glColor3f(1, 1, 1);
    draw_text(865, 370, "Player1's");
    draw_text(875, 390, "Score");
    glColor3f(1, 1, 1);
    draw_text(770, 35, "Player1's Wins:");
    draw_number(900, 35, match.player1_wins);
    glColor3f(1, 1, 1);
    if (match.versus_human) {
        draw_text(65, 370, "Player2's");
        draw_text(75, 390, "Score");
        glColor3f(1, 1, 1);
        draw_text(55, 35, "Player2's Wins:");
        draw_number(185, 35, match.player2_wins);
    } else {
        draw_text(55, 370, "Computer's");
        draw_text(75, 390, "Score");
        glColor3f(1, 1, 1);
        draw_text(55, 35, "Computer's Wins:");
        draw_number(205, 35, match.computer_wins);
    }
}
