#pragma once

#include "platform/result.h"
#include "platform/tls_certificate.h"

#include <string>
#include <vector>

// The port the phone page is served on when none is given, and that a
// pairing link made without a running server names. Above the registered
// range's crowded start and not claimed by any common home service.
inline constexpr int kDefaultPhonePort = 8765;

// "https://ADDRESS:8765" with the machine's first address that a phone on
// the network can reach, or 127.0.0.1 on a machine without one: where a
// pairing link points when no server says otherwise.
std::string DefaultPhoneBaseUrl();

// Where a person on another machine finds a page served on `listened`:
// that address, or for every address ("0.0.0.0", "::") the machine's
// reachable ones, 127.0.0.1 on a machine without any.
std::vector<std::string> AddressesToOpen(const std::string& listened);

// "https://ADDRESS:PORT" ("http://" without TLS; an IPv6 address bracketed).
std::string BaseUrl(bool tls, const std::string& address, int port);

// The page's kept key and certificate, in the user's state folder, shared
// by tarelog-cli serve and the window; a new one is made for `addresses`
// and the machine's host name. English text of what failed on failure.
Result<TlsIdentity, std::string> LoadOrMakePhoneIdentity(const std::vector<std::string>& addresses);
