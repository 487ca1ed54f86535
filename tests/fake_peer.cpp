#include "tests/fake_peer.h"

#include "net/connection.h"

std::vector<std::string> sent_to_peer;
int connection_closes;

// clang-format off
void send_to_peer(const char* bytes, std::size_t count) { sent_to_peer.emplace_back(bytes, count); }
void close_connection() { ++connection_closes; }
void network_thread(int) {}
// clang-format on
