#pragma once

#include <string>
#include <vector>

// The IPv4 addresses of this machine's network interfaces that are up,
// loopback left out, in the order the system lists them ("192.168.1.20"):
// the addresses a phone on the same network can reach.
std::vector<std::string> ReachableIpv4Addresses();
