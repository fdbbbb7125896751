#pragma once

#include "platform/http_exchange.h"

#include <string>

// What the service asks of a request before it routes it.

// A path that could reach anything but the few routes: any escape (%2e%2e,
// %2f), a backslash, a "." or ".." segment, an empty segment.
bool IsSuspectPath(const std::string& path);

// True when the request comes from a page of this very server: its Origin
// names the host it was sent to. Browsers send Origin with every POST; a
// request without one, or from another site, is not the page's.
bool ComesFromOwnPage(const HttpRequest& request);

// The token of "Authorization: Bearer TOKEN", or "".
std::string BearerToken(const HttpRequest& request);

// The page's script asks for JSON; a plain form post does not.
bool WantsJson(const HttpRequest& request);

// The device cookie's name and its Set-Cookie values.
inline constexpr const char* kDeviceCookie = "tarelog_device";
std::string DeviceCookie(const std::string& secret);
std::string ClearedDeviceCookie();
