#include "platform/number_text.h"

#include <charconv>
#include <cmath>

NumberProblem ParseFiniteNumber(std::string_view text, double& value)
{
    const char* const end = text.data() + text.size();
    double parsed = 0.0;
    const auto [stop, error] = std::from_chars(text.data(), end, parsed, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        return NumberProblem::OutOfRange;
    if (error != std::errc() || stop != end)
        return NumberProblem::NotANumber;
    if (!std::isfinite(parsed))
        return NumberProblem::NotFinite;
    value = parsed;
    return NumberProblem::None;
}

std::string FoldWideNumberText(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]); };
        // U+FF01..U+FF5E are EF BC 81..EF BD 9E: ASCII 0x21..0x7E shifted.
        if (i + 2 < utf8.size() && byte(0) == 0xEF && (byte(1) == 0xBC || byte(1) == 0xBD)) {
            const unsigned offset = (byte(1) == 0xBC ? 0x00 : 0x40) + (byte(2) - 0x80);
            if (offset >= 0x01 && offset <= 0x5E) {
                folded += static_cast<char>(0x20 + offset);
                i += 3;
                continue;
            }
        }
        if (utf8.substr(i, 3) == "\u3000") {
            folded += ' ';
            i += 3;
            continue;
        }
        if (utf8.substr(i, 3) == "\u2212") {
            folded += '-';
            i += 3;
            continue;
        }
        folded += utf8[i++];
    }
    return folded;
}
