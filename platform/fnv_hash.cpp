#include "platform/fnv_hash.h"

#include <cstdio>

std::uint64_t Fnv1a64(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::string Fnv1a64Hex(std::string_view bytes)
{
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(Fnv1a64(bytes)));
    return digits;
}
