#include "net/host_address.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

InterfaceAddress up(const char* name, const char* address) {
    return {name, address, true, false};
}

const InterfaceAddress kLoopback{"lo", "127.0.0.1", true, true};

// clang-format off
// The interfaces in the system's order, the default route's, the address shown.
const std::tuple<std::vector<InterfaceAddress>, const char*, const char*> kRows[] = {
    {{kLoopback, up("docker0", "172.17.0.1"), up("eth0", "192.0.2.10"), up("eth0", "192.0.2.11")},
     "eth0", "192.0.2.10"},
    {{up("eth0", "192.0.2.10"), up("wlan0", "198.51.100.5")}, "wlan0", "198.51.100.5"},
    {{kLoopback, up("docker0", "172.17.0.1"), up("br-5e1f", "172.18.0.1"), up("veth3a", "169.254.1.1"),
      up("eth0", "192.0.2.10"), up("virbr0", "192.168.122.1"), up("wlan0", "198.51.100.5")},
     "", "192.0.2.10"},
    // A default route through an interface without an IPv4 address of its own.
    {{up("virbr0", "192.168.122.1"), up("enp3s0", "192.0.2.10")}, "ppp0", "192.0.2.10"},
    {{kLoopback, up("lxcbr0", "10.0.3.1"), up("vmnet8", "172.16.5.1")}, "", "10.0.3.1"},
    {{{"eth0", "192.0.2.10", false, false}, up("wlan0", "198.51.100.5")}, "", "198.51.100.5"},
    {{kLoopback}, "", "0.0.0.0"},
    {{}, "", "0.0.0.0"},
};
// clang-format on

TEST(HostAddress, ShowsTheAddressAnOpponentCanReach) {
    for (const auto& [interfaces, default_route, shown] : kRows) {
        EXPECT_EQ(choose_host_address(interfaces, default_route), shown) << default_route;
    }
}

}  // namespace
