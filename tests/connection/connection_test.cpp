// The connection thread against stand-in opponents over real sockets.
#include <gtest/gtest.h>

#include <SFML/Network.hpp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "net/connection.h"
#include "net/messages.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

// Waits for the connection thread, generously, between its appends to the
// inbox, answering its reports as the main thread does.
bool eventually(const std::function<bool()>& condition, int seconds = 5) {
    bool holds = false;
    for (int wait = 0; !holds && wait < seconds * 100; ++wait, sf::sleep(sf::milliseconds(10))) {
        connection_report_timer(0);
        std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
        holds = condition();
    }
    return holds;
}

bool box_shown(const char* text, const char* caption = "Disconnected!") {
    return error_boxes() == std::vector<ErrorBox>{{text, caption}};
}

// The other end. It joins as soon as this side hosts, and the screen is told.
struct Opponent : sf::TcpSocket {
    void joins() {
        start_hosting();
        ASSERT_TRUE(eventually([&] { return connect("127.0.0.1", kGamePort) == Done; }));
        ASSERT_TRUE(eventually(
            [] { return net_link.phase == LinkPhase::kConnected && main_loop_wakes > 0; }));
    }
    void sends(const std::string& bytes) { send(bytes.data(), bytes.size()); }
    std::string receive(std::size_t count) {
        char bytes[3];
        sf::TcpSocket::receive(bytes, count, count);  // a wait in vain ends by the time-out
        return {bytes, count};
    }
};

// The report, and the reset once it is dismissed: hosting again.
void expect_lost(const char* report, int seconds = 5) {
    ASSERT_TRUE(eventually(
        [&] { return box_shown(report) && net_link.phase == LinkPhase::kHostWaiting; }, seconds));
    reset_platform_record();
}

// A host's evening, then a joiner's.
TEST(Connection, AHostsEveningThenAJoiners) {
    Opponent opponent;
    opponent.joins();  // it reads nothing, and sends never wait for it
    pause_game();      // a loss is then reported only once the prompt closes
    for (int message = 0; message < 200000; ++message) {
        send_message(std::string(kMessageCapacity - 1, 'x').c_str());
    }
    opponent.disconnect();
    EXPECT_FALSE(eventually([] { return !error_boxes().empty(); }, 1));
    resume_game();  // its "u" goes into a dropped connection: no signal ends the game
    expect_lost("Connection lost!");

    opponent.joins();  // at once
    send_move(1, 4);
    EXPECT_EQ(opponent.receive(3), std::string("41\0", 3));
    opponent.sends(std::string("30\0p\0u", 6));  // the last one's NUL to come
    ASSERT_TRUE(eventually([] { return net_link.inbox == std::string("30pu"); }));
    opponent.sends(std::string(1, '\0') + "41" + '\0' + std::string(3000, 'x') + '\0' + "q" + '\0');
    ASSERT_TRUE(eventually([] { return net_link.inbox == "30pu41" + std::string(1017, 'x'); }));
    opponent.disconnect();
    expect_lost("Opponent quit the game!");
    opponent.joins();  // at once; this one ends without a word
    opponent.disconnect();
    expect_lost("Connection lost!");

    // Leaving wakes the accept that waits for nobody, and the port is free.
    sf::sleep(sf::milliseconds(300));
    leave_game();
    sf::TcpListener host;
    ASSERT_TRUE(
        eventually([&] { return host.listen(kGamePort, "127.0.0.1") == sf::Socket::Done; }));
    // Hosting where another program holds the port: told, then the network menu.
    start_hosting();
    ASSERT_TRUE(eventually([] { return screen.screen_code == kNetworkMenu; }));
    EXPECT_TRUE(box_shown("Port 45678 is already in use on this computer", "Error in connection!"));
    EXPECT_EQ(net_link.phase, LinkPhase::kOff);
    reset_platform_record();
    // Nobody answers the first; the rest are not dotted addresses, so never tried.
    start_joining();
    for (const char* typed : {"127.0.0.2", "", "256.0.0.1", "localhost"}) {
        std::strcpy(net_link.peer_address, typed);
        submit_address();
        ASSERT_TRUE(eventually(
            [] { return net_link.phase == LinkPhase::kTypingAddress && main_loop_wakes > 0; }));
        EXPECT_TRUE(box_shown("No Host found with the given IP address", "Error in connection!"));
        EXPECT_STREQ(net_link.peer_address, typed);  // kept for the next try
        reset_platform_record();
    }
    std::strcpy(net_link.peer_address, "127.0.0.1");
    submit_address();
    ASSERT_EQ(host.accept(opponent), sf::Socket::Done);
    ASSERT_TRUE(eventually([] { return net_link.phase == LinkPhase::kConnected; }));
    // Leaving: the quit message, the end of the stream, and no report.
    leave_game();
    EXPECT_EQ(opponent.receive(3), std::string("q", 2));
    EXPECT_EQ(opponent.receive(1), "");
    EXPECT_FALSE(eventually([] { return !error_boxes().empty(); }, 1));
}

TEST(Connection, AnOpponentThatVanishesIsNoticed) {
    Opponent opponent;
    opponent.joins();
    // From now on nothing gets through; only where the loopback is the one interface.
    ASSERT_EQ(0, std::system("! ip -o link | grep -qv ': lo:' && nft 'add table ip c; add chain "
                             "ip c i { type filter hook input priority 0; policy drop; }'"));
    expect_lost("Connection lost!", 60);  // to the keepalive probes, within about 30 s
}

}  // namespace

// The connection thread never ends: leave without the destructors it could race (or a flush).
int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
    std::thread(network_thread, 0).detach();
    std::_Exit(RUN_ALL_TESTS());
}
