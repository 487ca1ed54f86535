// The connection thread against a stand-in opponent over real sockets on
// 127.0.0.1. The test body plays the main thread of the game.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "net/connection.h"
#include "net/link.h"
#include "net/messages.h"
#include "rules/board.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

// A generous bound on waiting for the other thread, so a busy machine does
// not fail the test; it says nothing about speed.
bool eventually(const std::function<bool()>& condition) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < give_up) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

std::string inbox_text() {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    return net_link.inbox;
}

sockaddr_in loopback_port() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(kGamePort);
    return address;
}

// The opponent's end of the connection.
struct Opponent {
    int handle = -1;

    ~Opponent() { hang_up(); }

    bool connect_to_host() {
        return eventually([this] {
            hang_up();
            handle = ::socket(AF_INET, SOCK_STREAM, 0);
            const sockaddr_in address = loopback_port();
            return ::connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
                   0;
        });
    }

    void send_bytes(const std::string& bytes) {
        ASSERT_EQ(::send(handle, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }

    // Reads until `count` bytes have come or the connection ends.
    std::string read_bytes(std::size_t count) {
        std::string bytes;
        while (bytes.size() < count) {
            pollfd watch{handle, POLLIN, 0};
            if (::poll(&watch, 1, 5000) <= 0) {
                break;
            }
            char chunk[64];
            const ssize_t got = ::recv(handle, chunk, sizeof chunk, 0);
            if (got <= 0) {
                break;
            }
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
        return bytes;
    }

    bool sees_end_of_stream() {
        pollfd watch{handle, POLLIN, 0};
        char byte;
        return ::poll(&watch, 1, 5000) == 1 && ::recv(handle, &byte, 1, 0) == 0;
    }

    void hang_up() {
        if (handle >= 0) {
            ::close(handle);
            handle = -1;
        }
    }
};

// An opponent that hosts, for the joining side.
struct HostingOpponent {
    int listener = -1;
    Opponent connection;

    HostingOpponent() {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        const sockaddr_in address = loopback_port();
        EXPECT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(listener, 1), 0);
    }
    ~HostingOpponent() { ::close(listener); }

    bool accept_joiner() {
        pollfd watch{listener, POLLIN, 0};
        if (::poll(&watch, 1, 5000) != 1) {
            return false;
        }
        connection.handle = ::accept(listener, nullptr, nullptr);
        return connection.handle >= 0;
    }
};

class ConnectionTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Like the game, one thread for the whole process, never stopped.
        std::thread(network_thread, 0).detach();
    }

    void SetUp() override { reset_game_state(); }

