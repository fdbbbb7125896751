#pragma once

#include "diary/import/weighing.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// How an import's weights meet the diary's unit. Weights are never
// converted silently: a file in another unit than the diary (or one that
// mixes units) is refused unless the user asks for conversion, and a unit
// this program does not know is never converted at all.
struct UnitPlan {
    std::string error;                       // English: why the import is refused; empty when it may go on
    WeightUnit target = WeightUnit::Unknown; // the unit weights are stored in; Unknown: as written
    std::u16string newDiaryUnit;             // for a new diary, the unit text it takes; empty keeps the default
};

// `diaryUnit` is the diary's unit text; `newDiary` when the import creates
// it; `convert` when the user allowed conversion.
UnitPlan PlanUnits(const std::vector<Weighing>& weighings, std::u16string_view diaryUnit, bool newDiary, bool convert);

// Converts every weighing in a known unit other than the plan's target;
// returns how many.
std::size_t ApplyUnitPlan(std::vector<Weighing>& weighings, const UnitPlan& plan);

// The known units among the weighings: "kg", "lb", "kg and lb", or "".
std::string UnitsSeen(const std::vector<Weighing>& weighings);
