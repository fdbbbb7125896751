#include "phone_fixture.h"

#include "phone/failure_throttle.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>

using Json = nlohmann::json;

namespace {

std::string FormBody(const std::string& date, const std::string& weight)
{
    return "date=" + date + "&weight=" + weight;
}

} // namespace

TEST_F(PhoneFixture, WithoutAPairedDeviceNothingOfTheDiaryIsShownOrChanged)
{
    WriteDiary({65.4, 65.2, 64.9});
    const std::string before = DiaryBytes();
    const HttpResponse page = m_service.Handle(Request("GET", "/"));
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("tarelog-cli pair"), std::string::npos);
    for (const char* secret : {"64.9", "65.2", "<svg", "2026", "傾向", "name=\"weight\""})
        EXPECT_EQ(page.body.find(secret), std::string::npos) << secret;

    // A cookie that names no device, a wrong token, no credentials at all.
    HttpRequest forged = Request("POST", "/", FormBody("2026-12-10", "70"));
    forged.headers.emplace_back("cookie", "tarelog_device=guessed");
    forged.headers.emplace_back("origin", "https://127.0.0.1:8765");
    const HttpResponse posted = m_service.Handle(forged);
    EXPECT_EQ(posted.status, 401);
    EXPECT_EQ(posted.body.find("64.9"), std::string::npos);
    HttpRequest wrongToken = Request("GET", "/api/diary");
    wrongToken.headers.emplace_back("authorization", "Bearer guessed");
    EXPECT_EQ(m_service.Handle(wrongToken).status, 401);
    const HttpResponse api = m_service.Handle(Request("GET", "/api/diary"));
    EXPECT_EQ(api.status, 401);
    EXPECT_EQ(api.body.find("64.9"), std::string::npos);
    EXPECT_EQ(m_service.Handle(Request("POST", "/api/entries", R"({"date":"2026-12-10","weight":70})")).status, 401);
    EXPECT_EQ(DiaryBytes(), before);
}

TEST_F(PhoneFixture, APairingLinkWorksOnceAndForTenMinutes)
{
    WriteDiary({65.4});
    const std::string link = *Store().NewPairingSecret();
    const HttpResponse paired = m_service.Handle(Request("GET", "/pair/" + link));
    ASSERT_EQ(paired.status, 200);
    const std::string cookie = SetCookie(paired).value_or("");
    for (const char* attribute : {"HttpOnly", "Secure", "SameSite=Strict", "Path=/", "Max-Age="})
        EXPECT_NE(cookie.find(attribute), std::string::npos) << attribute;
    EXPECT_NE(paired.body.find("url=/"), std::string::npos);
    EXPECT_NE(paired.body.find("iPhone"), std::string::npos);

    // The second browser that opens the same link gets nothing.
    const HttpResponse replayed = m_service.Handle(Request("GET", "/pair/" + link));
    EXPECT_EQ(replayed.status, 403);
    EXPECT_FALSE(SetCookie(replayed).has_value());

    const std::string late = *Store().NewPairingSecret();
    m_now += DeviceStore::kLinkLifetime;
    const HttpResponse expired = m_service.Handle(Request("GET", "/pair/" + late));
    EXPECT_EQ(expired.status, 403);
    EXPECT_FALSE(SetCookie(expired).has_value());
    EXPECT_EQ(Store().List()->size(), 1u);
    EXPECT_EQ(m_service.Handle(Request("POST", "/pair/" + late)).status, 405);
}

TEST_F(PhoneFixture, ARevokedPhoneOrTokenIsShutOutAtOnce)
{
    WriteDiary({65.4});
    PairPhone();
    const std::string token = *Store().NewToken("scale");
    HttpRequest scripted = Request("GET", "/api/diary");
    scripted.headers.emplace_back("authorization", "Bearer " + token);
    EXPECT_EQ(m_service.Handle(FromPage("GET", "/")).status, 200);
    EXPECT_EQ(m_service.Handle(scripted).status, 200);

    ASSERT_TRUE(Store().Revoke("iPhone").has_value());
    ASSERT_TRUE(Store().Revoke("scale").has_value());
    const HttpResponse page = m_service.Handle(FromPage("GET", "/"));
    EXPECT_EQ(page.status, 401);
    EXPECT_EQ(page.body.find("65.4"), std::string::npos);
    EXPECT_NE(SetCookie(page).value_or("").find("Max-Age=0"), std::string::npos);
    EXPECT_EQ(m_service.Handle(scripted).status, 401);
}

