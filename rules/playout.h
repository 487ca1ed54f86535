// The rules played out on seed counts in one go, for what must look ahead
// at once: the computer's choice of pit, and whether the move under way
// ends the game. The engine plays the same rules one step every 500 ms.
#pragma once

#include "rules/board.h"

// A relay chain can go round for ever, and a look-ahead runs inside one
// timer step, so its drops are bounded. Searching random and hill-climbed
// boards, the longest chain that still ended took about 7 300 drops (hours
// of play at one seed a second); the bound leaves ample room above that and
// keeps a pick of seven such candidates well under a millisecond.
constexpr int kMaxPlayedDrops = 50000;

// Where a move stands once the hand is empty.
struct HandEmptied {
    enum Next { kRelay, kCapture, kEndless } next;
    PitPosition last;  // where the last seed went
    PitPosition pit;   // kRelay: the pit to sow next; kCapture: the pit taken
};

// Sows every seed of `source` into the pits after `landing` (the source
// itself at a pick, else the pit the last seed went into), then looks at
// the pit after the last seed: seeds there are a relay from it, none a
// capture of the pit beyond. `drops` counts every seed sown.
HandEmptied sow_out(PitCounts& counts, PitPosition source, PitPosition landing, int& drops);

// A whole move from a pick, every relay taken: how it ends, with the
// captured pit's seeds still in `counts`.
HandEmptied play_move(PitCounts& counts, PitPosition pick);

// Whether the move from a pick ends the game: its capture taken, the next
// player has no seed on their row or two seeds are left.
bool move_ends_game(PitCounts counts, PitPosition pick, int player);
