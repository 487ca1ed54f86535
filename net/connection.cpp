#include "net/connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <SFML/Network.hpp>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "net/link.h"
#include "net/platform.h"
#include "net/port_mapping.h"

namespace {

// The socket to the opponent. It takes over descriptors the thread has
// already connected or accepted, so that leaving can shut them down under a
// blocked call.
class PeerSocket : public sf::TcpSocket {
  public:
    void adopt(sf::SocketHandle handle) { create(handle); }
    int handle() const { return static_cast<int>(getHandle()); }
};

// A listener that may bind the port again at once after the previous game,
// while the old connection still lingers in TIME_WAIT.
class GameListener : public sf::TcpListener {
  public:
    int handle() const { return static_cast<int>(getHandle()); }
    // 0, or the error that kept it from listening.
    int listen_reusing(unsigned short port) {
        close();
        const int handle = ::socket(AF_INET, SOCK_STREAM, 0);
        if (handle < 0) {
            return errno;
        }
        const int yes = 1;
        ::setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        address.sin_port = htons(port);
        if (::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(handle, SOMAXCONN) != 0) {
            const int error = errno;
            ::close(handle);
            return error;
        }
        create(handle);
        return 0;
    }
};

// Never destroyed: the process can end while the thread is still blocked on
// them, and a destructor closing them under it would race with that call.
PeerSocket& peer_socket = *new PeerSocket;
GameListener& listener = *new GameListener;

// The thread is the only one to create or close descriptors, and does so
// holding this; the main thread holds it to send and to shut the
// descriptors down, so it never acts on a number that has been reused.
std::mutex handle_mutex;
int connecting_handle = -1;
// Bumped by every close_connection: a blocking call that started under an
// older value was ended on purpose and must not be reported.
std::atomic<int> current_session{0};

int seen_session = 0;  // connection thread only

// An opponent that vanishes without closing (power cut, cable pulled) sends
// nothing more, and a blocked receive would wait for ever. After 10 s of
// silence the system probes every 5 s and gives up when 30 s have gone by
// unanswered (10 + 4 x 5); data left unacknowledged for as long is given up
// too. The receive then fails as for any lost connection.
constexpr int kKeepAliveIdleSeconds = 10;
constexpr int kKeepAliveIntervalSeconds = 5;
constexpr int kKeepAliveProbes = 4;
constexpr unsigned kUnansweredMilliseconds =
    (kKeepAliveIdleSeconds + kKeepAliveProbes * kKeepAliveIntervalSeconds) * 1000;

void notice_vanished_peer(int handle) {
    const int yes = 1;
    ::setsockopt(handle, SOL_SOCKET, SO_KEEPALIVE, &yes, sizeof yes);
    ::setsockopt(handle, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepAliveIdleSeconds, sizeof(int));
    ::setsockopt(handle, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepAliveIntervalSeconds, sizeof(int));
    ::setsockopt(handle, IPPROTO_TCP, TCP_KEEPCNT, &kKeepAliveProbes, sizeof(int));
    ::setsockopt(handle, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUnansweredMilliseconds, sizeof(unsigned));
}

bool session_is(int value) {
    return current_session.load() == value;
}

void close_sockets_locked() {
    peer_socket.disconnect();
    listener.close();
    if (connecting_handle >= 0) {
        ::close(connecting_handle);
        connecting_handle = -1;
    }
}

// Dotted decimal only, four parts of at most three digits, each up to 255:
// no names are looked up and nothing else is read as an address.
bool parse_ipv4(const char* text, in_addr& address) {
    unsigned parts[4];
    int count = 0;
    const char* p = text;
    for (;;) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        unsigned value = 0;
        int digits = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + static_cast<unsigned>(*p - '0');
            if (++digits > 3) {
                return false;
            }
            ++p;
        }
        if (value > 255 || count == 4) {
            return false;
        }
        parts[count++] = value;
        if (*p == '\0') {
            break;
        }
        if (*p != '.') {
            return false;
        }
        ++p;
    }
    if (count != 4) {
        return false;
    }
    address.s_addr = htonl((parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3]);
    return true;
}