TEST_F(PhoneFixture, PostsFromAnotherSiteAreRefusedWithTheDiaryUnchanged)
{
    WriteDiary({65.4});
    PairPhone();
    const std::string before = DiaryBytes();
    for (const char* origin : {"https://evil.example", "null", "https://127.0.0.1:8765.evil.example", ""}) {
        HttpRequest request = Request("POST", "/", FormBody("2026-12-10", "65.0"));
        request.headers.emplace_back("cookie", "tarelog_device=" + m_cookie);
        if (*origin != '\0')
            request.headers.emplace_back("origin", origin);
        EXPECT_EQ(m_service.Handle(request).status, 403) << origin;
        request.path = "/api/entries";
        request.body = R"({"date":"2026-12-10","weight":65})";
        EXPECT_EQ(m_service.Handle(request).status, 403) << origin;
    }
    EXPECT_EQ(DiaryBytes(), before);

    // A script's token is no cookie a browser sends on its own: no Origin needed.
    HttpRequest scripted = Request("POST", "/api/entries", R"({"date":"2026-12-10","weight":65})");
    scripted.headers.emplace_back("authorization", "bearer " + *Store().NewToken(""));
    const HttpResponse stored = m_service.Handle(scripted);
    EXPECT_EQ(stored.status, 200) << stored.body;
    EXPECT_EQ(Json::parse(stored.body), Json::parse(R"({"date":"2026-12-10","weight":65.0})"));
    EXPECT_EQ(Records().size(), 2u);
}

TEST_F(PhoneFixture, BadInputGetsAFourHundredAndChangesNothing)
{
    WriteDiary({65.4});
    PairPhone();
    const std::string before = DiaryBytes();
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"2026-12-10", ""},
        {"2026-12-10", "abc"},
        {"2026-12-10", "nan"},
        {"2026-12-10", "inf"},
        {"2026-12-10", "1e999"},
        {"2026-12-10", "0"},
        {"2026-12-10", "-1"},
        {"2026-12-10", "65.4kg"},
        {"2026-02-30", "65"},
        {"1700-01-01", "65"},
        {"1752-09-13", "65"},
        {"10000-01-01", "65"},
        {"2026-2-3", "65"},
        {"", "65"},
        {"2026-12-10%ZZ", "65"},
    };
    for (const auto& [date, weight] : bad) {
        const HttpResponse page = m_service.Handle(FromPage("POST", "/", FormBody(date, weight)));
        EXPECT_EQ(page.status, 400) << date << " " << weight;
        EXPECT_NE(page.body.find("class=\"error\""), std::string::npos) << date << " " << weight;
    }
    const std::vector<std::string> badJson = {
        "{",
        "[]",
        "65",
        R"({"date":"2026-12-10"})",
        R"({"date":"2026-12-10","weight":"65"})",
        R"({"date":"2026-02-30","weight":65})",
        R"({"date":"0999-01-01","weight":65})",
        R"({"date":"2026-12-10","weight":0})",
        R"({"date":"2026-12-10","weight":-3})",
        R"({"date":"2026-12-10","weight":1e400})",
        R"({"weight":65})",
        R"({"date":20261210,"weight":65})",
    };
    for (const std::string& body : badJson) {
        const HttpResponse api = m_service.Handle(FromPage("POST", "/api/entries", body));
        EXPECT_EQ(api.status, 400) << body;
        EXPECT_TRUE(Json::parse(api.body).contains("error")) << body;
    }
    EXPECT_EQ(m_service.Handle(FromPage("POST", "/", std::string(9000, 'x'))).status, 413);
    EXPECT_EQ(m_service.Handle(FromPage("GET", "/nothing")).status, 404);
    EXPECT_EQ(m_service.Handle(FromPage("DELETE", "/")).status, 405);
    EXPECT_EQ(m_service.Handle(FromPage("GET", "/api/entries")).status, 405);
    for (const char* path :
        {"/../etc/passwd", "/%2e%2e/diary.tlg", "/api/../api/diary", "/pair/%2e%2e", "//", "/.", "x"})
        EXPECT_EQ(m_service.Handle(FromPage("GET", path)).status, 400) << path;
    EXPECT_EQ(DiaryBytes(), before);
}

