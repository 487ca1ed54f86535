// The connection thread and the one socket to the opponent.
#pragma once

#include <cstddef>

// The thread body: hosts, connects and receives, one pass every 100 ms.
void network_thread(int);

// Sends bytes on the connection; does nothing without one.
void send_to_peer(const char* bytes, std::size_t count);

// Ends the connection and stops listening, waking any blocked call.
void close_connection();
