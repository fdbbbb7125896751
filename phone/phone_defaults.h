#pragma once

#include <string>

// The port the phone page is served on when none is given, and that a
// pairing link made without a running server names. Above the registered
// range's crowded start and not claimed by any common home service.
inline constexpr int kDefaultPhonePort = 8765;

// "https://ADDRESS:8765" with the machine's first address that a phone on
// the network can reach, or 127.0.0.1 on a machine without one: where a
// pairing link points when no server says otherwise.
std::string DefaultPhoneBaseUrl();