TEST_F(PhoneFixture, AWeightFarFromTheLatestIsAskedAboutFirst)
{
    WriteDiary({65.4});
    PairPhone();
    const std::string before = DiaryBytes();
    const HttpResponse asked = m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "654")));
    EXPECT_EQ(asked.status, 200);
    EXPECT_NE(asked.body.find("20%を超えて"), std::string::npos);
    EXPECT_NE(asked.body.find("name=\"confirm\" value=\"1\""), std::string::npos);
    EXPECT_NE(asked.body.find("value=\"654\""), std::string::npos);
    HttpRequest scripted = FromPage("POST", "/", FormBody("2026-12-10", "654"));
    scripted.headers.emplace_back("accept", "application/json");
    const Json question = Json::parse(m_service.Handle(scripted).body);
    EXPECT_NE(question.value("question", "").find("654"), std::string::npos);
    EXPECT_EQ(DiaryBytes(), before);

    // Within 20% nothing is asked; confirmed, the far weight is recorded.
    EXPECT_NE(m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "78.4"))).body.find("記録しました"),
        std::string::npos);
    const HttpResponse confirmed = m_service.Handle(
        FromPage("POST", "/", FormBody("2026-12-11", "654") + "&confirm=1"));
    EXPECT_NE(confirmed.body.find("記録しました"), std::string::npos);
    const std::vector<WeightRecord> records = Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].weight, 78.4);
    EXPECT_EQ(records[2].weight, 654.0);
}

TEST_F(PhoneFixture, FullWidthDigitsRecordAndADayRecordedAgainIsReplaced)
{
    PairPhone();
    // No diary yet: the first entry makes it.
    EXPECT_EQ(DiaryBytes(), "(none)");
    const HttpResponse first = m_service.Handle(
        FromPage("POST", "/", FormBody("2026-12-10", "%EF%BC%96%EF%BC%95%EF%BC%8E%EF%BC%92")));
    EXPECT_EQ(first.status, 200) << first.body;
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].weight, 65.2);
    const HttpResponse again = m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "%2B65.0")));
    EXPECT_EQ(again.status, 200);
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].weight, 65.0);
    EXPECT_EQ(Records()[0].day, 10);
}

TEST_F(PhoneFixture, AnUnwritableDiaryAnswers503AndTheFormKeepsWhatWasTyped)
{
    WriteDiary({65.4});
    PairPhone();
    const std::string before = DiaryBytes();
    ASSERT_EQ(::chmod(m_diary.c_str(), 0444), 0);
    const HttpResponse page = m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "64.8")));
    EXPECT_EQ(page.status, 503);
    EXPECT_NE(page.body.find("value=\"64.8\""), std::string::npos);
    EXPECT_NE(page.body.find("value=\"2026-12-10\""), std::string::npos);
    EXPECT_NE(page.body.find("class=\"error\""), std::string::npos);
    const HttpResponse api = m_service.Handle(
        FromPage("POST", "/api/entries", R"({"date":"2026-12-10","weight":64.8})"));
    EXPECT_EQ(api.status, 503);
    EXPECT_FALSE(Json::parse(api.body).value("error", "").empty());
    EXPECT_EQ(DiaryBytes(), before);
}

TEST_F(PhoneFixture, StepButtonsMoveTheWeightWithoutRecording)
{
    WriteDiary({65.4});
    PairPhone();
    const std::string before = DiaryBytes();
    const HttpResponse up = m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "65.3") + "&step=0.1"));
    EXPECT_EQ(up.status, 200);
    EXPECT_NE(up.body.find("name=\"weight\" required value=\"65.4\""), std::string::npos);
    const HttpResponse down = m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "65.3") + "&step=-0.1"));
    EXPECT_NE(down.body.find("name=\"weight\" required value=\"65.2\""), std::string::npos);
    EXPECT_EQ(m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "65.3") + "&step=5")).status, 400);
    EXPECT_EQ(DiaryBytes(), before);
}