// Until an opponent knocks or the listener fails, renewing the router's
// forwarding as its lease runs; false when the hosting ended meanwhile.
bool wait_for_opponent(int listen_handle, int my_session) {
    for (;;) {
        pollfd watch{listen_handle, POLLIN, 0};
        const int ready = ::poll(&watch, 1, kForwardingRenewalSeconds * 1000);
        if (!session_is(my_session)) {
            return false;
        }
        if (ready > 0 || (ready < 0 && errno != EINTR)) {
            return true;  // accept tells which
        }
        if (ready == 0) {
            renew_port_forwarding();
        }
    }
}

// False when the hosting ended meanwhile.
bool take_opponent(int handle, int my_session) {
    std::lock_guard<std::mutex> lock(handle_mutex);
    if (!session_is(my_session)) {
        ::close(handle);
        return false;
    }
    notice_vanished_peer(handle);
    peer_socket.disconnect();
    peer_socket.adopt(handle);
    // One opponent per game: nobody else should reach a listener that no
    // longer accepts.
    listener.close();
    advance_link(LinkPhase::kHostWaiting, LinkPhase::kConnected);
    wake_main_loop();
    return true;
}

void host_step(int my_session) {
    int listen_handle, error;
    {
        std::lock_guard<std::mutex> lock(handle_mutex);
        if (!session_is(my_session)) {
            return;
        }
        error = listener.listen_reusing(kGamePort);
        listen_handle = listener.handle();
    }
    // Another program listens on the port: a friend joining this address
    // would reach that program, so hosting ends with a word.
    if (error == EADDRINUSE) {
        show_error_box("Port 45678 is already in use on this computer", "Error in connection!");
        if (session_is(my_session) &&
            advance_link(LinkPhase::kHostWaiting, LinkPhase::kPortTaken)) {
            wake_main_loop();
        }
        return;
    }
    if (listen_handle < 0) {
        return;  // tried again on the next pass
    }
    // The listener takes opponents already while the router is asked.
    open_port_forwarding(kGamePort);
    wake_main_loop();  // to show what came of it
    if (!wait_for_opponent(listen_handle, my_session)) {
        return;
    }
    const int handle = ::accept(listen_handle, nullptr, nullptr);
    if (handle < 0) {
        return;
    }
    if (take_opponent(handle, my_session)) {
        // The one opponent is in: the router's connection table carries its
        // traffic, and nobody else needs the way in.
        close_port_forwarding();
    }
}

// A non-blocking connect watched in short slices, so that leaving ends the
// wait at once while the system's own time-out still decides a dead host.
bool connect_to(const in_addr& address, int my_session) {
    const int handle = ::socket(AF_INET, SOCK_STREAM, 0);
    if (handle < 0) {
        return false;
    }
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) | O_NONBLOCK);
    {
        std::lock_guard<std::mutex> lock(handle_mutex);
        if (!session_is(my_session)) {
            ::close(handle);
            return false;
        }
        connecting_handle = handle;
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr = address;
    target.sin_port = htons(kGamePort);
    bool made = ::connect(handle, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0;
    if (!made && errno == EINPROGRESS) {
        for (;;) {
            pollfd watch{handle, POLLOUT, 0};
            const int ready = ::poll(&watch, 1, 50);
            if (!session_is(my_session)) {
                break;
            }
            if (ready > 0) {
                int error = 0;
                socklen_t length = sizeof error;
                ::getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &length);
                made = error == 0;
                break;
            }
            if (ready < 0 && errno != EINTR) {
                break;
            }
        }
    }
    std::lock_guard<std::mutex> lock(handle_mutex);
    connecting_handle = -1;
    if (!made || !session_is(my_session)) {
        ::close(handle);
        return false;
    }
    notice_vanished_peer(handle);
    peer_socket.disconnect();
    peer_socket.adopt(handle);  // back to blocking mode
    advance_link(LinkPhase::kConnecting, LinkPhase::kConnected);
    wake_main_loop();
    return true;
}

