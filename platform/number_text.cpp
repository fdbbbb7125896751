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
