#include "diary/import/diary_import.h"

ImportSummary MergeImport(WeightImport& import, CTarelogDoc& doc, bool newDiary, const ImportChoices& choices)
{
    ImportSummary summary;
    summary.skipped = import.problems.Count() + import.interpolated + import.withoutWeight;
    const UnitPlan plan = PlanUnits(import.weighings, doc.m_unit, newDiary, choices.convert);
    if (!plan.error.empty()) {
        summary.unitRefusal = plan.error;
        summary.conversionWouldHelp = !choices.convert
            && PlanUnits(import.weighings, doc.m_unit, newDiary, true).error.empty();
        return summary;
    }
    if (!plan.newDiaryUnit.empty()) {
        doc.m_unit = plan.newDiaryUnit;
        summary.unitTaken = true;
    }
    summary.storedIn = plan.target;
    summary.converted = ApplyUnitPlan(import.weighings, plan);
    DailyChoice choice = ChooseOnePerDay(std::move(import.weighings), choices.keep);
    import.weighings.clear();
    summary.superseded = choice.superseded;
    summary.merge = MergeDayWeights(doc, std::move(choice.days));
    return summary;
}
