#include "cli/goal_option.h"

#include <charconv>
#include <cmath>

bool ParseGoalWeight(std::string_view text, double& goal)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)
        || value <= 0.0)
        return false;
    goal = value;
    return true;
}
