// Two copies of the game, a host and a joiner, as two computers joined by a
// simulated connection, on a made-up clock. Each copy keeps its own timers
// at its own phase; messages take their own time on the way, in order; the
// players press keys and click pits at moments of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "net/link.h"
#include "net/messages.h"
#include "rules/board.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "screens/screen.h"
#include "tests/fake_peer.h"
#include "tests/fake_platform.h"

namespace {

constexpr int kHost = 0, kJoiner = 1;
constexpr int kEsc = 27;

// What both copies must agree on once a turn has passed.
struct SettledTurn {
    int game;
    std::array<int, kPitCount> counts;
    int player1_store, player2_store, current_player, game_result;
    bool operator==(const SettledTurn& other) const {
        return game == other.game && counts == other.counts &&
               player1_store == other.player1_store && player2_store == other.player2_store &&
               current_player == other.current_player && game_result == other.game_result;
    }
};

using RowCounts = std::array<int, kColumnCount>;
struct Position {
    RowCounts row0, row1;
    int player1_store;
};

class TwoCopies {
  public:
    struct Side {
        GameState state;
        long next_sowing = 0, next_message = 0, next_think = 0;
        std::deque<std::pair<long, std::string>> on_the_way;  // to this side
        std::vector<SettledTurn> turns;
        int game = 0;
    };

    using Player = std::function<void(TwoCopies&, int side)>;

    Side sides[2];
    long now = 0;
    long last_progress = 0;
    std::mt19937 random;
    // Each game starts from the position of its number, on both copies.
    std::function<Position(int game)> position_of;
    Player player;
    int delay_low = 1, delay_high = 1, think_low = 10, think_high = 10;

