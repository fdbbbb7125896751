#pragma once

#include <string>
#include <string_view>

// The units an import can tell apart. A unit text that is neither (a
// diary's "stone", a file's "st") is Unknown and never converted.
enum class WeightUnit { Unknown, Kilogram, Pound };

// Exact by definition (the international pound of 1959).
constexpr double kKilogramsPerPound = 0.45359237;

// "k" (a new diary's default), "kg", "kgs", "ｷﾛ", "キロ" are kilograms; "lb",
// "lbs", "ﾎﾟﾝﾄﾞ", "ポンド" are pounds; ASCII letters in any case, surrounding
// spaces ignored. UTF-8.
WeightUnit UnitOfText(std::string_view text);
WeightUnit UnitOfText(std::u16string_view text);

// "kg" or "lb"; "?" for Unknown.
const char* UnitSymbol(WeightUnit unit);

// `weight` in `from` expressed in `to`; both known.
double ConvertWeight(double weight, WeightUnit from, WeightUnit to);
