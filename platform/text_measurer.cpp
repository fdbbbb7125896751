#include "platform/text_measurer.h"

#include <algorithm>
#include <climits>

int CountCodePoints(std::string_view utf8)
{
    const auto count = std::count_if(utf8.begin(), utf8.end(),
        [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    return static_cast<int>(std::min<std::ptrdiff_t>(count, INT_MAX));
}

TextSize FixedWidthMeasurer::Measure(std::string_view utf8) const
{
    const long long width = static_cast<long long>(CountCodePoints(utf8)) * m_charWidth;
    return {static_cast<int>(std::min<long long>(width, INT_MAX)), m_height};
}
