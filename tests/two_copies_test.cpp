// Two copies of the game, a host and a joiner, as two computers joined by a
// simulated connection, on a made-up clock in milliseconds. Each copy keeps
// its own timers at its own phase; messages take their own time on the way,
// in order; the players press keys and click pits at moments of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <random>
#include <vector>

#include "net/messages.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

constexpr int kHost = 0, kJoiner = 1, kEsc = 27;

struct Position {
    RowCounts row0, row1;
    int player1_store;
};

// After each turn of a copy: the game's number, the counts, the stores,
// whose turn and the result. Both copies must agree on every one.
using Turn = std::array<int, kPitCount + 5>;

struct Side {
    GameState state;
    long next_sowing, next_message, next_think;
    std::deque<std::pair<long, std::string>> on_the_way;  // to this side
    std::vector<Turn> turns;
    int game;
};

struct TwoCopies {
    Side sides[2];
    int loaded = -1;
    long now = 0, last_turn = 0;
    std::mt19937 random;
    std::function<Position(int game)> position_of;  // each game's start, on both copies
    std::function<void(TwoCopies&, int side)> player;
    int delay_high = 1, think_low = 10, think_high = 10;

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // A new connection, the clocks of the two copies at the given phases.
    void connect(std::array<int, 4> sowing_and_message_phases) {
        for (const int side : {kHost, kJoiner}) {
            reset_game_state();
            side == kHost ? start_hosting() : start_joining();
            net_link.awaiting_peer = net_link.address_entry_open = false;
            net_link.connected = true;
            lay_out(0);
            const long think = now + between(think_low, think_high);
            sides[side] = {save_game_state(),
                           now + sowing_and_message_phases[side],
                           now + sowing_and_message_phases[2 + side],
                           think,
                           {},
                           {},
                           0};
        }
        loaded = -1;
    }

    void lay_out(int game) {
        const Position position = position_of(game);
        set_board(position.row0, position.row1, position.player1_store);
        last_turn = now;
    }

