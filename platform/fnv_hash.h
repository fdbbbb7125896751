#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// FNV-1a, 64 bits: a fast, stable digest for naming files after paths and
// for telling values apart. Not for anything an attacker chooses to collide.
std::uint64_t Fnv1a64(std::string_view bytes);
// The same as 16 lower-case hexadecimal digits.
std::string Fnv1a64Hex(std::string_view bytes);
