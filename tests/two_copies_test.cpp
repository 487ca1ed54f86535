// Two copies of the game, a host and a joiner (one perhaps of another make), joined by a simulated
// connection on a made-up clock in milliseconds: each keeps its own timers at its own phase,
// messages take their own time on the way, in order, and the players act when they will.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <functional>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "net/messages.h"
#include "rules/sowing.h"
#include "screens/input.h"
#include "tests/states.h"

namespace {

constexpr int kHost = 0, kJoiner = 1, kEsc = 27;

using Position = std::tuple<RowCounts, RowCounts, int>;  // the rows, player 1's store

// A copy of another make that pauses, plays again and reads the wire by the letter of the
// game's rules: "p" to pause and to play again, "u" after every pause; its clicks and sowing are
// the game's own. `own_fault` marks where its own reading jams it or loses a move.
namespace other_make {
bool own_fault;
// What that copy keeps of its own: the opponent's pause, and the sowing that
// a pause stopped, one flag for both pauses.
bool peer_paused, stopped;

void key(int key) {
    if (key == kEsc && !paused_here()) {
        own_fault |= peer_paused && stopped;  // forgets it
        stopped = std::exchange(match.sowing_active, false);
        match.paused_by |= kPausedHere;
        send_message("p");
    } else if (key == 'p' && match.game_result != kInPlay) {
        own_fault |= net_link.inbox[0] != '\0';  // lost to its new game
        net_link.inbox[0] = '\0';
        new_game();  // which closes its prompt
        stopped = false;
        send_message("p");
    } else if (key != kEsc && paused_here()) {
        match.paused_by &= ~kPausedHere;
        match.sowing_active |= stopped;
        send_message("u");
    }
}

void message_timer() {
    char* inbox = net_link.inbox;
    // A sowing its own prompt stopped, which a move or another pause forgets.
    const bool stopped_here = paused_here() && stopped;
    int taken = 0;
    if (awaiting_rematch() > 0) {
        taken = inbox[0] == 'p' || inbox[0] == 'P';
        own_fault |= inbox[0] == 'p';  // this game's "p" is only ever a pause
        net_link.rematches_seen += taken;
    } else if (peer_paused) {
        taken = inbox[0] == 'u';
        peer_paused = !taken;
        match.sowing_active |= taken && stopped;
    } else if (std::isdigit(inbox[0]) && std::isdigit(inbox[1]) && !match.sowing_active) {
        own_fault |=
            match.game_result != kInPlay || stopped_here;  // or a move on its finished board
        begin_sowing(inbox[1] - '0', inbox[0] - '0');
        taken = 2;
    } else if (inbox[0] == 'p') {
        own_fault |= stopped_here;
        taken = peer_paused = true;
        stopped = std::exchange(match.sowing_active, false);
    }
    std::memmove(inbox, inbox + taken, std::strlen(inbox + taken) + 1);
}
}  // namespace other_make

struct Side {
    GameState state;
    long next_sowing, next_message, next_think, last_arrival = 0;
    std::deque<std::pair<long, std::string>> way = {};  // messages on the way here, in order
    std::vector<std::vector<int>> turns = {};           // the game, stores, mover, result, counts
    int game = 0;
};

struct TwoCopies {
    Side sides[2];
    long now = 0, last_turn = 0;
    std::mt19937 random;
    std::function<Position(int game)> position_of;  // each game's start, on both copies
    std::function<void(TwoCopies&, int side)> player;
    int delay_low = 1, delay_high = 1, quickest = 10, slowest = 10;  // on the way; to act, ms
    int other_make = -1;  // the side that is a copy of another make, if one is

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    void press(int side, int key) {
        side == other_make ? other_make::key(key) : key_handler(key, 0, 0);
    }

    // A new connection, the copies' first sowing steps and then message ticks at the given times.
    void connect(std::array<int, 4> at) {
        now = last_turn = 0;
        other_make::own_fault = other_make::peer_paused = other_make::stopped = false;
        for (const int side : {kHost, kJoiner}) {
            reset_game_state();
            side == kHost ? start_hosting() : start_joining();
            net_link.phase = LinkPhase::kConnected;
            std::apply(set_board, position_of(0));
            sides[side] = {save_game_state(), at[side], at[2 + side], between(quickest, slowest)};
        }
    }

