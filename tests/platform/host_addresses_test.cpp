#include "platform/host_addresses.h"

#include <gtest/gtest.h>

namespace {

// Plain HTTP is allowed on these alone: a wrong yes sends weights in clear.
TEST(HostAddresses, LoopbackIsOnlyWhatNoOtherMachineReaches)
{
    for (const char* address : {"127.0.0.1", "127.5.0.9", "127.255.255.254", "::1", "localhost"})
        EXPECT_TRUE(IsLoopbackAddress(address)) << address;
    for (const char* address : {"0.0.0.0", "::", "192.168.1.20", "128.0.0.1", "126.0.0.1", "10.127.0.1",
             "localhost.example", "127.0.0.1.example", "", "1.2.3.4", "::ffff:192.168.1.2", "127.0.0.1 "})
        EXPECT_FALSE(IsLoopbackAddress(address)) << address;
}

TEST(HostAddresses, ReachableAddressesLeaveLoopbackOut)
{
    for (const std::string& address : ReachableIpv4Addresses()) {
        EXPECT_FALSE(IsLoopbackAddress(address)) << address;
        EXPECT_NE(address, "0.0.0.0");
    }
}

} // namespace
