#include "net/port_mapping.h"

#include <arpa/inet.h>

#include <cstdint>
#include <cstdio>
#include <mutex>

#include "net/link.h"

namespace {

struct AddressRange {
    std::uint32_t first;
    int prefix_bits;
};

// clang-format off
constexpr AddressRange kUnreachableRanges[] = {
    {0x00000000, 8},   // "this network"
    {0x0A000000, 8},   // private
    {0x64400000, 10},  // shared, behind a carrier's translation
    {0x7F000000, 8},   // loopback
    {0xA9FE0000, 16},  // link-local
    {0xAC100000, 12},  // private
    {0xC0A80000, 16},  // private
    {0xE0000000, 3},   // multicast, reserved, broadcast
};
// clang-format on

std::mutex line_mutex;  // guards the two below
Forwarding shown_outcome = Forwarding::kNothingToSay;
char shown_address[INET_ADDRSTRLEN];

}  // namespace

bool reachable_from_internet(const char* address) {
    in_addr parsed{};
    if (inet_pton(AF_INET, address, &parsed) != 1) {
        return false;
    }
    const std::uint32_t value = ntohl(parsed.s_addr);
    for (const AddressRange& range : kUnreachableRanges) {
        if ((value ^ range.first) >> (32 - range.prefix_bits) == 0) {
            return false;
        }
    }
    return true;
}

void forwarding_line(Forwarding outcome, const char* external_address, char* text,
                     std::size_t capacity) {
    switch (outcome) {
        case Forwarding::kOpened:
            std::snprintf(text, capacity, "From the internet: %s", external_address);
            return;
        case Forwarding::kRefused:
            std::snprintf(text, capacity, "The router would not open port %u", kGamePort);
            return;
        case Forwarding::kUnreachable:
            std::snprintf(text, capacity, "Port %u cannot be reached from the internet", kGamePort);
            return;
        case Forwarding::kNothingToSay:
            break;
    }
    std::snprintf(text, capacity, "%s", "");
}

void current_forwarding_line(char* text, std::size_t capacity) {
    std::lock_guard<std::mutex> lock(line_mutex);
    forwarding_line(shown_outcome, shown_address, text, capacity);
}

void set_forwarding(Forwarding outcome, const char* external_address) {
    std::lock_guard<std::mutex> lock(line_mutex);
    shown_outcome = outcome;
    std::snprintf(shown_address, sizeof shown_address, "%s", external_address);
}
