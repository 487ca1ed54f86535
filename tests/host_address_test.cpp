#include <gtest/gtest.h>

#include "net/link.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

class HostAddress : public ::testing::Test {
  protected:
    void SetUp() override { reset_game_state(); }
};

// The waiting host shows its address on every frame; it is looked up once,
// when hosting starts.
TEST_F(HostAddress, HostingLooksUpThisMachinesAddressOnce) {
    platform.local_address = "198.51.100.23";
    start_hosting();
    EXPECT_STREQ(net_link.local_address, "198.51.100.23");

    platform.local_address = "203.0.113.9";
    EXPECT_STREQ(net_link.local_address, "198.51.100.23");
    start_hosting();
    EXPECT_STREQ(net_link.local_address, "203.0.113.9");
}

TEST_F(HostAddress, JoiningLeavesItAlone) {
    start_joining();
    EXPECT_STREQ(net_link.local_address, "");
}

}  // namespace