    void TearDown() override {
        net_link.network_game = false;
        close_connection();
        // Let the thread finish its pass and close what it holds.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

    void host_and_accept(Opponent& opponent) {
        start_hosting();
        ASSERT_TRUE(opponent.connect_to_host());
        ASSERT_TRUE(eventually([] { return net_link.connected.load(); }));
        EXPECT_FALSE(net_link.awaiting_peer);
        EXPECT_TRUE(eventually([] { return main_loop_wakes > 0; }));  // to draw the change
    }
};

TEST_F(ConnectionTest, HostAcceptsAndMovesCrossBothWays) {
    Opponent opponent;
    host_and_accept(opponent);

    match.current_player = 1;
    send_move(1, 4);
    EXPECT_EQ(opponent.read_bytes(3), std::string("41\0", 3));

    match.current_player = 2;
    opponent.send_bytes(std::string("30\0", 3));
    ASSERT_TRUE(eventually([] { return inbox_text() == "30"; }));
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_EQ(match.source_row, 0);
    EXPECT_EQ(match.source_column, 3);
}

TEST_F(ConnectionTest, AnOpponentThatNeverReadsCannotFreezeTheSender) {
    Opponent opponent;
    host_and_accept(opponent);
    // Some 40,000 of the longest messages fill the buffers on loopback.
    const std::string longest(kMessageCapacity - 1, 'x');
    for (int message = 0; message < 200000; ++message) {
        send_message(longest.c_str());
    }
}

TEST_F(ConnectionTest, EveryMessageOfAChunkArrivesAndSplitOnesJoin) {
    Opponent opponent;
    host_and_accept(opponent);
    opponent.send_bytes(std::string("30\0p\0", 5));
    ASSERT_TRUE(eventually([] { return inbox_text() == "30p"; }));

    opponent.send_bytes("u");  // no NUL yet
    ASSERT_TRUE(eventually([] { return inbox_text() == "30pu"; }));
    opponent.send_bytes(
        std::string("\0"
                    "41\0",
                    4));
    ASSERT_TRUE(eventually([] { return inbox_text() == "30pu41"; }));
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    EXPECT_STREQ(net_link.last_received, "41");
}

TEST_F(ConnectionTest, InboxStaysWithinItsCapacity) {
    Opponent opponent;
    host_and_accept(opponent);
    opponent.send_bytes(std::string(3000, 'x'));
    ASSERT_TRUE(eventually([] { return inbox_text().size() == kInboxCapacity - 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(inbox_text().size(), static_cast<std::size_t>(kInboxCapacity - 1));
}

// Cuts the loopback off, so it runs only in a network namespace of its own,
// where the loopback is the one interface.
TEST_F(ConnectionTest, AnOpponentThatVanishesIsNoticed) {
    struct if_nameindex* interfaces = ::if_nameindex();
    const bool private_namespace = interfaces[0].if_index != 0 && interfaces[1].if_index == 0 &&
                                   std::strcmp(interfaces[0].if_name, "lo") == 0;
    ::if_freenameindex(interfaces);
    if (!private_namespace) {
        GTEST_SKIP() << "needs a network namespace of its own";
    }
    Opponent opponent;
    host_and_accept(opponent);
    // From now on not even an acknowledgement reaches either end.
    ASSERT_EQ(std::system("nft 'add table inet cut; add chain inet cut input "
                          "{ type filter hook input priority 0; policy drop; }'"),
              0);
    // Noticed within about 30 s; a wait for ever is ended by the test's time-out.
    while (!net_link.connection_lost) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const std::vector<ErrorBox> boxes = error_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Connection lost!");
    EXPECT_EQ(boxes[0].caption, "Disconnected!");
}

TEST_F(ConnectionTest, OpponentQuittingIsReportedAndTheHostListensAgain) {
    {
        Opponent opponent;
        host_and_accept(opponent);
        match.player1_wins = 2;
        opponent.send_bytes(std::string("q\0", 2));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        opponent.hang_up();
        ASSERT_TRUE(eventually([] { return net_link.connection_lost.load(); }));
    }
    const std::vector<ErrorBox> boxes = error_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Opponent quit the game!");
    EXPECT_EQ(boxes[0].caption, "Disconnected!");

    message_timer(0);  // the reset happens on this thread
    EXPECT_FALSE(net_link.connection_lost);
    EXPECT_TRUE(net_link.awaiting_peer);
    EXPECT_EQ(match.player1_wins, 2);

    Opponent next;
    ASSERT_TRUE(next.connect_to_host());
    EXPECT_TRUE(eventually([] { return net_link.connected.load(); }));
}

TEST_F(ConnectionTest, ConnectionEndingWithoutQuitIsALostConnection) {
    Opponent opponent;
    host_and_accept(opponent);
    opponent.send_bytes(std::string("30\0", 3));
    ASSERT_TRUE(eventually([] { return inbox_text() == "30"; }));
    opponent.hang_up();
    ASSERT_TRUE(eventually([] { return net_link.connection_lost.load(); }));
    const std::vector<ErrorBox> boxes = error_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Connection lost!");
}

TEST_F(ConnectionTest, LossDuringThePausePromptIsReportedAfterIt) {
    Opponent opponent;
    host_and_accept(opponent);
    pause_game();
    EXPECT_EQ(opponent.read_bytes(2), std::string("p", 2));
    opponent.hang_up();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_TRUE(error_boxes().empty());
    // Sending into a connection the opponent has dropped fails quietly,
    // without a signal ending the program.
    send_message("41");
    resume_game();
    ASSERT_TRUE(eventually([] { return net_link.connection_lost.load(); }));
    EXPECT_EQ(error_boxes().size(), 1u);
}

TEST_F(ConnectionTest, LeavingEndsTheConnectionSilentlyAndHostingAgainWorks) {
    Opponent opponent;
    host_and_accept(opponent);
    leave_game();
    // The opponent gets the quit message and then the end of the stream,
    // which its own thread reports as "Opponent quit the game!".
    EXPECT_EQ(opponent.read_bytes(2), std::string("q", 2));
    EXPECT_TRUE(opponent.sees_end_of_stream());
    EXPECT_TRUE(screen_is(kNetworkMenu));

    // At once: the port is free for the next game although the last
    // connection still lingers.
    Opponent next;
    host_and_accept(next);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(error_boxes().empty());
    EXPECT_FALSE(net_link.connection_lost);
}

TEST_F(ConnectionTest, LeavingWakesABlockedAccept) {
    start_hosting();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the thread is in accept
    leave_game();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Nobody listens any more.
    Opponent opponent;
    opponent.handle = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback_port();
    EXPECT_NE(
        ::connect(opponent.handle, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_TRUE(error_boxes().empty());
}

TEST_F(ConnectionTest, JoinerConnectsToTheTypedAddress) {
    HostingOpponent host;
    start_joining();
    std::strcpy(net_link.peer_address, "127.0.0.1");
    net_link.address_entry_open = false;
    ASSERT_TRUE(host.accept_joiner());
    ASSERT_TRUE(eventually([] { return net_link.connected.load(); }));
    EXPECT_TRUE(eventually([] { return main_loop_wakes > 0; }));
    match.current_player = 1;
    host.connection.send_bytes(std::string("41\0", 3));
    ASSERT_TRUE(eventually([] { return inbox_text() == "41"; }));
    message_timer(0);
    EXPECT_TRUE(match.sowing_active);
    EXPECT_TRUE(error_boxes().empty());
}

TEST_F(ConnectionTest, BadOrUnansweredAddressesGiveTheErrorBoxAndThePromptAgain) {
    // Nobody listens on the port for the first; the rest are not addresses
    // at all and are never looked up as names.
    for (const char* typed : {"127.0.0.1", "", "127.0.0", "127.0.0.1.", "256.0.0.1", "1..2.3",
                              "0127.0.0.1", "localhost"}) {
        reset_platform_record();
        start_joining();
        std::strcpy(net_link.peer_address, typed);
        net_link.address_entry_open = false;
        ASSERT_TRUE(eventually([] { return net_link.address_entry_open.load(); })) << typed;
        const std::vector<ErrorBox> boxes = error_boxes();
        ASSERT_EQ(boxes.size(), 1u) << typed;
        EXPECT_EQ(boxes[0].text, "No Host found with the given IP address");
        EXPECT_EQ(boxes[0].caption, "Error in connection!");
        EXPECT_STREQ(net_link.peer_address, typed);  // kept for the next try
        EXPECT_FALSE(net_link.connected);
        EXPECT_TRUE(eventually([] { return main_loop_wakes > 0; })) << typed;
    }
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
