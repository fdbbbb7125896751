#include "diary/import/import_units.h"

#include "platform/format.h"

namespace {

struct UnitCounts {
    std::size_t kilograms = 0;
    std::size_t pounds = 0;

    bool Mixed() const { return kilograms > 0 && pounds > 0; }
    bool None() const { return kilograms == 0 && pounds == 0; }
    WeightUnit Only() const { return kilograms > 0 ? WeightUnit::Kilogram : WeightUnit::Pound; }
    WeightUnit Majority() const { return kilograms >= pounds ? WeightUnit::Kilogram : WeightUnit::Pound; }
};

UnitCounts CountUnits(const std::vector<Weighing>& weighings)
{
    UnitCounts counts;
    for (const Weighing& w : weighings) {
        counts.kilograms += w.unit == WeightUnit::Kilogram;
        counts.pounds += w.unit == WeightUnit::Pound;
    }
    return counts;
}

std::u16string UnitText(WeightUnit unit)
{
    return ToUtf16(UnitSymbol(unit));
}

const char kConvertHint[] = "--convert converts them exactly (1 lb = 0.45359237 kg)";

UnitPlan PlanNewDiary(const UnitCounts& counts, bool convert)
{
    UnitPlan plan;
    if (counts.Mixed() && !convert) {
        plan.error = "the file mixes kg and lb; " + std::string(kConvertHint) + " into " + UnitSymbol(counts.Majority())
            + ", the unit of most of its weights";
        return plan;
    }
    plan.target = counts.Mixed() ? counts.Majority() : counts.Only();
    plan.newDiaryUnit = UnitText(plan.target);
    return plan;
}

UnitPlan PlanExistingDiary(const UnitCounts& counts, std::u16string_view diaryUnit, bool convert)
{
    UnitPlan plan;
    const WeightUnit diary = UnitOfText(diaryUnit);
    const std::string shownUnit = "\"" + ToUtf8(diaryUnit) + "\"";
    if (diary == WeightUnit::Unknown) {
        if (counts.Mixed() || convert)
            plan.error = "the diary's unit " + shownUnit
                + " is neither kg nor lb, so weights cannot be converted to it";
        return plan; // one unit, no conversion asked: stored as written
    }
    plan.target = diary;
    const bool differs = counts.Mixed() || counts.Only() != diary;
    if (differs && !convert)
        plan.error = std::string("the file's weights are in ")
            + (counts.Mixed() ? "kg and lb" : UnitSymbol(counts.Only())) + ", the diary's in " + UnitSymbol(diary)
            + "; " + kConvertHint;
    return plan;
}

} // namespace

UnitPlan PlanUnits(const std::vector<Weighing>& weighings, std::u16string_view diaryUnit, bool newDiary, bool convert)
{
    const UnitCounts counts = CountUnits(weighings);
    if (counts.None())
        return {};
    return newDiary ? PlanNewDiary(counts, convert) : PlanExistingDiary(counts, diaryUnit, convert);
}

std::size_t ApplyUnitPlan(std::vector<Weighing>& weighings, const UnitPlan& plan)
{
    if (plan.target == WeightUnit::Unknown)
        return 0;
    std::size_t converted = 0;
    for (Weighing& w : weighings) {
        if (w.unit == WeightUnit::Unknown || w.unit == plan.target)
            continue;
        w.weight = ConvertWeight(w.weight, w.unit, plan.target);
        w.unit = plan.target;
        ++converted;
    }
    return converted;
}

std::string UnitsSeen(const std::vector<Weighing>& weighings)
{
    const UnitCounts counts = CountUnits(weighings);
    if (counts.None())
        return {};
    return counts.Mixed() ? "kg and lb" : UnitSymbol(counts.Only());
}
