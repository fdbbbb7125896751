#include "dialogs/goal_logic.h"

#include "platform/format.h"

#include <cmath>
#include <cstdlib>

void GoalData::Load(std::optional<double> goal)
{
    m_goalText = goal ? ShortestDouble(*goal) : std::string();
}

bool GoalData::Read(std::optional<double>& goal) const
{
    const std::size_t first = m_goalText.find_first_not_of(" \t");
    if (first == std::string::npos) {
        goal.reset();
        return true;
    }
    const std::string text = m_goalText.substr(first, m_goalText.find_last_not_of(" \t") - first + 1);
    double value = 0.0;
    if (!ReadLeadingDouble(text, value) || !std::isfinite(value) || value <= 0.0)
        return false;
    // The whole text must be the number: "65kg" is not a goal.
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        return false;
    goal = value;
    return true;
}