    // Runs work on one copy as its main thread would, and sends on what it sent.
    void on(int side, const std::function<void()>& work) {
        if (loaded != side) {
            if (loaded >= 0) {
                sides[loaded].state = save_game_state();
            }
            load_game_state(sides[side].state);
            loaded = side;
        }
        const bool was_new_turn = match.new_turn;
        const int was_result = match.game_result;
        work();
        if (was_result != kInPlay && match.game_result == kInPlay) {
            lay_out(++sides[side].game);
        }
        if (!was_new_turn && match.new_turn) {
            Turn turn{};
            std::transform(std::begin(board.pits), std::end(board.pits), turn.begin(),
                           [](const Pit& pit) { return pit.count; });
            std::copy_n(
                std::array<int, 5>{sides[side].game, match.player1_store, match.player2_store,
                                   match.current_player, match.game_result}
                    .begin(),
                5, turn.begin() + kPitCount);
            const std::vector<Turn>& theirs = sides[1 - side].turns;
            std::vector<Turn>& mine = sides[side].turns;
            EXPECT_TRUE(mine.size() >= theirs.size() || theirs[mine.size()] == turn)
                << "the boards differ after turn " << mine.size() << " at " << now << " ms";
            mine.push_back(turn);
            last_turn = now;
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

    // Runs the two copies until `done`; fails when the boards differ after a
    // turn, or when no turn has passed for five minutes.
    void run_until(const std::function<bool()>& done) {
        while (!done() && !::testing::Test::HasFailure()) {
            ASSERT_LT(now - last_turn, 300000) << "stuck at " << now << " ms";
            now += 1000000;
            for (const Side& side : sides) {
                now = std::min({now, side.next_sowing, side.next_message, side.next_think,
                                side.on_the_way.empty() ? now : side.on_the_way.front().first});
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
    }
};

// A player whose turn it is, or whose game is over: the host plays row 1,
// the joiner row 0; relays by the a key or a click, at random.
void play_or_play_again(TwoCopies& copies, int side) {
    const int row = side == kHost ? 1 : 0;
    if (match.game_result != kInPlay) {
        key_handler('p', 0, 0);
    } else if (match.current_player == 2 - row && !match.sowing_active) {
        const PitPosition relay = next_pit(match.source_row, match.source_column);
        int column = relay.column;
        for (int tries = 0; match.new_turn && tries < 50 && pit_at(row, column).count == 0;
             ++tries) {
            column = copies.between(0, kColumnCount - 1);
        }
        !match.new_turn&& copies.between(0, 1)
            ? key_handler('a', 0, 0)
            : mouse_handler(0, 0, 200 + 100 * column,
                            135 + 130 * (match.new_turn ? row : relay.row));
    }
}

// A game one move from its end: the host's (1, 5) drops its seed into
// (1, 6), and the three seeds of (0, 5), the last of row 0, are captured.
// The host's clock runs almost a step ahead of the joiner's, so the host
// ends the game first while the joiner still takes the captured seeds. Both
// copies must then be in the next game, each with a turn of it played.
void play_the_last_move_host_ahead(TwoCopies& copies) {
    copies.position_of = [](int game) {
        return game == 0 ? Position{{0, 0, 0, 0, 0, 3, 0}, {0, 0, 0, 0, 0, 1, 0}, 30}
                         : Position{{1, 2, 0, 1, 0, 0, 2}, {2, 0, 1, 0, 3, 0, 1}, 20};
    };
    copies.connect({20, 10, 0, 30});
    copies.run_until(
        [&] { return std::min(copies.sides[0].turns.size(), copies.sides[1].turns.size()) >= 2; });
}

TEST(TwoCopies, PlayAgainAtOnceReachesACopyStillCapturing) {
    TwoCopies copies{};
    bool paused_by_peer = false, held_in_play = false;
    copies.player = [&](TwoCopies& c, int side) {
        paused_by_peer |= net_link.peer_paused;
        held_in_play |= match.game_result == kInPlay && c.sides[side].game == 0 &&
                        std::strchr(net_link.inbox, 'P') != nullptr;
        play_or_play_again(c, side);
    };
    play_the_last_move_host_ahead(copies);
    EXPECT_TRUE(held_in_play);
    EXPECT_FALSE(paused_by_peer) << "the host's play-again read as a pause";
}

TEST(TwoCopies, APauseFromTheCopyStillCapturingIsNotAPlayAgain) {
    TwoCopies copies{};
    long resume_at = -1;
    copies.player = [&](TwoCopies& c, int side) {
        // The joiner's player pauses just after the host's game has ended,
        // and resumes a second later.
        if (side == kJoiner && resume_at < 0 && c.sides[kHost].game == 1) {
            key_handler(kEsc, 0, 0);
            resume_at = c.now + 1000;
        } else if (!screen.paused) {
            play_or_play_again(c, side);
        } else if (c.now >= resume_at) {
            key_handler('x', 0, 0);
        }
    };
    play_the_last_move_host_ahead(copies);
    EXPECT_GE(resume_at, 0);
}

TEST(TwoCopies, NeverJamNorDisagreeWhateverTheTimingAroundTheEndOfAGame) {
    TwoCopies copies{};
    copies.random.seed(20261207);
    std::vector<Position> positions;
    // Each game starts near its end: few seeds, some on each row. With eight
    // or fewer on the board no relay chain goes on for ever.
    copies.position_of = [&](int game) {
        while (static_cast<int>(positions.size()) <= game) {
            Position position{{}, {}, copies.between(0, 40)};
            ++position.row0[copies.between(0, 6)];
            ++position.row1[copies.between(0, 6)];
            for (int seed = copies.between(2, 6); seed > 0; --seed) {
                ++(copies.between(0, 1) ? position.row0 : position.row1)[copies.between(0, 6)];
            }
            positions.push_back(position);
        }
        return positions[game];
    };
    // Players who mostly play, and now and then pause, resume, press p or
    // another key; at a result they play again, sometimes pausing first.
    copies.player = [](TwoCopies& c, int side) {
        const int roll = c.between(0, 99);
        if (screen.paused) {
            key_handler("xpa"[roll % 3], 0, 0);
        } else if (roll < 20 && (match.game_result != kInPlay || roll < 10)) {
            key_handler(roll < 4 || match.game_result != kInPlay ? kEsc : "ps"[roll % 2], 0, 0);
        } else {
            play_or_play_again(c, side);
        }
    };
    // 40 connections of 60 games each: short and long delays on the way,
    // quick and slow players.
    for (int connection = 0; connection < 40 && !::testing::Test::HasFailure(); ++connection) {
        positions.clear();
        copies.delay_high = connection % 4 == 0 ? 2000 : 300;
        copies.think_low = 20;
        copies.think_high = connection % 2 == 0 ? 300 : 1500;
        copies.connect({copies.between(0, 499), copies.between(0, 499), copies.between(0, 99),
                        copies.between(0, 99)});
        copies.run_until(
            [&] { return std::min(copies.sides[0].game, copies.sides[1].game) >= 60; });
    }
}

}  // namespace
