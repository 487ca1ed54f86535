#include "net/port_mapping.h"

#include <gtest/gtest.h>

// The edges of every range, and the documentation ranges, which the router
// library counts as reserved but the test network uses as the internet.
TEST(PortMapping, AddressesReachableFromTheInternet) {
    for (const char* address :
         {"203.0.113.1", "198.51.100.7", "192.0.2.1", "9.255.255.255", "11.0.0.0", "100.63.255.255",
          "100.128.0.0", "172.15.255.255", "172.32.0.0", "192.167.255.255", "192.169.0.0",
          "223.255.255.255"}) {
        EXPECT_TRUE(reachable_from_internet(address)) << address;
    }
    for (const char* address :
         {"10.0.0.0", "10.255.255.255", "100.64.0.1", "100.127.255.255", "172.16.0.0",
          "172.31.255.255", "192.168.1.1", "0.0.0.0", "127.0.0.1", "169.254.3.4", "224.0.0.1",
          "255.255.255.255", "", "203.0.113", "203.0.113.256", "router.invalid"}) {
        EXPECT_FALSE(reachable_from_internet(address)) << address;
    }
}
