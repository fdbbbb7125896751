#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the goal dialog edits: the goal weight as text, empty for none.
struct GoalData {
    std::string m_goalText;

    void Load(std::optional<double> goal);
    // The goal the text names: none for an empty (or blank) text; false when
    // the text is neither blank nor a finite number greater than zero.
    bool Read(std::optional<double>& goal) const;
};
