#pragma once

#include "graph_test_support.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <tuple>

// Hostile inputs: whatever a damaged or hand-made file can hold.
class HostileDiaries {
public:
    explicit HostileDiaries(unsigned seed)
        : m_random(seed)
    {
    }

    CTarelogDoc Next()
    {
        const int count = Pick(10) == 0 ? Uniform(100, 600) : Uniform(0, 12);
        std::vector<Day> days;
        for (int i = 0; i < count; ++i)
            days.push_back(
                {Weight(), Field(-32768, 32767, 1990, 2030), Field(-32768, 32767, 0, 13), Field(-32768, 32767, 0, 40)});
        if (Pick(2) == 0)
            std::sort(days.begin(), days.end(), [](const Day& a, const Day& b) {
                return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
            });
        static const std::u16string units[] = {u"kg", u"", u"%s%n%d", u"ｷﾛｸﾞﾗﾑ", std::u16string(200, u'W')};
        const int digits = Pick(4) == 0 ? Uniform(std::numeric_limits<int>::min(), std::numeric_limits<int>::max())
                                        : Uniform(-3, 25);
        return MakeDoc(days, digits, units[Pick(5)]);
    }

    Rect NextClient()
    {
        const auto extent = [&] { return Pick(8) == 0 ? Uniform(0, 4096) : Uniform(0, 500); };
        return {0, 0, extent(), extent()};
    }

    int Pick(int n) { return Uniform(0, n - 1); }
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }

private:
    double Weight()
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        static const double odd[] = {std::nan(""), inf, -inf, 1e300, -1e300, 1e17, 1e17 + 16, 0.0, -0.0, 5e-324,
            std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(), 2147483648.0};
        if (Pick(4) == 0)
            return odd[Pick(static_cast<int>(std::size(odd)))];
        return std::uniform_real_distribution<double>(Pick(2) ? 40.0 : -1000.0, Pick(2) ? 120.0 : 1000.0)(m_random);
    }

    int Field(int lo, int hi, int usualLo, int usualHi)
    {
        return Pick(5) == 0 ? Uniform(lo, hi) : Uniform(usualLo, usualHi);
    }

    std::mt19937 m_random;
};
