// The connection thread against a stand-in opponent over real sockets on the
// loopback of a network namespace of the test's own. The test body plays
// the main thread of the game.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "net/connection.h"
#include "net/messages.h"
#include "tests/fake_platform.h"

namespace {

// A generous bound on waiting for the other thread, so a busy machine does
// not fail the test; it says nothing about speed.
bool eventually(const std::function<bool()>& condition) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > give_up) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void pause_a_little() {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

std::string inbox_text() {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    return net_link.inbox;
}

bool box_shown(const char* text, const char* caption) {
    const std::vector<ErrorBox> boxes = error_boxes();
    return boxes.size() == 1 && boxes[0].text == text && boxes[0].caption == caption;
}

const sockaddr_in kGameAddress = [] {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(kGamePort);
    return address;
}();
const sockaddr* const kGameSocketAddress = reinterpret_cast<const sockaddr*>(&kGameAddress);

// The opponent's end of a connection.
struct Opponent {
    int handle = -1;

    ~Opponent() { ::close(handle); }

    bool connects() {
        ::close(handle);
        handle = ::socket(AF_INET, SOCK_STREAM, 0);
        return ::connect(handle, kGameSocketAddress, sizeof kGameAddress) == 0;
    }

    void send(const std::string& bytes) {
        ASSERT_EQ(::send(handle, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }

    // What comes within a few seconds, up to `count` bytes; "" once the
    // connection has ended.
    std::string receive(std::size_t count) {
        std::string bytes(count, '\0');
        pollfd watch{handle, POLLIN, 0};
        const ssize_t got = ::poll(&watch, 1, 5000) == 1 ? ::recv(handle, &bytes[0], count, 0) : 0;
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return bytes;
    }
};

class Connection : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Like the game, one thread for the whole process, never stopped.
        std::thread(network_thread, 0).detach();
    }

    void SetUp() override { reset_game_state(); }

    // Hosts from this side; the opponent connects and the screen is told.
    void host_for(Opponent& opponent) {
        start_hosting();
        main_loop_wakes = 0;
        ASSERT_TRUE(eventually([&] { return opponent.connects(); }));
        ASSERT_TRUE(eventually([] { return net_link.connected && main_loop_wakes > 0; }));
        EXPECT_FALSE(net_link.awaiting_peer);
    }
};

// A host's evening: moves both ways, messages split and joined, an opponent
// that stops reading, one that quits, one that is cut off, one lost while
// the pause prompt shows, and leaving; after each the host listens again.
TEST_F(Connection, AHostsEvening) {
    {
        Opponent opponent;
        host_for(opponent);
        match.current_player = 1;
        send_move(1, 4);
        EXPECT_EQ(opponent.receive(3), std::string("41\0", 3));
        match.current_player = 2;
        opponent.send(std::string("30\0p\0u", 6));  // the last one's NUL to come
        ASSERT_TRUE(eventually([] { return inbox_text() == "30pu"; }));
        opponent.send(std::string("\0"
                                  "41\0",
                                  4) +
                      std::string(3000, 'x') + std::string(1, '\0'));
        // Whatever does not fit is dropped.
        ASSERT_TRUE(eventually([] { return inbox_text().size() == kInboxCapacity - 1; }));
        EXPECT_EQ(inbox_text().substr(0, 7), "30pu41x");
        opponent.send(std::string("q\0", 2));
        pause_a_little();
    }
    ASSERT_TRUE(eventually([] { return net_link.connection_lost.load(); }));
    EXPECT_TRUE(box_shown("Opponent quit the game!", "Disconnected!"));
    match.player1_wins = 2;
    message_timer(0);  // the reset happens on this thread
    EXPECT_TRUE(net_link.awaiting_peer && !net_link.connection_lost);
    EXPECT_EQ(match.player1_wins, 2);

    for (const bool paused : {false, true}) {
        reset_platform_record();
        {
            Opponent opponent;
            host_for(opponent);
            opponent.send(std::string("30\0", 3));
            ASSERT_TRUE(eventually([] { return inbox_text() == "30"; }));
            if (paused) {
                pause_game();
                EXPECT_EQ(opponent.receive(2), std::string("p", 2));
            } else {
                // The opponent reads nothing more: sends drop what does not fit
                // rather than wait. Some 40,000 of the longest fill the buffers.
                const std::string longest(kMessageCapacity - 1, 'x');
                for (int message = 0; message < 200000; ++message) {
                    send_message(longest.c_str());
                }
            }
        }
        if (paused) {
            pause_a_little();
            EXPECT_TRUE(error_boxes().empty()) << "shown behind the pause prompt";
            send_message("41");  // into a dropped connection: no signal ends the game
            resume_game();
        }
        ASSERT_TRUE(eventually([] { return net_link.connection_lost.load(); }));
        EXPECT_TRUE(box_shown("Connection lost!", "Disconnected!"));
        message_timer(0);
    }

    // Leaving: the opponent gets the quit message and the end of the stream,
    // this side shows nothing, and the port is free again at once.
    reset_platform_record();
    Opponent opponent;
    host_for(opponent);
    leave_game();
    EXPECT_EQ(opponent.receive(3), std::string("q", 2));
    EXPECT_EQ(opponent.receive(1), "");
    Opponent next;
    host_for(next);
    pause_a_little();
    EXPECT_TRUE(error_boxes().empty());

    // Leaving wakes an accept that waits for nobody.
    leave_game();
    start_hosting();
    pause_a_little();
    leave_game();
    pause_a_little();
    EXPECT_FALSE(Opponent().connects());
    EXPECT_TRUE(error_boxes().empty());
}

TEST_F(Connection, AJoinerConnectsToTheTypedAddressOrIsToldWhyNot) {
    // Nobody listens on the port for the first; the rest are not addresses
    // at all and are never looked up as names.
    for (const char* typed : {"127.0.0.1", "", "127.0.0", "127.0.0.1.", "256.0.0.1", "1..2.3",
                              "0127.0.0.1", "localhost"}) {
        reset_platform_record();
        start_joining();
        std::strcpy(net_link.peer_address, typed);
        main_loop_wakes = 0;
        net_link.address_entry_open = false;
        ASSERT_TRUE(eventually([] { return net_link.address_entry_open && main_loop_wakes > 0; }))
            << typed;
        EXPECT_TRUE(box_shown("No Host found with the given IP address", "Error in connection!"));
        EXPECT_STREQ(net_link.peer_address, typed);  // kept for the next try
    }
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    ASSERT_EQ(::bind(listener, kGameSocketAddress, sizeof kGameAddress), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    std::strcpy(net_link.peer_address, "127.0.0.1");
    net_link.address_entry_open = false;
    Opponent host;
    host.handle = ::accept(listener, nullptr, nullptr);
    ASSERT_TRUE(eventually([] { return net_link.connected.load(); }));
    host.send(std::string("41\0", 3));
    ASSERT_TRUE(eventually([] { return inbox_text() == "41"; }));
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
    ::close(listener);
}

// Cuts the loopback off, so it runs only where the loopback is the one
// interface: in a network namespace of its own.
TEST_F(Connection, AnOpponentThatVanishesIsNoticed) {
    struct if_nameindex* interfaces = ::if_nameindex();
    const bool loopback_only = interfaces[0].if_index != 0 && interfaces[1].if_index == 0;
    ::if_freenameindex(interfaces);
    if (!loopback_only) {
        GTEST_SKIP() << "needs a network namespace of its own";
    }
    Opponent opponent;
    host_for(opponent);
    // From now on not even an acknowledgement reaches either end.
    ASSERT_EQ(std::system("nft 'add table inet cut; add chain inet cut input "
                          "{ type filter hook input priority 0; policy drop; }'"),
              0);
    // Noticed within about 30 s; a wait for ever is ended by the test's time-out.
    while (!net_link.connection_lost) {
        pause_a_little();
    }
    EXPECT_TRUE(box_shown("Connection lost!", "Disconnected!"));
}

}  // namespace

// The connection thread never ends, so the process leaves without running
// the destructors of records that thread still uses.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::_Exit(result);
}
