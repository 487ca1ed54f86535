#include "rules/playout.h"

HandEmptied sow_out(PitCounts& counts, PitPosition source, PitPosition landing, int& drops) {
    const auto seeds = [&counts](PitPosition pit) -> int& { return counts[pit_index(pit)]; };
    while (seeds(source) > 0) {
        if (++drops > kMaxPlayedDrops) {
            return {HandEmptied::kEndless, landing, landing};
        }
        landing = next_pit(landing);
        ++seeds(landing);
        --seeds(source);
    }
    const PitPosition after = next_pit(landing);
    if (seeds(after) > 0) {
        return {HandEmptied::kRelay, landing, after};
    }
    return {HandEmptied::kCapture, landing, next_pit(after)};
}

HandEmptied play_move(PitCounts& counts, PitPosition pick) {
    int drops = 0;
    HandEmptied hand = sow_out(counts, pick, pick, drops);
    while (hand.next == HandEmptied::kRelay) {
        hand = sow_out(counts, hand.pit, hand.pit, drops);
    }
    return hand;
}

bool move_ends_game(PitCounts counts, PitPosition pick, int player) {
    const HandEmptied hand = play_move(counts, pick);
    if (hand.next != HandEmptied::kCapture) {
        return false;
    }
    counts[pit_index(hand.pit)] = 0;
    return is_game_over(counts, player == 1 ? 2 : 1);
}
