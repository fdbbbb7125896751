#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The 64-bit FNV-1a hash of `text` as 16 lower-case hex digits: short,
// stable across runs and builds, for names derived from longer names
// (helper files, recovery copies). Not for security.
std::string Fnv1aHex(std::string_view text);
// The same hash as a number, for telling values apart.
std::uint64_t Fnv1a(std::string_view text);
