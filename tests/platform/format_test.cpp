#include "platform/format.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(Format, TheProgramsFormats)
{
    EXPECT_EQ(FormatString(" %04d/%02d/%02d  %5.1f", 2001, 5, 3, 65.3), " 2001/05/03   65.3");
    EXPECT_EQ(FormatString("%d/%d", 3, 5), "3/5");
    EXPECT_EQ(FormatString("%5.1f", 123.456), "123.5");
}

TEST(Format, FixedPointWithDigitsChosenAtRunTime)
{
    const std::string twoStep = FormatString("%%.%df%%s", 1);
    EXPECT_EQ(twoStep, "%.1f%s");
    EXPECT_EQ(FormatRuntime(twoStep.c_str(), 60.5, "kg"), "60.5kg");
    EXPECT_EQ(FormatRuntime(FormatString("%%.%df%%s", 0).c_str(), 60.5, "k"), "60k");
    EXPECT_EQ(FormatRuntime(FormatString("%%.%df%%s", 3).c_str(), 1.0, ""), "1.000");
}

TEST(Format, DecimalPointIgnoresTheProcessLocale)
{
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale on this machine";
    EXPECT_EQ(FormatString("%5.1f", 65.25), " 65.2");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(Format, LeadingNumberOfAText)
{
    EXPECT_DOUBLE_EQ(LeadingDouble(" 65.5"), 65.5);
    EXPECT_DOUBLE_EQ(LeadingDouble("65.5kg"), 65.5);
    EXPECT_DOUBLE_EQ(LeadingDouble("-1.5e2x"), -150.0);
    EXPECT_DOUBLE_EQ(LeadingDouble("+7"), 7.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(".5"), 0.5);
    EXPECT_EQ(LeadingDouble("kg"), 0.0);
    EXPECT_EQ(LeadingDouble(""), 0.0);
    EXPECT_EQ(LeadingDouble("+-3"), 0.0);
    EXPECT_TRUE(std::isinf(LeadingDouble("1e999")));
}

TEST(Format, ShortestDoubleReadsBack)
{
    EXPECT_EQ(ShortestDouble(65.5), "65.5");
    EXPECT_EQ(ShortestDouble(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(ShortestDouble(70.0), "70");
}

TEST(Format, Utf16RoundTrip)
{
    const std::string text = "体重 kg \xF0\x9F\x98\x80";
    EXPECT_EQ(ToUtf8(ToUtf16(text)), text);
    EXPECT_EQ(ToUtf16("k"), u"k");
    EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

} // namespace