void connect_step(int my_session) {
    in_addr address{};
    // The address is only edited while the entry is open, never now.
    const bool valid = parse_ipv4(net_link.peer_address, address);
    if (valid && connect_to(address, my_session)) {
        return;
    }
    if (!session_is(my_session)) {
        return;
    }
    show_error_box("No Host found with the given IP address", "Error in connection!");
    if (session_is(my_session) && advance_link(LinkPhase::kConnecting, LinkPhase::kTypingAddress)) {
        wake_main_loop();
    }
}

// Takes every message of a chunk: several can arrive together, and one can
// be split across two chunks.
void take_chunk(const char* chunk, std::size_t count) {
    std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
    std::size_t length = std::strlen(net_link.inbox);
    std::size_t start = 0;
    while (start < count) {
        std::size_t end = start;
        while (end < count && chunk[end] != '\0') {
            ++end;
        }
        if (end > start) {
            const std::size_t size = end - start;
            const std::size_t shown =
                size < sizeof net_link.last_received ? size : sizeof net_link.last_received - 1;
            std::memcpy(net_link.last_received, chunk + start, shown);
            net_link.last_received[shown] = '\0';
            // What does not fit is dropped; an honest opponent never has this
            // much unread.
            const std::size_t room = sizeof net_link.inbox - 1 - length;
            const std::size_t kept = size < room ? size : room;
            std::memcpy(net_link.inbox + length, chunk + start, kept);
            length += kept;
            net_link.inbox[length] = '\0';
        }
        start = end + 1;
    }
}

void report_lost_connection(int my_session) {
    bool quit;
    {
        std::lock_guard<std::mutex> lock(net_link.inbox_mutex);
        quit = net_link.last_received[0] == 'q';
    }
    show_error_box(quit ? "Opponent quit the game!" : "Connection lost!", "Disconnected!");
    std::lock_guard<std::mutex> lock(handle_mutex);
    close_sockets_locked();
    if (session_is(my_session)) {
        // The main thread resets the game at its next tick.
        advance_link(LinkPhase::kTellingLoss, LinkPhase::kLost);
    }
}

void receive_step(int my_session) {
    char chunk[kMessageCapacity];
    std::size_t received = 0;
    const sf::Socket::Status status = peer_socket.receive(chunk, sizeof chunk, received);
    if (status == sf::Socket::Done) {
        take_chunk(chunk, received);
        return;
    }
    // Told once the main thread finds no pause prompt in the way.
    if (session_is(my_session)) {
        advance_link(LinkPhase::kConnected, LinkPhase::kDropped);
        wake_main_loop();
    }
}

void run_pass() {
    const int my_session = current_session.load();
    if (my_session != seen_session) {
        {
            std::lock_guard<std::mutex> lock(handle_mutex);
            close_sockets_locked();
        }
        close_port_forwarding();  // the hosting, if any, is over
        seen_session = my_session;
    }
    switch (net_link.phase.load()) {
        case LinkPhase::kHostWaiting:
            host_step(my_session);
            break;
        case LinkPhase::kConnecting:
            connect_step(my_session);
            break;
        case LinkPhase::kConnected:
            receive_step(my_session);
            break;
        case LinkPhase::kTellingLoss:
            report_lost_connection(my_session);
            break;
        default:
            break;
    }
}

}  // namespace

void network_thread(int) {
    for (;;) {
        run_pass();
        sleep_milliseconds(100);
    }
}

void send_to_peer(const char* bytes, std::size_t count) {
    std::lock_guard<std::mutex> lock(handle_mutex);
    if (peer_socket.handle() < 0) {
        return;
    }
    // This runs on the main thread: an opponent that stops reading fills the
    // buffers, and a send waiting for room would freeze the window. Messages
    // are 2 or 3 bytes and the buffers hold megabytes, so only such an
    // opponent ever loses one: what cannot go at once is dropped. Failures
    // are ignored.
    ::send(peer_socket.handle(), bytes, count, MSG_DONTWAIT | MSG_NOSIGNAL);
}

void close_connection() {
    std::lock_guard<std::mutex> lock(handle_mutex);
    ++current_session;
    // Shutting down wakes a blocked accept or receive at once; the thread
    // closes the descriptors itself.
    for (const int handle : {listener.handle(), peer_socket.handle(), connecting_handle}) {
        if (handle >= 0) {
            ::shutdown(handle, SHUT_RDWR);
        }
    }
}
