#pragma once

#include <optional>
#include <string>

class CTarelogDoc;

// A weight typed without its decimal point (6530 for 65.3) is a slip worth
// a question: a weight that differs from the latest recorded one by more
// than 20% of it is recorded only after the user confirms it.
inline constexpr double kImplausibleChange = 0.2;

// True when `weight` lies more than 20% of `latest` away from it; nothing is
// asked without a latest weight (none, or 0).
bool NeedsWeightConfirmation(double weight, std::optional<double> latest);

// The latest recorded weight to compare with: the last record's, or, when
// `editedIndex` is the last record (the list editor correcting it), the one
// before it. None for a diary without another record.
std::optional<double> LatestWeightBesides(const CTarelogDoc& doc, int editedIndex = -1);

// The question, in the window's Japanese.
std::string WeightConfirmationText(double weight, double latest);
