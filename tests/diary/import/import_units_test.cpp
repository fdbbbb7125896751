#include "diary/import/import_units.h"
#include "diary/import/shown_text.h"

#include <gtest/gtest.h>

namespace {

std::vector<Weighing> In(std::initializer_list<WeightUnit> units)
{
    std::vector<Weighing> weighings;
    for (const WeightUnit unit : units)
        weighings.push_back(Weighing{{2024, 1, 1}, -1, 100.0, unit});
    return weighings;
}

constexpr WeightUnit kg = WeightUnit::Kilogram;
constexpr WeightUnit lb = WeightUnit::Pound;
constexpr WeightUnit none = WeightUnit::Unknown;

struct PlanCase {
    const char* name;
    std::vector<Weighing> weighings;
    std::u16string diaryUnit;
    bool newDiary;
    bool convert;
    bool refused;
    WeightUnit target;
    std::u16string newUnit;
    std::size_t converted;
};

TEST(PlanUnits, NewDiariesTakeTheFileUnitOthersRefuseOrConvert)
{
    const PlanCase cases[] = {
        {"no unit stated", In({none, none}), u"k", true, false, false, none, u"", 0},
        {"new diary, lb file", In({lb}), u"k", true, false, false, lb, u"lb", 0},
        {"new diary, kg file", In({kg}), u"k", true, false, false, kg, u"kg", 0},
        {"new diary, mixed", In({kg, lb, lb}), u"k", true, false, true, none, u"", 0},
        {"new diary, mixed, convert", In({kg, lb, lb}), u"k", true, true, false, lb, u"lb", 1},
        {"default k is kg", In({kg}), u"k", false, false, false, kg, u"", 0},
        {"katakana kilo", In({kg}), u"キロ", false, false, false, kg, u"", 0},
        {"half-width kilo", In({kg}), u"ｷﾛ", false, false, false, kg, u"", 0},
        {"lb file into kg diary", In({lb}), u"kg", false, false, true, none, u"", 0},
        {"lb file into kg diary, convert", In({lb, lb}), u"kg", false, true, false, kg, u"", 2},
        {"kg file into ﾎﾟﾝﾄﾞ diary, convert", In({kg}), u"ﾎﾟﾝﾄﾞ", false, true, false, lb, u"", 1},
        {"kg file into lbs diary", In({kg}), u"lbs", false, false, true, none, u"", 0},
        {"unknown diary unit, one file unit", In({kg}), u"stone", false, false, false, none, u"", 0},
        {"unknown diary unit, convert", In({lb}), u"stone", false, true, true, none, u"", 0},
        {"unknown diary unit, mixed", In({kg, lb}), u"stone", false, true, true, none, u"", 0},
    };
    for (const PlanCase& c : cases) {
        std::vector<Weighing> weighings = c.weighings;
        const UnitPlan plan = PlanUnits(weighings, c.diaryUnit, c.newDiary, c.convert);
        EXPECT_EQ(!plan.error.empty(), c.refused) << c.name << ": " << plan.error;
        if (c.refused)
            continue;
        EXPECT_EQ(plan.target, c.target) << c.name;
        EXPECT_EQ(plan.newDiaryUnit, c.newUnit) << c.name;
        EXPECT_EQ(ApplyUnitPlan(weighings, plan), c.converted) << c.name;
    }
}

TEST(PlanUnits, RefusalsSayWhatToDo)
{
    EXPECT_EQ(PlanUnits(In({lb}), u"kg", false, false).error,
        "the file's weights are in lb, the diary's in kg; --convert converts them exactly (1 lb = 0.45359237 kg)");
    EXPECT_EQ(PlanUnits(In({kg, lb, lb}), u"k", true, false).error,
        "the file mixes kg and lb; --convert converts them exactly (1 lb = 0.45359237 kg) into lb, the unit of most of "
        "its weights");
    EXPECT_EQ(PlanUnits(In({lb}), u"stone", false, true).error,
        "the diary's unit \"stone\" is neither kg nor lb, so weights cannot be converted to it");
}

TEST(ConvertWeight, ExactByTheDefinitionOfThePound)
{
    EXPECT_EQ(ConvertWeight(1.0, lb, kg), 0.45359237);
    EXPECT_EQ(ConvertWeight(200.0, lb, kg), 200.0 * 0.45359237);
    EXPECT_EQ(ConvertWeight(0.45359237, kg, lb), 1.0);
    EXPECT_EQ(ConvertWeight(80.0, kg, kg), 80.0);
    std::vector<Weighing> unknown = In({none});
    EXPECT_EQ(ApplyUnitPlan(unknown, UnitPlan{{}, kg, {}}), 0u);
    EXPECT_EQ(unknown[0].weight, 100.0);
}

TEST(ShownText, CutsEscapesAndKeepsUtf8Whole)
{
    EXPECT_EQ(ShownText("80,5"), "'80,5'");
    EXPECT_EQ(ShownText("a\tb\r\n\x1b[31m\x7f"), "'a\\tb\\r\\n\\x1B[31m\\x7F'");
    EXPECT_EQ(ShownText(std::string(61, 'x')), "'" + std::string(60, 'x') + "'... (61 bytes)");
    EXPECT_EQ(ShownText(std::string(60, 'x')), "'" + std::string(60, 'x') + "'");
    std::string kana;
    for (int i = 0; i < 61; ++i)
        kana += "\xE3\x82\xAD"; // キ
    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += "\xE3\x82\xAD";
    EXPECT_EQ(ShownText(kana), "'" + sixty + "'... (183 bytes)");
}

} // namespace
