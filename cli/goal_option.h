#pragma once

#include <string_view>

// The value of --goal (render, stats): a finite weight above zero, written
// as a whole number or a decimal ("65", "64.5").
bool ParseGoalWeight(std::string_view text, double& goal);
