#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

// The graph turns doubles from a file into pixel coordinates. A weight of
// 1e300 or NaN must not become undefined behaviour, so every conversion and
// every coordinate sum goes through these: out-of-range values stick to the
// nearest int and NaN counts as 0.

// Truncation toward zero, saturating at the int range.
inline int TruncToInt(double value)
{
    // Every value strictly between INT_MIN - 1 and INT_MAX + 1 truncates into
    // the int range, and NaN fails both comparisons: one test for the values
    // a graph is made of.
    if (value > static_cast<double>(INT_MIN) - 1.0 && value < static_cast<double>(INT_MAX) + 1.0)
        return static_cast<int>(value);
    if (std::isnan(value))
        return 0;
    return value > 0.0 ? INT_MAX : INT_MIN;
}

inline int SaturateInt(std::int64_t value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}