    explicit TwoCopies(unsigned seed) : random(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // A new connection: the host accepted the joiner, the clocks run at the
    // given phases.
    void connect(int host_sowing_phase, int joiner_sowing_phase, int host_message_phase,
                 int joiner_message_phase) {
        for (const int side : {kHost, kJoiner}) {
            reset_game_state();
            side == kHost ? start_hosting() : start_joining();
            net_link.awaiting_peer = false;
            net_link.address_entry_open = false;
            net_link.connected = true;
            lay_out(position_of(0));
            sides[side] = Side{};
            sides[side].state = save_game_state();
        }
        loaded = -1;
        sides[kHost].next_sowing = now + host_sowing_phase;
        sides[kJoiner].next_sowing = now + joiner_sowing_phase;
        sides[kHost].next_message = now + host_message_phase;
        sides[kJoiner].next_message = now + joiner_message_phase;
        for (Side& side : sides) {
            side.next_think = now + between(think_low, think_high);
        }
        last_progress = now;
    }

    // Runs the two copies until `done` holds; fails when the boards differ
    // after a turn or nothing has moved on for a long while.
    void run_until(const std::function<bool()>& done, long stuck_after = 300000) {
        while (!done()) {
            ASSERT_LT(now - last_progress, stuck_after) << "stuck: " << describe();
            step();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }

    // Runs something on one copy as its own main thread would.
    void on(int side, const std::function<void()>& work) {
        load(side);
        const bool was_new_turn = match.new_turn;
        const int was_result = match.game_result;
        work();
        Side& self = sides[side];
        if (was_result != kInPlay && match.game_result == kInPlay) {
            ++self.game;
            lay_out(position_of(self.game));
            last_progress = now;
        }
        if (!was_new_turn && match.new_turn) {
            settle_turn(side);
        }
        Side& other = sides[1 - side];
        for (const std::string& bytes : sent_to_peer) {
            const long after = other.on_the_way.empty() ? now : other.on_the_way.back().first;
            other.on_the_way.emplace_back(std::max(after, now + between(delay_low, delay_high)),
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

    void click_pit(int row, int column) {
        mouse_handler(0, 0, 200 + 100 * column, 135 + 130 * row);
    }

  private:
    int loaded = -1;

    void load(int side) {
        if (loaded == side) {
            return;
        }
        if (loaded >= 0) {
            sides[loaded].state = save_game_state();
        }
        load_game_state(sides[side].state);
        loaded = side;
    }

    static void lay_out(const Position& position) {
        int on_board = 0;
        for (int column = 0; column < kColumnCount; ++column) {
            pit_at(0, column).count = position.row0[column];
            pit_at(1, column).count = position.row1[column];
            on_board += position.row0[column] + position.row1[column];
        }
        for (Pit& pit : board.pits) {
            for (int slot = 0; slot < pit.count; ++slot) {
                pit.seed_x[slot] = pit.seed_y[slot] = 0;
            }
        }
        match.player1_store = position.player1_store;
        match.player2_store = kTotalSeeds - on_board - position.player1_store;
    }

    void settle_turn(int side) {
        SettledTurn turn{sides[side].game,     {},
                         match.player1_store,  match.player2_store,
                         match.current_player, match.game_result};
        for (int index = 0; index < kPitCount; ++index) {
            turn.counts[index] = board.pits[index].count;
        }
        std::vector<SettledTurn>& mine = sides[side].turns;
        const std::vector<SettledTurn>& theirs = sides[1 - side].turns;
        if (mine.size() < theirs.size()) {
            EXPECT_TRUE(theirs[mine.size()] == turn)
                << "the boards differ after turn " << mine.size() << ": " << describe();
        }
        mine.push_back(turn);
        last_progress = now;
    }

    void step() {
        long next = now + 1000000;
        for (const Side& side : sides) {
            next = std::min({next, side.next_sowing, side.next_message, side.next_think});
            if (!side.on_the_way.empty()) {
                next = std::min(next, side.on_the_way.front().first);
            }
        }
        now = next;
        for (const int side : {kHost, kJoiner}) {
            Side& self = sides[side];
            while (!self.on_the_way.empty() && self.on_the_way.front().first <= now) {
                const std::string text = self.on_the_way.front().second;
                self.on_the_way.pop_front();
                on(side, [&] {
                    if (std::strlen(net_link.inbox) + text.size() < sizeof net_link.inbox) {
                        std::strcat(net_link.inbox, text.c_str());
                    }
                });
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

// The moves a player makes when the turn is theirs: the host plays row 1,
// the joiner row 0; relays by the a key or by a click, at random.
void move_if_mine(TwoCopies& copies, int side) {
    const int row = side == kHost ? 1 : 0;
    if (match.current_player != (side == kHost ? 1 : 2) || match.sowing_active) {
        return;
    }
    if (!match.new_turn) {
        if (copies.between(0, 1) == 0) {
            key_handler('a', 0, 0);
        } else {
            const PitPosition relay = next_pit(match.source_row, match.source_column);
            copies.click_pit(relay.row, relay.column);
        }
        return;
    }
    std::vector<int> columns;
    for (int column = 0; column < kColumnCount; ++column) {
        if (pit_at(row, column).count > 0) {
            columns.push_back(column);
        }
    }
    if (!columns.empty()) {
        copies.click_pit(row, columns[copies.between(0, static_cast<int>(columns.size()) - 1)]);
    }
}

// A game one move from its end: the host's (1, 5) drops its seed into
// (1, 6), and the three seeds of (0, 5), the last of row 0, are captured.
Position last_move_position(int game) {
    if (game == 0) {
        return {{0, 0, 0, 0, 0, 3, 0}, {0, 0, 0, 0, 0, 1, 0}, 30};
    }
    return {{1, 2, 0, 1, 0, 0, 2}, {2, 0, 1, 0, 3, 0, 1}, 20};
}

// The host's clock runs almost a step ahead of the joiner's, so the host
// ends the game first while the joiner still takes the captured seeds.
void connect_host_ahead(TwoCopies& copies) {
    copies.position_of = last_move_position;
    copies.connect(20, 10, 0, 30);
}

bool next_game_under_way(TwoCopies& copies) {
    for (const int side : {kHost, kJoiner}) {
        if (copies.sides[side].game < 1 || copies.sides[side].turns.size() < 2) {
            return false;
        }
    }
    return true;
}

TEST(TwoCopies, PlayAgainAtOnceReachesACopyStillCapturing) {
    TwoCopies copies(1);
    copies.player = [](TwoCopies& c, int side) {
        if (match.game_result != kInPlay) {
            key_handler('p', 0, 0);
        } else {
            move_if_mine(c, side);
        }
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
        // and resumes a second later; both play again once their game is over.
        if (side == kJoiner && resume_at < 0 && c.sides[kJoiner].game == 0 &&
            c.sides[kHost].game == 1) {
            key_handler(kEsc, 0, 0);
            resume_at = c.now + 1000;
        } else if (screen.paused) {
            if (c.now >= resume_at) {
                key_handler('x', 0, 0);
            }
        } else if (match.game_result != kInPlay) {
            key_handler('p', 0, 0);
        } else {
            move_if_mine(c, side);
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
    constexpr int kConnections = 40, kGamesEach = 60;
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
        } else if (roll < 4) {
            key_handler(kEsc, 0, 0);
        } else if (roll < 10) {
            key_handler("ps"[roll % 2], 0, 0);
        } else {
            move_if_mine(c, side);
        }
    };
    for (int connection = 0; connection < kConnections; ++connection) {
        positions.clear();
        copies.delay_low = 1;
        copies.delay_high = connection % 4 == 0 ? 2000 : 300;
        copies.think_low = 20;
        copies.think_high = connection % 2 == 0 ? 300 : 1500;
        copies.connect(copies.between(0, 499), copies.between(0, 499), copies.between(0, 99),
                       copies.between(0, 99));
        copies.run_until([&] {
            return copies.sides[kHost].game >= kGamesEach &&
                   copies.sides[kJoiner].game >= kGamesEach;
        });
        ASSERT_FALSE(::testing::Test::HasFailure()) << "connection " << connection;
    }
}

}  // namespace
