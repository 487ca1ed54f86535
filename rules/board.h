// The board, the match and the small operations every other part leans on.
#pragma once

#include <array>

constexpr int kRowCount = 2;
constexpr int kColumnCount = 7;
constexpr int kPitCount = kRowCount * kColumnCount;
constexpr int kStartingSeedsPerPit = 4;
constexpr int kTotalSeeds = kPitCount * kStartingSeedsPerPit;  // 56

// Seeds are sown and captured into these, never into anything else, so a pit
// with room for every seed of the game can never overflow.
struct Pit {
    int count;
    int seed_x[kTotalSeeds];
    int seed_y[kTotalSeeds];
};

// Pit index is row * 7 + column. Row 0 is the upper row (player 2), row 1 the
// lower row (player 1); columns run left to right.
struct Board {
    Pit pits[kPitCount];
};

struct PitPosition {
    int row;
    int column;
};

struct Point {
    int x;
    int y;
};

inline bool operator==(PitPosition a, PitPosition b) {
    return a.row == b.row && a.column == b.column;
}
inline bool operator==(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

enum GameResult { kInPlay = 0, kPlayer1Won = 1, kPlayer2Won = 2, kDraw = 3 };

struct Match {
    int current_player;   // 1 or 2
    int starting_player;  // who began the current game
    bool versus_human;    // false: the computer plays row 0
    int sow_row, sow_column;
    int source_row, source_column;
    int capture_row, capture_column;
    bool sowing_active;
    int step_phase;  // 1: the next step lifts a seed, 0: it drops (or takes) one
    bool capture_pending;
    bool new_turn;  // the player to move has not picked the first pit yet
    int player1_store;
    int player2_store;
    int game_result;  // a GameResult
    int player1_wins;
    int player2_wins;
    int computer_wins;
    int computer_delay;  // 100 ms ticks before the computer acts
    bool sound_on;
};

extern Board board;
extern Match match;

Pit& pit_at(int row, int column);
inline Pit& pit_at(PitPosition position) {
    return pit_at(position.row, position.column);
}

int own_row(int player);
PitPosition next_pit(int row, int column);
inline PitPosition next_pit(PitPosition position) {
    return next_pit(position.row, position.column);
}
bool is_on_board(int row, int column);

// A random seed centre inside a pit; draws x then y from rand.
Point scatter_point(int row, int column);
// The top seed's centre, or the middle of the window for an empty pit.
Point top_seed_point(int row, int column);
// The centre of slot n (from 0) of a player's store.
Point store_slot_point(int player, int n);

int row_seed_total(int row);

// The seed counts alone, index row * 7 + column, to play moves out on.
using PitCounts = std::array<int, kPitCount>;
PitCounts pit_counts();

void new_game();
// The same, but what the opponent has sent and this side has not read yet
// stays: its play-again and first move may already be there.
void new_game_keeping_inbox();
// Over when the player to move has no seed on their row, or two seeds are
// left on the board: with the given counts, or the board and match as they are.
bool is_game_over(const PitCounts& counts, int player_to_move);
bool is_game_over();

// Compares the screen code with a relative tolerance.
bool screen_is(double value);
