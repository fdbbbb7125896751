#pragma once

#include "platform/surface.h"

#include <algorithm>
#include <cstdint>

// The pixels of a line from (x0, y0) up to but not including (x1, y1), the
// way every pixel surface of the program draws them: along the longer axis
// each pixel is visited once, and the other coordinate is the exact line's,
// rounded half away from the start. The pixels come out as horizontal or
// vertical runs, each passed to `run` as a Rect (right and bottom
// exclusive); only the runs that touch `bounds` are produced, so lines with
// far-away end points cost no more than the part that can be seen.
namespace line_raster_detail {

template <typename Wide> Wide FloorDiv(Wide a, Wide b)
{
    const Wide q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

template <typename Wide> Wide CeilDiv(Wide a, Wide b)
{
    return -FloorDiv(-a, b);
}

// [lo, hi] of k in [0, steps - 1] for which start + k * sign lies in [first, last].
inline bool StepRange(std::int64_t start, int sign, std::int64_t first, std::int64_t last, std::int64_t steps,
    std::int64_t& lo, std::int64_t& hi)
{
    lo = sign > 0 ? first - start : start - last;
    hi = sign > 0 ? last - start : start - first;
    lo = std::max<std::int64_t>(lo, 0);
    hi = std::min<std::int64_t>(hi, steps - 1);
    return lo <= hi;
}

} // namespace line_raster_detail

template <typename Wide, typename RunSink>
void RasterizeRuns(int x0, int y0, int x1, int y1, const Rect& bounds, RunSink& run)
{
    using line_raster_detail::StepRange;
    const std::int64_t dx = static_cast<std::int64_t>(x1) - x0;
    const std::int64_t dy = static_cast<std::int64_t>(y1) - y0;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t minor0 = xMajor ? y0 : x0;
    const std::int64_t dMajor = xMajor ? dx : dy;
    const std::int64_t dMinor = xMajor ? dy : dx;
    const std::int64_t steps = dMajor < 0 ? -dMajor : dMajor;
    const std::int64_t minorSpan = dMinor < 0 ? -dMinor : dMinor;
    if (steps == 0 || bounds.right <= bounds.left || bounds.bottom <= bounds.top)
        return;
    const int majorSign = dMajor < 0 ? -1 : 1;
    const int minorSign = dMinor < 0 ? -1 : 1;
    const std::int64_t majorFirst = xMajor ? bounds.left : bounds.top;
    const std::int64_t majorLast = (xMajor ? static_cast<std::int64_t>(bounds.right) : bounds.bottom) - 1;
    const std::int64_t minorFirst = xMajor ? bounds.top : bounds.left;
    const std::int64_t minorLast = (xMajor ? static_cast<std::int64_t>(bounds.bottom) : bounds.right) - 1;

    std::int64_t kLo = 0, kHi = 0;
    if (!StepRange(major0, majorSign, majorFirst, majorLast, steps, kLo, kHi))
        return;
    // Minor offset v at step k is floor((2k|d| + s) / 2s); the steps with
    // offset v are those from ceil((2sv - s) / 2|d|) to ceil((2sv + s) / 2|d|) - 1.
    const auto offsetAt = [&](std::int64_t k) {
        return static_cast<std::int64_t>(
            line_raster_detail::FloorDiv<Wide>(Wide(2) * k * minorSpan + steps, Wide(2) * steps));
    };
    std::int64_t vLo = offsetAt(kLo), vHi = offsetAt(kHi);
    std::int64_t visibleLo = 0, visibleHi = 0;
    if (!StepRange(minor0, minorSign, minorFirst, minorLast, minorSpan + 1, visibleLo, visibleHi))
        return;
    vLo = std::max(vLo, visibleLo);
    vHi = std::min(vHi, visibleHi);
    for (std::int64_t v = vLo; v <= vHi; ++v) {
        std::int64_t kA = kLo, kB = kHi;
        if (minorSpan != 0) {
            kA = std::max<std::int64_t>(kA,
                static_cast<std::int64_t>(
                    line_raster_detail::CeilDiv<Wide>(Wide(2) * steps * v - steps, Wide(2) * minorSpan)));
            kB = std::min<std::int64_t>(kB,
                static_cast<std::int64_t>(
                    line_raster_detail::CeilDiv<Wide>(Wide(2) * steps * v + steps, Wide(2) * minorSpan))
                    - 1);
        }
        if (kA > kB)
            continue;
        const std::int64_t majorA = major0 + majorSign * kA;
        const std::int64_t majorB = major0 + majorSign * kB;
        const int majorMin = static_cast<int>(std::min(majorA, majorB));
        const int majorMax = static_cast<int>(std::max(majorA, majorB));
        const int minor = static_cast<int>(minor0 + minorSign * v);
        if (xMajor)
            run(Rect{majorMin, minor, majorMax + 1, minor + 1});
        else
            run(Rect{minor, majorMin, minor + 1, majorMax + 1});
    }
}

// A line along one axis is one run: the pixels from the start up to the one
// before the end, cut to `bounds`. Dense graphs are mostly such lines, so
// they skip the general stepping; the run is the same as it would produce.
template <typename RunSink> void RasterizeAxisRun(int x0, int y0, int x1, int y1, const Rect& bounds, RunSink& run)
{
    const bool vertical = x0 == x1;
    const int fixed = vertical ? x0 : y0;
    const int fixedFirst = vertical ? bounds.left : bounds.top;
    const int fixedEnd = vertical ? bounds.right : bounds.bottom;
    const int from = vertical ? y0 : x0;
    const int to = vertical ? y1 : x1;
    if (from == to || fixed < fixedFirst || fixed >= fixedEnd)
        return;
    // [lo, hi): the start included, the end left out, in either direction.
    std::int64_t lo = from < to ? from : std::int64_t(to) + 1;
    std::int64_t hi = from < to ? to : std::int64_t(from) + 1;
    lo = std::max<std::int64_t>(lo, vertical ? bounds.top : bounds.left);
    hi = std::min<std::int64_t>(hi, vertical ? bounds.bottom : bounds.right);
    if (lo >= hi)
        return;
    if (vertical)
        run(Rect{fixed, static_cast<int>(lo), fixed + 1, static_cast<int>(hi)});
    else
        run(Rect{static_cast<int>(lo), fixed, static_cast<int>(hi), fixed + 1});
}

template <typename RunSink> void RasterizeLine(int x0, int y0, int x1, int y1, const Rect& bounds, RunSink&& run)
{
    if (x0 == x1 || y0 == y1) {
        if (bounds.right > bounds.left && bounds.bottom > bounds.top)
            RasterizeAxisRun(x0, y0, x1, y1, bounds, run);
        return;
    }
    // Products of two spans need 128 bits only for lines longer than 2^30
    // pixels, which only damaged data produces; the rest stays in 64 bits.
    constexpr std::int64_t kNarrowLimit = std::int64_t(1) << 30;
    const auto span = [](int a, int b) {
        const std::int64_t d = std::int64_t(b) - a;
        return d < 0 ? -d : d;
    };
    if (span(x0, x1) < kNarrowLimit && span(y0, y1) < kNarrowLimit)
        RasterizeRuns<std::int64_t>(x0, y0, x1, y1, bounds, run);
    else
        RasterizeRuns<__int128>(x0, y0, x1, y1, bounds, run);
}
