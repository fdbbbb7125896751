#include "platform/line_raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using Pixel = std::pair<int, int>;

std::vector<Pixel> Pixels(int x0, int y0, int x1, int y1, Rect bounds = {-1000, -1000, 1000, 1000})
{
    std::vector<Pixel> out;
    RasterizeLine(x0, y0, x1, y1, bounds, [&](const Rect& r) {
        EXPECT_TRUE(r.Width() == 1 || r.Height() == 1) << "runs are one pixel thick";
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                out.push_back({x, y});
    });
    return out;
}

TEST(LineRaster, HorizontalAndVerticalStopBeforeTheEnd)
{
    EXPECT_EQ(Pixels(3, 10, 8, 10), (std::vector<Pixel>{{3, 10}, {4, 10}, {5, 10}, {6, 10}, {7, 10}}));
    const auto back = Pixels(8, 10, 3, 10);
    EXPECT_EQ(std::set<Pixel>(back.begin(), back.end()),
        (std::set<Pixel>{{8, 10}, {7, 10}, {6, 10}, {5, 10}, {4, 10}}));
    const auto up = Pixels(4, 230, 4, 10);
    EXPECT_EQ(up.size(), 220u);
    EXPECT_EQ(std::set<Pixel>(up.begin(), up.end()).count({4, 10}), 0u);
    EXPECT_EQ(std::set<Pixel>(up.begin(), up.end()).count({4, 230}), 1u);
    EXPECT_TRUE(Pixels(5, 5, 5, 5).empty());
}

TEST(LineRaster, EveryDirectionVisitsEachStepOnceNearTheExactLine)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-40, 40);
    for (int trial = 0; trial < 3000; ++trial) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        const auto pixels = Pixels(x0, y0, x1, y1);
        const int dx = x1 - x0, dy = y1 - y0;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(steps));
        const std::set<Pixel> set(pixels.begin(), pixels.end());
        ASSERT_EQ(set.size(), pixels.size());
        if (steps == 0)
            continue;
        EXPECT_EQ(set.count({x0, y0}), 1u);
        EXPECT_EQ(set.count({x1, y1}), 0u);
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        for (const Pixel& p : set) {
            const double k = xMajor ? double(p.first - x0) / (dx > 0 ? 1 : -1)
                                    : double(p.second - y0) / (dy > 0 ? 1 : -1);
            ASSERT_GE(k, 0);
            ASSERT_LT(k, steps);
            const double exactMinor = (xMajor ? y0 + k * dy / steps : x0 + k * dx / steps);
            const int minor = xMajor ? p.second : p.first;
            ASSERT_LE(std::abs(minor - exactMinor), 0.5) << x0 << "," << y0 << " -> " << x1 << "," << y1;
        }
    }
}

TEST(LineRaster, ClippedRunsAreTheVisiblePartOfTheWholeLine)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-60, 60);
    const Rect bounds{-10, -5, 17, 23};
    for (int trial = 0; trial < 2000; ++trial) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        std::set<Pixel> visible;
        for (const Pixel& p : Pixels(x0, y0, x1, y1))
            if (p.first >= bounds.left && p.first < bounds.right && p.second >= bounds.top && p.second < bounds.bottom)
                visible.insert(p);
        const auto clipped = Pixels(x0, y0, x1, y1, bounds);
        ASSERT_EQ(std::set<Pixel>(clipped.begin(), clipped.end()), visible);
        ASSERT_EQ(clipped.size(), visible.size());
    }
}

TEST(LineRaster, FarAwayEndPointsCostOnlyTheVisiblePart)
{
    const Rect bounds{0, 0, 100, 100};
    const auto across = Pixels(INT_MIN, 50, INT_MAX, 50, bounds);
    EXPECT_EQ(across.size(), 100u);
    const auto diagonal = Pixels(INT_MIN, INT_MIN, INT_MAX, INT_MAX, bounds);
    EXPECT_EQ(diagonal.size(), 100u);
    for (const Pixel& p : diagonal)
        EXPECT_LE(std::abs(p.first - p.second), 1);
    EXPECT_TRUE(Pixels(INT_MIN, -5, INT_MAX, -5, bounds).empty());
    EXPECT_TRUE(Pixels(0, 0, 50, 50, {0, 0, 0, 0}).empty());
}

} // namespace
