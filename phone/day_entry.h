#pragma once

#include "diary/day_weight.h"

#include <string>
#include <string_view>

// A day's weight as the page's form or the API brings it is read by the
// entry dialog's rules: a real calendar day in the dialog's range of
// years, and a finite weight above zero (full-width digits accepted).

enum class EntryProblem {
    None,
    EmptyWeight,
    WeightNotANumber,
    WeightNotFinite,
    WeightNotPositive,
    DateMissing,
    DateNotADay,    // not YYYY-MM-DD, or a day the calendar lacks (2026-02-30)
    DateOutOfRange, // a year before the calendar's reform or after 9999
};

// The years the entry dialog's date picker offers: 1752-09-14 to 9999-12-31.
inline constexpr int kFirstEntryYear = 1752;
inline constexpr int kLastEntryYear = 9999;

EntryProblem ReadEntryWeight(std::string_view text, double& weight);
// Weights from JSON are numbers already; the same checks.
EntryProblem CheckEntryWeight(double weight);
EntryProblem ReadEntryDate(std::string_view text, DayWeight& entry);

// "YYYY-MM-DD".
std::string DateText(int year, int month, int day);

std::string JapaneseProblem(EntryProblem problem);
std::string EnglishProblem(EntryProblem problem);
