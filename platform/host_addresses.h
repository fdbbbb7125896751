#pragma once

#include <string>
#include <string_view>
#include <vector>

// The IPv4 addresses by which other machines on the network reach this
// one (every interface that is up, loopback left out), in the order the
// system lists them: what a person types on a phone.
std::vector<std::string> ReachableIpv4Addresses();

// True for a literal loopback address (127.0.0.0/8, ::1) and "localhost":
// one that no other machine can reach.
bool IsLoopbackAddress(std::string_view address);