    // Runs work on one copy as its main thread would, and sends on what it sent.
    void on(int side, const std::function<void()>& work) {
        Side &self = sides[side], &other = sides[1 - side];
        load_game_state(self.state);
        const bool was_new_turn = match.new_turn, was_over = match.game_result != kInPlay;
        work();
        if (was_over && match.game_result == kInPlay) {
            std::apply(set_board, position_of(++self.game));
        }
        if (!was_new_turn && match.new_turn) {
            std::vector<int> turn{self.game, match.player1_store, match.player2_store,
                                  match.current_player, match.game_result};
            for (const Pit& pit : board.pits) {
                turn.push_back(pit.count);
            }
            const std::size_t count = self.turns.size();
            EXPECT_TRUE(count >= other.turns.size() || other.turns[count] == turn) << now << " ms";
            self.turns.push_back(turn);
            last_turn = now;
        }
        for (const std::string& bytes : sent_to_peer) {
            other.last_arrival = std::max(other.last_arrival, now + between(delay_low, delay_high));
            other.way.emplace_back(other.last_arrival, bytes.c_str());
        }
        sent_to_peer.clear();
        reset_platform_record();
        self.state = save_game_state();
    }

    // Runs the two copies until both are `done` or the copy of another make jams itself; fails
    // when the boards differ after a turn, or when no turn has passed for five minutes.
    void run_until(const std::function<bool(const Side&)>& done) {
        while (!(done(sides[0]) && done(sides[1])) && !::testing::Test::HasFailure() &&
               !other_make::own_fault) {
            ASSERT_LT(now - last_turn, 300000) << "stuck at " << now << " ms";
            now += 1000000;
            for (const Side& side : sides) {
                now = std::min({now, side.next_sowing, side.next_message, side.next_think,
                                side.way.empty() ? now : side.way.front().first});
            }
            for (const int side : {kHost, kJoiner}) {
                Side& self = sides[side];
                for (; !self.way.empty() && self.way.front().first <= now; self.way.pop_front()) {
                    std::strcat(self.state.link.inbox, self.way.front().second.c_str());
                }
                if (self.next_message <= now) {
                    self.next_message += 100;
                    on(side, [&] {
                        side == other_make ? other_make::message_timer() : message_timer(0);
                    });
                }
                // This game's copy never sows while either side's pause prompt is open.
                if (self.next_sowing <= now) {
                    self.next_sowing += 500;
                    on(side, [&] {
                        const bool held = side != other_make && match.paused_by != 0;
                        const PitCounts counts = pit_counts();
                        sowing_timer(0);
                        EXPECT_FALSE(held && counts != pit_counts()) << now << " ms";
                    });
                }
                if (self.next_think <= now) {
                    self.next_think = now + between(quickest, slowest);
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
        copies.press(side, 'p');
    } else if (side == copies.other_make && other_make::peer_paused) {
        return;  // that copy takes no pick while its opponent's pause shows
    } else if (match.current_player == 2 - row && !match.sowing_active) {
        PitPosition pit = next_pit(match.source_row, match.source_column);  // a relay's
        for (int tries = 50; match.new_turn && pit_at(row, pit.column).count == 0 && tries-- > 0;) {
            pit.column = copies.between(0, kColumnCount - 1);
        }
        const int x = 200 + 100 * pit.column, y = 135 + 130 * (match.new_turn ? row : pit.row);
        !match.new_turn&& copies.between(0, 1) ? key_handler('a', 0, 0) : mouse_handler(0, 0, x, y);
    }
}

// One move from the end: the host's (1, 5) drops into (1, 6) and (0, 5)'s three seeds are
// captured. The host, a step ahead, plays again at once while the joiner still captures: its
// "P", or "p" from another make, waits there. Or the joiner pauses then and resumes, or, of
// another make, pauses at its result then plays again ("p", "p", no "u") and moves first.
TEST(TwoCopies, TheEndOfAGameOnTwoClocks) {
    const Position last_move{{0, 0, 0, 0, 0, 3, 0}, {0, 0, 0, 0, 0, 1, 0}, 30},
        next_game{{1, 2, 0, 1, 0, 0, 2}, {2, 0, 1, 0, 3, 0, 1}, 20};
    for (const auto& [other_make, pause, key] :
         {std::tuple{-1, false, ' '}, {kHost, false, ' '}, {-1, true, 'x'}, {kJoiner, true, 'p'}}) {
        TwoCopies copies{};
        copies.position_of = [&](int game) { return game == 0 ? last_move : next_game; };
        copies.other_make = other_make;
        bool held_in_play = false;
        long resume_at = pause ? -1 : 0;
        copies.player = [&](TwoCopies&, int side) {
            held_in_play |= match.game_result == kInPlay && copies.sides[side].game == 0 &&
                            std::strpbrk(net_link.inbox, "pP") != nullptr;
            if (side == kJoiner && resume_at < 0 &&
                (other_make < 0 ? copies.sides[kHost].game == 1 : match.game_result != kInPlay)) {
                copies.press(side, kEsc);
                resume_at = copies.now + 1000;
            } else if (!paused_here()) {
                play_or_play_again(copies, side);
            } else if (copies.now >= resume_at) {
                copies.press(side, key);
            }
        };
        copies.connect({20, 10, 0, 30});
        copies.run_until([](const Side& side) { return side.turns.size() >= 2; });
        EXPECT_FALSE(other_make::own_fault || resume_at < 0);
        EXPECT_TRUE(pause || held_in_play);
    }
}

// The joiner pauses while the host's game-ending move is on its way. Had it told its pause, a
// host of another make, past its game's end by the time the "p" came, would take it for the
// play-again. It tells nothing; the move waits at the joiner until it resumes.
TEST(TwoCopies, APauseDoesNotCrossTheOpponentsLastMove) {
    for (const int other_make : {-1, kHost}) {
        TwoCopies copies{};
        copies.position_of = [](int game) {
            return game == 0 ? Position{{}, {0, 0, 0, 0, 0, 1, 0}, 30}  // (1, 5) ends it
                             : Position{{1, 2, 0, 1, 0, 0, 2}, {2, 0, 1, 0, 3, 0, 1}, 20};
        };
        copies.other_make = other_make;
        copies.delay_low = copies.delay_high = 1800;
        long resume_at = -1;
        copies.player = [&](TwoCopies& c, int side) {
            const bool host_sows = c.sides[kHost].state.match.sowing_active;
            if (side == kJoiner && resume_at < 0 && host_sows && match.new_turn) {
                c.press(side, kEsc);
                EXPECT_EQ(messages_sent(), "");
                resume_at = c.now + 3000;
            } else if (!paused_here()) {
                play_or_play_again(c, side);
            } else if (c.now >= resume_at) {
                c.press(side, 'x');
            }
        };
        copies.connect({0, 0, 0, 0});
        copies.run_until([](const Side& side) { return side.turns.size() >= 2; });
        EXPECT_FALSE(other_make::own_fault || resume_at < 0);
    }
}

TEST(TwoCopies, NeverJamNorDisagreeWhateverTheTimingAroundTheEndOfAGame) {
    TwoCopies copies{};
    copies.random.seed(20261207);
    std::vector<Position> positions;
    // Each game starts near its end: few seeds, some on each row. With eight
    // or fewer on the board no relay chain goes on for ever.
    copies.position_of = [&](int game) {
        while (static_cast<int>(positions.size()) <= game) {
            auto& [row0, row1, store] = positions.emplace_back();
            store = copies.between(0, 40);
            ++row0[copies.between(0, 6)];
            ++row1[copies.between(0, 6)];
            for (int seed = copies.between(2, 6); seed > 0; --seed) {
                ++(copies.between(0, 1) ? row0 : row1)[copies.between(0, 6)];
            }
        }
        return positions[game];
    };
    // Players who mostly play, and now and then pause, resume, press p or another key; at a
    // result they play again, sometimes pausing first; some pause while the opponent's move is
    // on its way. Against a copy of another make they
    // pause in play ten times more rarely: two pauses that cross jam that copy.
    copies.player = [](TwoCopies& c, int side) {
        const int roll = c.between(0, 99);
        const bool over = match.game_result != kInPlay;
        // The opponent has picked, and its move is on its way here.
        const bool move_coming = c.sides[1 - side].state.match.sowing_active && match.new_turn &&
                                 match.current_player != (side == kHost ? 1 : 2);
        if (paused_here()) {
            c.press(side, "xpa"[roll % 3]);
        } else if (move_coming && roll < 5) {
            c.press(side, kEsc);
        } else if (roll < 20 && (over || roll < 10)) {
            const bool pause = over || (roll < 4 && (c.other_make < 0 || c.between(0, 9) == 0));
            c.press(side, pause ? kEsc : "ps"[roll % 2]);
        } else {
            play_or_play_again(c, side);
        }
    };
    // 60 games in each of 80 settings: short and long delays, quick and slow players; two copies
    // of this game, then one of another make as host or joiner. Where that one jams itself its
    // players would connect again, and so do these, up to 30 times for a setting's 60 games.
    for (int setting = 0; setting < 80 && !::testing::Test::HasFailure(); ++setting) {
        copies.delay_high = setting % 4 == 0 ? 2000 : 300;
        copies.quickest = 20;
        copies.slowest = setting % 2 == 0 ? 300 : 1500;
        copies.other_make = setting < 40 ? -1 : setting % 8 < 4 ? kHost : kJoiner;
        for (int games = 0, connection = 0; games < 60 && !::testing::Test::HasFailure();) {
            ASSERT_LT(connection++, 30) << "setting " << setting;
            positions.clear();
            copies.connect({copies.between(0, 499), copies.between(0, 499), copies.between(0, 99),
                            copies.between(0, 99)});
            copies.run_until([&](const Side& side) { return side.game >= 60 - games; });
            games += std::min(copies.sides[0].game, copies.sides[1].game);
        }
    }
}

}  // namespace
