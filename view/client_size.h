#pragma once

#include "platform/surface.h"

#include <algorithm>
#include <cstdint>

// The client width and height the graph computes with. A window never has
// a negative size, and no screen comes near 65536 pixels; sizes are kept in
// that range so the per-column table and the curves stay bounded whatever
// rectangle arrives.
inline constexpr int kMaxClientExtent = 65536;

inline int ClampClientExtent(std::int64_t extent)
{
    return static_cast<int>(std::clamp<std::int64_t>(extent, 0, kMaxClientExtent));
}

inline int ClientWidth(const Rect& client)
{
    return ClampClientExtent(static_cast<std::int64_t>(client.right) - client.left);
}

inline int ClientHeight(const Rect& client)
{
    return ClampClientExtent(static_cast<std::int64_t>(client.bottom) - client.top);
}
