#include "diary/import/weight_unit.h"

#include "platform/format.h"

#include <algorithm>
#include <array>

namespace {

struct UnitName {
    std::string_view text;
    WeightUnit unit;
};

constexpr std::array<UnitName, 10> kUnitNames{{
    {"k", WeightUnit::Kilogram},
    {"kg", WeightUnit::Kilogram},
    {"kgs", WeightUnit::Kilogram},
    {"\xEF\xBD\xB7\xEF\xBE\x9B", WeightUnit::Kilogram}, // ｷﾛ
    {"\xE3\x82\xAD\xE3\x83\xAD", WeightUnit::Kilogram}, // キロ
    {"lb", WeightUnit::Pound},
    {"lbs", WeightUnit::Pound},
    {"\xEF\xBE\x8E\xEF\xBE\x9F\xEF\xBE\x9D\xEF\xBE\x84\xEF\xBE\x9E", WeightUnit::Pound}, // ﾎﾟﾝﾄﾞ
    {"\xE3\x83\x9D\xE3\x83\xB3\xE3\x83\x89", WeightUnit::Pound},                         // ポンド
    {"pounds", WeightUnit::Pound},
}};

std::string LowerTrimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
        [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return out;
}

} // namespace

WeightUnit UnitOfText(std::string_view text)
{
    const std::string key = LowerTrimmed(text);
    for (const UnitName& name : kUnitNames)
        if (key == name.text)
            return name.unit;
    return WeightUnit::Unknown;
}

WeightUnit UnitOfText(std::u16string_view text)
{
    return UnitOfText(ToUtf8(text));
}

const char* UnitSymbol(WeightUnit unit)
{
    switch (unit) {
    case WeightUnit::Kilogram: return "kg";
    case WeightUnit::Pound: return "lb";
    case WeightUnit::Unknown: break;
    }
    return "?";
}

double ConvertWeight(double weight, WeightUnit from, WeightUnit to)
{
    if (from == WeightUnit::Pound && to == WeightUnit::Kilogram)
        return weight * kKilogramsPerPound;
    if (from == WeightUnit::Kilogram && to == WeightUnit::Pound)
        return weight / kKilogramsPerPound;
    return weight;
}
