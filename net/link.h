// All network state shared between the main thread and the connection thread.
#pragma once

#include <atomic>
#include <mutex>

constexpr unsigned short kGamePort = 45678;
constexpr int kMessageCapacity = 100;
constexpr int kInboxCapacity = 1024;
constexpr int kAddressCapacity = 20;
constexpr int kAddressMaxLength = 15;

struct NetLink {
    // Flags read by the connection thread are atomic; the rest belong to the
    // main thread.
    std::atomic<bool> network_game;
    std::atomic<bool> hosting;
    std::atomic<bool> joining;
    std::atomic<bool> awaiting_peer;
    std::atomic<bool> connected;
    std::atomic<bool> address_entry_open;
    std::atomic<bool> quiet_disconnect;
    // Set by the connection thread once the player has dismissed its
    // "Disconnected!" box; the main thread applies the reset.
    std::atomic<bool> connection_lost;
    // Set by the connection thread once the player has dismissed its box
    // saying that another program holds the game's port; the main thread
    // then ends the hosting.
    std::atomic<bool> port_taken;

    char peer_address[kAddressCapacity];

    // Guards receive_buffer, last_received and inbox.
    std::mutex inbox_mutex;
    char receive_buffer[kMessageCapacity];
    char last_received[kMessageCapacity];
    char inbox[kInboxCapacity];

    char send_buffer[kMessageCapacity];
    bool peer_paused;
    // Games ended on this side whose play-again has not come from the
    // opponent yet. More than one only when a pause was taken for a
    // play-again and this side meanwhile ended the next game with its own
    // move; the opponent's play-agains then come one for each.
    int awaiting_rematch;
    bool resume_sowing_on_unpause;
    // This side's pause prompt told the opponent, so closing it must too.
    bool pause_announced;
    // The play-again just taken was a "p". A copy still playing out the last
    // move sends that as a pause; if its "u" follows, the wait for the real
    // play-again is back on.
    bool play_again_may_be_pause;

    char waiting_text[kMessageCapacity];
    char connecting_text[kMessageCapacity];
    char address_prompt_text[kMessageCapacity];
    int text_anim_phase;

    // This machine's address, shown while hosting; asked for once when
    // hosting starts rather than on every frame.
    char local_address[kAddressCapacity];
};

extern NetLink net_link;

// Forgets what the opponent sent: the unread inbox and the last message.
void clear_message_buffers();