TEST_F(PhoneFixture, RepeatedFailuresFromOneAddressAreSlowedDown)
{
    WriteDiary({65.4});
    const std::string link = *Store().NewPairingSecret();
    for (int i = 0; i < FailureThrottle::kAllowedFailures; ++i)
        EXPECT_EQ(m_service.Handle(Request("GET", "/pair/guess" + std::to_string(i))).status, 403);
    // Even the right link waits now; another address does not.
    const HttpResponse refused = m_service.Handle(Request("GET", "/pair/" + link));
    EXPECT_EQ(refused.status, 429);
    EXPECT_TRUE(HeaderOf(refused, "Retry-After").has_value());
    HttpRequest elsewhere = Request("GET", "/");
    elsewhere.remoteAddress = "192.0.2.8";
    EXPECT_EQ(m_service.Handle(elsewhere).status, 200);
    m_now += FailureThrottle::kWindowSeconds;
    EXPECT_EQ(m_service.Handle(Request("GET", "/pair/" + *Store().NewPairingSecret())).status, 200);
}

TEST_F(PhoneFixture, TheApiGivesTheFiguresAndTheLastFourWeeks)
{
    std::vector<double> weights;
    for (int i = 0; i < 40; ++i)
        weights.push_back(70.0 - 0.1 * i);
    WriteDiary(weights);
    PairPhone();
    const HttpResponse answer = m_service.Handle(FromPage("GET", "/api/diary"));
    ASSERT_EQ(answer.status, 200);
    EXPECT_EQ(answer.contentType, "application/json");
    const Json json = Json::parse(answer.body);
    EXPECT_EQ(json["unit"], "kg");
    EXPECT_EQ(json["latest"]["date"], "2026-12-09");
    EXPECT_DOUBLE_EQ(json["latest"]["weight"].get<double>(), 66.1);
    EXPECT_LT(json["weekly_rate"].get<double>(), 0.0);
    EXPECT_GT(json["trend"].get<double>(), 66.1);
    ASSERT_EQ(json["days"].size(), 28u);
    EXPECT_EQ(json["days"][0]["date"], "2026-11-12");
    EXPECT_TRUE(json["goal"].is_null());
}

TEST_F(PhoneFixture, EveryAnswerCarriesTheSecurityHeaders)
{
    WriteDiary({65.4});
    PairPhone();
    for (const HttpResponse& answer : {m_service.Handle(FromPage("GET", "/")), m_service.Handle(Request("GET", "/")),
             m_service.Handle(FromPage("GET", "/api/diary")), m_service.Handle(Request("GET", "/missing"))}) {
        EXPECT_EQ(HeaderOf(answer, "Cache-Control"), "no-store");
        EXPECT_EQ(HeaderOf(answer, "X-Content-Type-Options"), "nosniff");
        EXPECT_EQ(HeaderOf(answer, "Referrer-Policy"), "same-origin");
        const std::string policy = HeaderOf(answer, "Content-Security-Policy").value_or("");
        EXPECT_NE(policy.find("frame-ancestors 'none'"), std::string::npos);
        EXPECT_EQ(policy.find("unsafe-inline"), std::string::npos);
        // The inline style and script run only by the nonce the policy names.
        const std::size_t nonce = policy.find("'nonce-");
        if (answer.contentType.rfind("text/html", 0) == 0) {
            ASSERT_NE(nonce, std::string::npos);
            const std::string value = policy.substr(nonce + 7, policy.find('\'', nonce + 7) - nonce - 7);
            EXPECT_NE(answer.body.find("<style nonce=\"" + value + "\">"), std::string::npos);
        }
    }
}

TEST_F(PhoneFixture, ARecordFoldsInTheConflictCopiesASyncEngineLeft)
{
    WriteDiary({65.4});
    PairPhone();
    // Another machine's version with a day this one never saw.
    CTarelogDoc other;
    ASSERT_TRUE(LoadDiaryFile(m_diary, other).has_value());
    other.SetDayWeight(66.0, 2026, 12, 8);
    const std::string copy = m_dir.File("diary.sync-conflict-20261209-140853-ABCDEFG.tlg");
    ASSERT_TRUE(SaveDiaryFile(other, copy).has_value());

    ASSERT_EQ(m_service.Handle(FromPage("POST", "/", FormBody("2026-12-10", "65.1"))).status, 200);
    const std::vector<WeightRecord> records = Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].day, 8);
    EXPECT_EQ(records[2].weight, 65.1);
    EXPECT_FALSE(std::filesystem::exists(copy));
}
