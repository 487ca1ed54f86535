// The board, the match and the small operations every other part leans on.
#pragma once

#include <array>

#include "rules/layout.h"

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

inline bool operator==(PitPosition a, PitPosition b) {
    return a.row == b.row && a.column == b.column;
}

enum GameResult { kInPlay = 0, kPlayer1Won = 1, kPlayer2Won = 2, kDraw = 3 };

// Why play stands still. A move under way keeps its place and goes on once
// no reason is left: in a network game both players may pause at once.
enum PauseReason : unsigned { kPausedHere = 1u << 0, kPausedByOpponent = 1u << 1 };

struct Match {
    int current_player;   // 1 or 2
    int starting_player;  // who began the current game
    bool versus_human;    // false: the computer plays row 0
    int sow_row, sow_column;
    int source_row, source_column;
    int capture_row, capture_column;
    bool sowing_active;  // a move is being sown; it stands still while paused
    int step_phase;      // 1: the next step lifts a seed, 0: it drops (or takes) one
    bool capture_pending;
    bool new_turn;  // the player to move has not picked the first pit yet
    int player1_store;
    int player2_store;
    int game_result;  // a GameResult
    int player1_wins;
    int player2_wins;
    int computer_wins;
    int games_ended;     // every game settled since the program started
    int computer_delay;  // 100 ms ticks before the computer acts
    bool sound_on;
    unsigned paused_by;   // PauseReason bits
    bool who_first_open;  // against the computer: who plays first is not chosen yet
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

// The seed counts alone, to play moves out on.
using PitCounts = std::array<int, kPitCount>;
constexpr int pit_index(PitPosition pit) {
    return pit.row * kColumnCount + pit.column;
}
PitCounts pit_counts();

// The one reset: refills the board, resets the match and closes the
// overlays. The connection and what the opponent sent are the link's.
void new_game();

// Whether `player` may pick the pit now: their turn, a pit that holds seeds,
// on their own row at the turn's start, the pit after the source for a relay.
bool may_pick(int player, PitPosition pit);

inline bool paused_here() {
    return (match.paused_by & kPausedHere) != 0;
}
inline bool paused_by_opponent() {
    return (match.paused_by & kPausedByOpponent) != 0;
}
// Over when the player to move has no seed on their row, or two seeds are
// left on the board: with the given counts, or the board and match as they are.
bool is_game_over(const PitCounts& counts, int player_to_move);
bool is_game_over();
