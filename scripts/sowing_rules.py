"""The rules of sowing on pit counts, for the scripts that play the game and check
what it shows: which pit follows which, a whole move played out with its relays
and its capture, and the end of a game.

A board: the counts of the 14 pits, row 0 (the upper row, player 2's) from
column 0 to 6 and then row 1, then the stores of player 1 and player 2. A pit is
its index there."""

PITS = range(14)
STORE_OF_ROW = {1: 14, 0: 15}
OPENING = (4,) * 14 + (0, 0)
ALL_SEEDS = 56


def own_row(player):
    """Player 1 sows from row 1, the lower; player 2 from row 0."""
    return 1 if player == 1 else 0


def row_pits(row):
    return range(7 * row, 7 * row + 7)


def next_pit(pit):
    """Right to left along row 0, left to right along row 1, and round."""
    return {0: 7, 13: 6}.get(pit, pit + 1 if pit >= 7 else pit - 1)


def plan_move(board, pit, most_drops=5000):
    """The move by the rules: the board at each relay wait with the pit of the last
    seed, the board after it, and the seeds moved, a second each (None: endless)."""
    counts, waits, drops = list(board), [], 0
    source = last = pit
    while True:
        while counts[source]:
            last = next_pit(last)
            counts[last] += 1
            counts[source] -= 1
            drops += 1
            if drops > most_drops:
                return None
        following = next_pit(last)
        if not counts[following]:
            break
        waits.append((tuple(counts), last))
        source = last = following
    captured = next_pit(following)
    taken, counts[captured] = counts[captured], 0
    counts[STORE_OF_ROW[pit // 7]] += taken
    return waits, tuple(counts), drops + taken


def game_over(board, player):
    """Whether the game ends as the turn passes to the player: that player's row
    is empty, or two seeds are left on the board."""
    return not any(board[pit] for pit in row_pits(own_row(player))) or sum(board[:14]) == 2
