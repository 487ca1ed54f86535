// Two copies of the game, a host and a joiner, as two computers joined by a
// simulated connection, on a made-up clock in milliseconds. Each copy keeps
// its own timers at its own phase; messages take their own time on the way,
// in order; the players press keys and click pits at moments of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "net/messages.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/board_setup.h"
#include "tests/fake_peer.h"
#include "tests/fake_platform.h"

namespace {

constexpr int kHost = 0, kJoiner = 1, kEsc = 27;

// What both copies must agree on once a turn has passed: the game's number,
// the counts, the stores, whose turn and the result.
using SettledTurn = std::array<int, kPitCount + 5>;

struct Position {
    RowCounts row0, row1;
    int player1_store;
};

class TwoCopies {
  public:
    struct Side {
        GameState state;
        long next_sowing, next_message, next_think;
        std::deque<std::pair<long, std::string>> on_the_way;  // to this side
        std::vector<SettledTurn> turns;
        int game = 0;
    };
    Side sides[2];
    long now = 0, last_progress = 0;
    std::mt19937 random;
    std::function<Position(int game)> position_of;  // each game's start, on both copies
    std::function<void(TwoCopies&, int side)> player;
    int delay_high = 1, think_low = 10, think_high = 10;

    explicit TwoCopies(unsigned seed) : random(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // A new connection, the clocks of the two copies at the given phases.
    void connect(std::array<int, 4> sowing_and_message_phases) {
        for (const int side : {kHost, kJoiner}) {
            reset_game_state();
            side == kHost ? start_hosting() : start_joining();
            net_link.awaiting_peer = net_link.address_entry_open = false;
            net_link.connected = true;
            lay_out(0);
            sides[side] = Side{save_game_state(),
                               now + sowing_and_message_phases[side],
                               now + sowing_and_message_phases[2 + side],
                               now + between(think_low, think_high),
                               {},
                               {},
                               0};
        }
        loaded = -1;
        last_progress = now;
    }

    // Runs the two copies until `done`; fails when the boards differ after a
    // turn, or when nothing has moved on for five minutes.
    void run_until(const std::function<bool()>& done) {
        while (!done() && !::testing::Test::HasFailure()) {
            ASSERT_LT(now - last_progress, 300000) << "stuck: " << describe();
            step();
        }
    }

    // Runs work on one copy, as its main thread would, and sends on what it
    // sent.
    void on(int side, const std::function<void()>& work) {
        load(side);
        const bool was_new_turn = match.new_turn;
        const int was_result = match.game_result;
        work();
        if (was_result != kInPlay && match.game_result == kInPlay) {
            ++sides[side].game;
            lay_out(sides[side].game);
        }
        if (!was_new_turn && match.new_turn) {
            settle_turn(side);
        }
        std::deque<std::pair<long, std::string>>& way = sides[1 - side].on_the_way;
        for (const std::string& bytes : sent_to_peer) {
            const long arrival = now + between(1, delay_high);
            way.emplace_back(way.empty() ? arrival : std::max(arrival, way.back().first),
                             bytes.substr(0, bytes.size() - 1));
        }
        sent_to_peer.clear();
        reset_platform_record();
    }

    const GameState& state(int side) {
        if (loaded == side) {
            sides[side].state = save_game_state();
        }
        return sides[side].state;
    }

  private:
    int loaded = -1;

    void load(int side) {
        if (loaded != side) {
            if (loaded >= 0) {
                sides[loaded].state = save_game_state();
            }
            load_game_state(sides[side].state);
            loaded = side;
        }
    }

    void lay_out(int game) {
        const Position position = position_of(game);
        set_board(position.row0, position.row1, position.player1_store);
        last_progress = now;
    }

    void settle_turn(int side) {
        SettledTurn turn{};
        for (int index = 0; index < kPitCount; ++index) {
            turn[index] = board.pits[index].count;
        }
        std::copy_n(std::array<int, 5>{sides[side].game, match.player1_store, match.player2_store,
                                       match.current_player, match.game_result}
                        .begin(),
                    5, turn.begin() + kPitCount);
        std::vector<SettledTurn>& mine = sides[side].turns;
        const std::vector<SettledTurn>& theirs = sides[1 - side].turns;
        EXPECT_TRUE(mine.size() >= theirs.size() || theirs[mine.size()] == turn)
            << "the boards differ after turn " << mine.size() << ": " << describe();
        mine.push_back(turn);
        last_progress = now;
    }

    void step() {
        now = now + 1000000;
        for (const Side& side : sides) {
            now = std::min({now, side.next_sowing, side.next_message, side.next_think});
            if (!side.on_the_way.empty()) {
                now = std::min(now, side.on_the_way.front().first);
            }
        }
        for (const int side : {kHost, kJoiner}) {
            Side& self = sides[side];
            while (!self.on_the_way.empty() && self.on_the_way.front().first <= now) {
                const std::string text = self.on_the_way.front().second;
                self.on_the_way.pop_front();
                on(side, [&] { std::strcat(net_link.inbox, text.c_str()); });
            }
            if (self.next_message <= now) {
                self.next_message += 100;
                on(side, [] { message_timer(0); });
            }
            if (self.next_sowing <= now) {
                self.next_sowing += 500;
                on(side, [] { sowing_timer(0); });
            }
            if (self.next_think <= now) {
                self.next_think = now + between(think_low, think_high);
                on(side, [&] { player(*this, side); });
            }
        }
    }

    std::string describe() {
        std::string text = "at " + std::to_string(now) + " ms";
        for (const int side : {kHost, kJoiner}) {
            const GameState& s = state(side);
            text += std::string(side == kHost ? "; host" : "; joiner") + " game " +
                    std::to_string(sides[side].game) + " result " +
                    std::to_string(s.match.game_result) + (s.screen.paused ? " paused" : "") +
                    (s.link.peer_paused ? " peer_paused" : "") +
                    (s.link.awaiting_rematch ? " awaiting_rematch" : "") +
                    (s.match.sowing_active ? " sowing" : "") + " inbox \"" + s.link.inbox + "\"";
        }
        return text;
    }
};

// A player whose turn it is: the host plays row 1, the joiner row 0; relays
// by the a key or by a click, at random.
void move_if_mine(TwoCopies& copies, int side) {
    const int row = side == kHost ? 1 : 0;
    if (match.current_player != 2 - row || match.sowing_active) {
        return;
    }
    const PitPosition relay = next_pit(match.source_row, match.source_column);
    if (!match.new_turn && copies.between(0, 1) == 0) {
        key_handler('a', 0, 0);
        return;
    }
    int column = relay.column;
    for (int tries = 0; match.new_turn && tries < 50 && pit_at(row, column).count == 0; ++tries) {
        column = copies.between(0, kColumnCount - 1);
    }
    const int clicked_row = match.new_turn ? row : relay.row;
    mouse_handler(0, 0, 200 + 100 * column, 135 + 130 * clicked_row);
}

// A game one move from its end: the host's (1, 5) drops its seed into
// (1, 6), and the three seeds of (0, 5), the last of row 0, are captured.
// The host's clock runs almost a step ahead of the joiner's, so the host
// ends the game first while the joiner still takes the captured seeds.
void connect_host_ahead(TwoCopies& copies) {
    copies.position_of = [](int game) {
        return game == 0 ? Position{{0, 0, 0, 0, 0, 3, 0}, {0, 0, 0, 0, 0, 1, 0}, 30}
                         : Position{{1, 2, 0, 1, 0, 0, 2}, {2, 0, 1, 0, 3, 0, 1}, 20};
    };
    copies.connect({20, 10, 0, 30});
}

bool next_game_under_way(TwoCopies& copies) {
    return std::all_of(std::begin(copies.sides), std::end(copies.sides),
                       [](const TwoCopies::Side& side) { return side.turns.size() >= 2; });
}

TEST(TwoCopies, PlayAgainAtOnceReachesACopyStillCapturing) {
    TwoCopies copies(1);
    copies.player = [](TwoCopies& c, int side) {
        match.game_result != kInPlay ? key_handler('p', 0, 0) : move_if_mine(c, side);
    };
    connect_host_ahead(copies);
    bool joiner_ever_paused = false, reached_the_joiner_in_play = false;
    copies.run_until([&] {
        const GameState& joiner = copies.state(kJoiner);
        joiner_ever_paused |= joiner.link.peer_paused;
        reached_the_joiner_in_play |= joiner.match.game_result == kInPlay &&
                                      copies.sides[kJoiner].game == 0 &&
                                      std::strchr(joiner.link.inbox, 'P') != nullptr;
        return next_game_under_way(copies);
    });
    EXPECT_TRUE(reached_the_joiner_in_play);
    EXPECT_FALSE(joiner_ever_paused) << "the host's play-again read as a pause";
}

TEST(TwoCopies, APauseFromTheCopyStillCapturingIsNotAPlayAgain) {
    TwoCopies copies(2);
    long resume_at = -1;
    copies.player = [&](TwoCopies& c, int side) {
        // The joiner's player pauses just after the host's game has ended,
        // and resumes a second later; both play again once their game ends.
        if (side == kJoiner && resume_at < 0 && c.sides[kHost].game == 1) {
            key_handler(kEsc, 0, 0);
            resume_at = c.now + 1000;
        } else if (screen.paused) {
            if (c.now >= resume_at) {
                key_handler('x', 0, 0);
            }
        } else {
            match.game_result != kInPlay ? key_handler('p', 0, 0) : move_if_mine(c, side);
        }
    };
    connect_host_ahead(copies);
    copies.run_until([&] { return next_game_under_way(copies); });
    EXPECT_GE(resume_at, 0);
}

// A position near the end of a game: few seeds, some on each row. With
// eight seeds or fewer on the board no relay chain goes on for ever.
Position near_end(std::mt19937& random) {
    std::uniform_int_distribution<int> pit(0, kPitCount - 1);
    Position position{};
    const int seeds = std::uniform_int_distribution<int>(4, 8)(random);
    position.row0[pit(random) % kColumnCount] = 1;
    position.row1[pit(random) % kColumnCount] = 1;
    for (int seed = 2; seed < seeds; ++seed) {
        const int index = pit(random);
        ++(index < kColumnCount ? position.row0 : position.row1)[index % kColumnCount];
    }
    position.player1_store = std::uniform_int_distribution<int>(0, kTotalSeeds - seeds)(random);
    return position;
}

TEST(TwoCopies, NeverJamNorDisagreeWhateverTheTimingAroundTheEndOfAGame) {
    TwoCopies copies(20261207);
    std::mt19937 positions_random(7);
    std::vector<Position> positions;
    copies.position_of = [&](int game) {
        while (static_cast<int>(positions.size()) <= game) {
            positions.push_back(near_end(positions_random));
        }
        return positions[game];
    };
    // Players who mostly play, and now and then pause, resume, press p or
    // another key; at a result they play again, sometimes pausing first.
    copies.player = [](TwoCopies& c, int side) {
        const int roll = c.between(0, 99);
        if (screen.paused) {
            key_handler("xpa"[roll % 3], 0, 0);
        } else if (match.game_result != kInPlay) {
            key_handler(roll < 20 ? kEsc : 'p', 0, 0);
        } else if (roll < 10) {
            key_handler(roll < 4 ? kEsc : "ps"[roll % 2], 0, 0);
        } else {
            move_if_mine(c, side);
        }
    };
    // 40 connections of 60 games each, with short and long delays on the
    // way and quick and slow players.
    for (int connection = 0; connection < 40; ++connection) {
        positions.clear();
        copies.delay_high = connection % 4 == 0 ? 2000 : 300;
        copies.think_low = 20;
        copies.think_high = connection % 2 == 0 ? 300 : 1500;
        copies.connect({copies.between(0, 499), copies.between(0, 499), copies.between(0, 99),
                        copies.between(0, 99)});
        copies.run_until(
            [&] { return std::min(copies.sides[kHost].game, copies.sides[kJoiner].game) >= 60; });
        ASSERT_FALSE(::testing::Test::HasFailure()) << "connection " << connection;
    }
}

}  // namespace
