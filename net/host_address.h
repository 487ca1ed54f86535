// Which of this machine's addresses the waiting host shows its opponent.
#pragma once

#include <string>
#include <vector>

struct InterfaceAddress {
    std::string name;     // "eth0"
    std::string address;  // dotted IPv4
    bool up;
    bool loopback;
};

// The first address of the interface the default route goes out of; without
// a default route, the machine's own network cards before the bridges and
// links of containers and virtual machines; never the loopback; "0.0.0.0"
// when there is none. `interfaces` is in the system's order.
std::string choose_host_address(const std::vector<InterfaceAddress>& interfaces,
                                const std::string& default_route_interface);
