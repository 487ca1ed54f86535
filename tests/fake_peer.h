// Stands in for the connection in tests: remembers what would have been sent.
#pragma once

#include <string>
#include <vector>

// Each entry is the bytes of one send, terminating NUL included.
extern std::vector<std::string> sent_to_peer;
extern int connection_closes;
