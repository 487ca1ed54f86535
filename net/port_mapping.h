// Asking the home router to forward the game's port to this computer while
// it hosts (UPnP Internet Gateway Device, else NAT-PMP), and the line the
// hosting screen gives it: most players sit behind a router that translates
// addresses, and the address a friend elsewhere must type is the router's.
#pragma once

#include <cstddef>

// What came of asking the router.
enum class Forwarding {
    kNothingToSay,  // not asked yet, no router answered, or it gave no address
    kOpened,        // the router forwards the port from its external address
    kRefused,       // the router would not forward the port
    kUnreachable,   // the router's own address cannot be reached from outside
};

// A forwarding lasts this long unless renewed, so that one left behind by a
// copy that died does not stay open for ever; it is renewed halfway.
constexpr int kForwardingLeaseSeconds = 3600;
constexpr int kForwardingRenewalSeconds = kForwardingLeaseSeconds / 2;

// Whether a dotted IPv4 address can be reached from the internet. Not so
// for private (10/8, 172.16/12, 192.168/16) and shared (100.64/10)
// addresses, behind which another router stands, nor for those no host on
// the internet has (0/8, loopback, link-local, multicast and above), nor for
// text that is no address.
bool reachable_from_internet(const char* address);

// The line shown under this computer's address; empty for nothing to say.
void forwarding_line(Forwarding outcome, const char* external_address, char* text,
                     std::size_t capacity);

// The line for what came of the latest request; any thread.
void current_forwarding_line(char* text, std::size_t capacity);
void set_forwarding(Forwarding outcome, const char* external_address);

// Connection thread. Looks for a router, one to two seconds, and asks it to
// forward TCP `port` to this computer; does nothing more until closed.
void open_port_forwarding(unsigned short port);
// Asks again for a whole lease, when a forwarding is open.
void renew_port_forwarding();

// Any thread: removes the forwarding, if one is open or being asked for, and
// clears the line. Takes one request to the router at most.
void close_port_forwarding();
