// All network state shared between the main thread and the connection thread.
#pragma once

#include <atomic>
#include <mutex>

constexpr unsigned short kGamePort = 45678;
constexpr int kMessageCapacity = 100;
constexpr int kInboxCapacity = 1024;
constexpr int kAddressCapacity = 20;
constexpr int kAddressMaxLength = 15;

// Where the connection stands. The main thread starts and ends a network
// game and answers the connection thread's reports; the connection thread
// moves on only from the phase it acted in. docs/architecture.md draws how.
enum class LinkPhase {
    kOff,
    kHostWaiting,  // listening for the opponent
    kTypingAddress,
    kConnecting,
    kConnected,
    kDropped,      // the connection failed; told once no pause prompt is in the way
    kTellingLoss,  // the connection thread shows "Disconnected!"
    kLost,         // dismissed: the main thread resets the game in the same role
    kPortTaken,    // dismissed "already in use": the main thread ends the hosting
};

struct NetLink {
    std::atomic<LinkPhase> phase;
    bool hosting;  // this side's role while the phase is not off

    // Typed while the phase is typing address, read by the connection
    // thread only once it is connecting.
    char peer_address[kAddressCapacity];

    // Guards last_received and inbox.
    std::mutex inbox_mutex;
    char last_received[kMessageCapacity];
    char inbox[kInboxCapacity];

    // What this side knows of the opponent, on the main thread. The
    // opponent's play-agains are counted against match.games_ended: while
    // fewer have come, this side waits for one. A move from the opponent
    // shows it in this side's game, which sets the two level.
    int rematches_seen;
    // The play-again just taken was a "p". A copy still playing out the last
    // move sends that as a pause; if its "u" follows, the wait for the real
    // play-again is back on.
    bool play_again_may_be_pause;
    // This side's pause prompt told the opponent, so closing it must too.
    bool pause_announced;

    char waiting_text[kMessageCapacity];
    char connecting_text[kMessageCapacity];
    char address_prompt_text[kMessageCapacity];
    int text_anim_phase;

    // This machine's address, shown while hosting; asked for once when
    // hosting starts rather than on every frame.
    char local_address[kAddressCapacity];
};

extern NetLink net_link;

inline bool in_network_game() {
    return net_link.phase != LinkPhase::kOff;
}
// Which player the opponent moves for, 0 outside a network game.
int opponent_player();
// This side's finished games whose play-again has not come from the opponent.
int awaiting_rematch();

// The transitions the main thread makes. Opening starts a network game in a
// role, afresh: nothing of an earlier opponent follows into it.
void open_link(bool hosting);
// The address is typed: the connection thread connects.
void submit_address();
// Ends the network game, its connection and its listener.
void close_link();

// The connection thread's transitions: each takes effect only from the
// phase named, so none undoes a later step of the main thread's.
bool advance_link(LinkPhase from, LinkPhase to);
