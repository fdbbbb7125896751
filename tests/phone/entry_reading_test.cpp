#include "phone/day_entry.h"
#include "phone/form_fields.h"
#include "phone/request_checks.h"
#include "platform/number_text.h"

#include <gtest/gtest.h>

TEST(FormFields, DecodesEscapesAndPlusAndRefusesBrokenEscapes)
{
    const std::optional<FormFields> form = FormFields::Parse(
        "date=2026-12-10&weight=%EF%BC%96%EF%BC%95&note=a+b%2Bc&&empty=");
    ASSERT_TRUE(form.has_value());
    EXPECT_EQ(form->Get("date"), "2026-12-10");
    EXPECT_EQ(form->Get("weight"), "６５");
    EXPECT_EQ(form->Get("note"), "a b+c");
    EXPECT_TRUE(form->Has("empty"));
    EXPECT_FALSE(form->Has("missing"));
    EXPECT_EQ(form->Get("missing"), "");
    for (const char* broken : {"weight=%", "weight=%4", "weight=%G0", "w%=1"})
        EXPECT_FALSE(FormFields::Parse(broken).has_value()) << broken;
    EXPECT_EQ(CookieValue("a=1; tarelog_device=xyz ;b=2", "tarelog_device"), "xyz");
    EXPECT_EQ(CookieValue("xtarelog_device=1", "tarelog_device"), "");
}

TEST(EntryReading, WeightsAreReadAsTheEntryDialogReadsThem)
{
    double weight = 0.0;
    EXPECT_EQ(ReadEntryWeight("６５．２", weight), EntryProblem::None);
    EXPECT_EQ(weight, 65.2);
    EXPECT_EQ(ReadEntryWeight("\u3000＋７０\u3000", weight), EntryProblem::None);
    EXPECT_EQ(weight, 70.0);
    EXPECT_EQ(ReadEntryWeight("", weight), EntryProblem::EmptyWeight);
    EXPECT_EQ(ReadEntryWeight("  ", weight), EntryProblem::EmptyWeight);
    EXPECT_EQ(ReadEntryWeight("65,2", weight), EntryProblem::WeightNotANumber);
    EXPECT_EQ(ReadEntryWeight("0x41", weight), EntryProblem::WeightNotANumber);
    EXPECT_EQ(ReadEntryWeight("NaN", weight), EntryProblem::WeightNotFinite);
    EXPECT_EQ(ReadEntryWeight("-inf", weight), EntryProblem::WeightNotFinite);
    EXPECT_EQ(ReadEntryWeight("1e309", weight), EntryProblem::WeightNotFinite);
    EXPECT_EQ(ReadEntryWeight("\u22121", weight), EntryProblem::WeightNotPositive);
    EXPECT_EQ(ReadEntryWeight("-0", weight), EntryProblem::WeightNotPositive);
    EXPECT_EQ(weight, 70.0) << "a refused text leaves the weight alone";
    EXPECT_EQ(FoldWideNumberText("ａ１～"), "a1~");
    EXPECT_EQ(FoldWideNumberText("体重"), "体重");
}

TEST(EntryReading, DatesAreRealDaysWithinThePickersYears)
{
    DayWeight entry;
    EXPECT_EQ(ReadEntryDate("2024-02-29", entry), EntryProblem::None);
    EXPECT_EQ(entry.year * 10000 + entry.month * 100 + entry.day, 20240229);
    EXPECT_EQ(ReadEntryDate("２０２６－１２－１０", entry), EntryProblem::None);
    EXPECT_EQ(entry.day, 10);
    EXPECT_EQ(ReadEntryDate("1752-09-14", entry), EntryProblem::None);
    EXPECT_EQ(ReadEntryDate("9999-12-31", entry), EntryProblem::None);
    EXPECT_EQ(ReadEntryDate("2026-02-29", entry), EntryProblem::DateNotADay);
    EXPECT_EQ(ReadEntryDate("2026-13-01", entry), EntryProblem::DateNotADay);
    EXPECT_EQ(ReadEntryDate("2026-12-1", entry), EntryProblem::DateNotADay);
    EXPECT_EQ(ReadEntryDate("2026/12/10", entry), EntryProblem::DateNotADay);
    EXPECT_EQ(ReadEntryDate("-2026-12-10", entry), EntryProblem::DateNotADay);
    EXPECT_EQ(ReadEntryDate("", entry), EntryProblem::DateMissing);
    EXPECT_EQ(ReadEntryDate("1752-09-13", entry), EntryProblem::DateOutOfRange);
    EXPECT_EQ(ReadEntryDate("32768-01-01", entry), EntryProblem::DateOutOfRange);
    EXPECT_EQ(ReadEntryDate("99999999999-01-01", entry), EntryProblem::DateNotADay);
    for (const EntryProblem problem : {EntryProblem::EmptyWeight, EntryProblem::DateOutOfRange}) {
        EXPECT_FALSE(JapaneseProblem(problem).empty());
        EXPECT_FALSE(EnglishProblem(problem).empty());
    }
}

TEST(RequestChecks, PathsOriginsAndTokens)
{
    for (const char* path : {"/", "/api/diary", "/pair/AbC-_9"})
        EXPECT_FALSE(IsSuspectPath(path)) << path;
    for (const char* path : {"", "api", "/..", "/a/../b", "/%2e%2e/", "/a//b", "/a\\b", "/./a", "/a/"})
        EXPECT_TRUE(IsSuspectPath(path)) << path;

    HttpRequest request;
    request.headers = {{"host", "192.168.1.20:8765"}, {"origin", "https://192.168.1.20:8765"}};
    EXPECT_TRUE(ComesFromOwnPage(request));
    request.headers = {{"host", "192.168.1.20:8765"}, {"origin", "https://192.168.1.20:87650"}};
    EXPECT_FALSE(ComesFromOwnPage(request));
    request.headers = {{"origin", "https://192.168.1.20:8765"}};
    EXPECT_FALSE(ComesFromOwnPage(request));
    request.headers = {{"authorization", "Bearer  abc "}};
    EXPECT_EQ(BearerToken(request), "abc");
    request.headers = {{"authorization", "Basic abc"}};
    EXPECT_EQ(BearerToken(request), "");
}
