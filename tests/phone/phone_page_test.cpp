#include "phone_fixture.h"

#include "diary/profile_keys.h"
#include "platform/memory_profile_store.h"
#include "view/view_settings.h"

#include <nlohmann/json.hpp>

namespace {

// A hundred years of daily weights ending 2026-12-09.
void WriteCentury(const std::string& path)
{
    CTarelogDoc doc;
    doc.m_unit = u"kg";
    const CalendarDate last = CalendarDate::FromYmd(2026, 12, 9);
    for (int i = 36499; i >= 0; --i) {
        const CalendarDate day = CalendarDate::FromYmd(last.Year(), last.Month(), last.Day() - i);
        WeightRecord record;
        record.weight = 60.0 + (i % 97) * 0.1;
        record.year = static_cast<std::int16_t>(day.Year());
        record.month = static_cast<std::int16_t>(day.Month());
        record.day = static_cast<std::int16_t>(day.Day());
        doc.AppendRecord(record);
    }
    ASSERT_TRUE(SaveDiaryFile(doc, path).has_value());
}

} // namespace

TEST_F(PhoneFixture, ThePageOfACenturyFitsIn40KilobytesAndShowsTheFigures)
{
    WriteCentury(m_diary);
    PairPhone();
    const HttpResponse page = m_service.Handle(FromPage("GET", "/"));
    ASSERT_EQ(page.status, 200);
    EXPECT_LT(page.body.size(), 40u * 1024);
    EXPECT_NE(page.body.find("<html lang=\"ja\">"), std::string::npos);
    EXPECT_NE(page.body.find("2026/12/09"), std::string::npos);
    EXPECT_NE(page.body.find("傾向 "), std::string::npos);
    EXPECT_NE(page.body.find("<svg"), std::string::npos);
    EXPECT_EQ(page.body.find("<?xml"), std::string::npos);
    // The dialog's presets: today, and the latest weight.
    EXPECT_NE(page.body.find("type=\"date\" id=\"date\" name=\"date\" required value=\"2026-12-10\""),
        std::string::npos);
    EXPECT_NE(page.body.find("name=\"weight\" required value=\"60\""), std::string::npos);
    // Every control has its label.
    EXPECT_NE(page.body.find("<label for=\"date\">"), std::string::npos);
    EXPECT_NE(page.body.find("<label for=\"weight\">"), std::string::npos);

    // The script's answer after a record holds the page's main part.
    HttpRequest post = FromPage("POST", "/", "date=2026-12-10&weight=60.5");
    post.headers.emplace_back("accept", "application/json");
    const HttpResponse answer = m_service.Handle(post);
    EXPECT_EQ(answer.status, 200);
    const std::string main = nlohmann::json::parse(answer.body).value("main", "");
    EXPECT_NE(main.find("記録しました"), std::string::npos);
    EXPECT_NE(main.find("2026/12/10 の体重"), std::string::npos);
    EXPECT_EQ(Records().size(), 36501u);
}

TEST(PhonePage, TheGoalColoursAndDateStyleComeFromTheUsersSettings)
{
    TempDir dir;
    const std::string diary = dir.File("goal.tlg");
    CTarelogDoc doc;
    doc.m_unit = u"kg";
    for (int day = 1; day <= 30; ++day)
        doc.SetDayWeight(80.0 - 0.2 * day, 2026, 11, day);
    ASSERT_TRUE(SaveDiaryFile(doc, diary).has_value());
    MemoryProfileStore profile;
    SaveGoal(profile, diary, 70.0);
    profile.WriteProfileInt(kColorSection, "7", 0x0000ff); // the trend line in red (0xBBGGRR)

    PhoneService service({.diaryPath = diary,
        .baseUrl = "https://127.0.0.1:8765",
        .stateFolder = dir.File("state"),
        .profile = &profile});
    DeviceStore store(diary, dir.File("state"));
    HttpRequest pair;
    pair.method = "GET";
    pair.path = "/pair/" + *store.NewPairingSecret();
    const HttpResponse paired = service.Handle(pair);
    ASSERT_EQ(paired.status, 200);
    std::string cookie;
    for (const auto& [name, value] : paired.headers)
        if (name == "Set-Cookie")
            cookie = value.substr(0, value.find(';'));
    HttpRequest get;
    get.method = "GET";
    get.path = "/";
    get.headers = {{"cookie", cookie}};
    const HttpResponse page = service.Handle(get);
    ASSERT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("目標まで "), std::string::npos);
    EXPECT_NE(page.body.find("#ff0000"), std::string::npos);
    EXPECT_EQ(page.body.find(">26/11/"), std::string::npos);

    HttpRequest api = get;
    api.path = "/api/diary";
    const nlohmann::json json = nlohmann::json::parse(service.Handle(api).body);
    EXPECT_EQ(json["goal"], 70.0);
    EXPECT_TRUE(json["goal_date"].is_string());

    // Settings changed while the server runs show at the next visit.
    profile.WriteProfileInt(kShowSection, kDateStyleEntry, 2);
    SaveGoal(profile, diary, std::nullopt);
    const HttpResponse again = service.Handle(get);
    EXPECT_NE(again.body.find(">26/11/"), std::string::npos);
    EXPECT_EQ(again.body.find("目標まで "), std::string::npos);
}

TEST_F(PhoneFixture, ThePageFollowsEveryOtherWriterOfTheDiary)
{
    WriteDiary({65.4});
    PairPhone();
    EXPECT_NE(m_service.Handle(FromPage("GET", "/")).body.find("65.4kg"), std::string::npos);
    // Another program writes the diary (as tarelog-cli add or the window would).
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryFile(m_diary, doc).has_value());
    doc.SetDayWeight(64.3, 2026, 12, 10);
    ASSERT_TRUE(SaveDiaryFile(doc, m_diary).has_value());
    const std::string page = m_service.Handle(FromPage("GET", "/")).body;
    EXPECT_NE(page.find("64.3kg"), std::string::npos);
    EXPECT_NE(page.find("2026/12/10 の体重"), std::string::npos);
    const nlohmann::json json = nlohmann::json::parse(m_service.Handle(FromPage("GET", "/api/diary")).body);
    EXPECT_EQ(json["latest"]["weight"], 64.3);

    std::filesystem::remove(m_diary);
    EXPECT_NE(m_service.Handle(FromPage("GET", "/")).body.find("まだ記録がありません"), std::string::npos);
}
