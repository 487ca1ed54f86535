#include "rules/computer.h"

#include <cstdlib>

#include "rules/board.h"
#include "rules/playout.h"

namespace {

constexpr int kComputerRow = 0;
constexpr int kRandomPickOneIn = 10;

bool computer_pit_has_seeds(int column) {
    return pit_at(kComputerRow, column).count > 0;
}

// The seeds the move from (0, column) would capture; kEndlessScore when its
// relay chain outruns the bound.
int capture_score(int column) {
    PitCounts counts = pit_counts();
    const HandEmptied hand = play_move(counts, {kComputerRow, column});
    if (hand.next == HandEmptied::kEndless) {
        return kEndlessScore;
    }
    return counts[pit_index(hand.pit)];
}

}  // namespace

int pick_computer_pit() {
    if (std::rand() % kRandomPickOneIn == 0) {
        match.sow_column = pick_random_pit();
    } else {
        // It names an empty pit only when the whole row is empty.
        match.sow_column = best_capture_pit();
    }
    match.computer_delay = kComputerPauseTicks;
    return match.sow_column;
}

int pick_random_pit() {
    // Once the game is decided, or with no seed on the row to find, the first
    // draw stands.
    do {
        match.sow_column = std::rand() % kColumnCount;
    } while (!computer_pit_has_seeds(match.sow_column) && match.game_result == kInPlay &&
             row_seed_total(kComputerRow) > 0);
    return match.sow_column;
}

int best_capture_pit() {
    int scores[kColumnCount] = {};
    bool holds_seeds[kColumnCount];
    for (int column = 0; column < kColumnCount; ++column) {
        holds_seeds[column] = computer_pit_has_seeds(column);
        if (holds_seeds[column]) {
            scores[column] = capture_score(column);
        }
    }
    return best_scored_column(scores, holds_seeds);
}

int best_scored_column(const int (&scores)[kColumnCount], const bool (&holds_seeds)[kColumnCount]) {
    int best = 0;
    for (int column = 1; column < kColumnCount; ++column) {
        if (scores[column] > scores[best]) {
            best = column;
        }
    }
    if (holds_seeds[best]) {
        return best;
    }
    // Nothing captures: the leftmost pit with seeds, passing over endless
    // candidates while another pit remains. Column 0 counts too: it gets
    // here holding seeds when its own candidate was cut short.
    for (int column = 0; column < kColumnCount; ++column) {
        if (holds_seeds[column] && scores[column] != kEndlessScore) {
            return column;
        }
    }
    for (int column = 0; column < kColumnCount; ++column) {
        if (holds_seeds[column]) {
            return column;
        }
    }
    return best;
}

void computer_opens_game() {
    match.current_player = 2;
    match.sow_row = kComputerRow;
    match.sow_column = pick_random_pit();
    match.computer_delay = kComputerPauseTicks;
    match.source_row = kComputerRow;
    match.source_column = match.sow_column;
}
