#pragma once

#include "../diary/temp_dir.h"

#include "diary/diary_file.h"
#include "phone/device_store.h"
#include "phone/phone_service.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

// A service over a diary in a temporary folder, its devices in a state
// folder beside it, on a clock the test moves.
class PhoneFixture : public ::testing::Test {
protected:
    PhoneFixture()
        : m_diary(m_dir.File("diary.tlg"))
        , m_state(m_dir.File("state"))
        , m_service(PhoneService::Options{.diaryPath = m_diary,
              .baseUrl = "https://127.0.0.1:8765",
              .stateFolder = m_state,
              .profile = nullptr,
              .clock = [this] { return m_now; },
              .today = [] { return CalendarDate::FromYmd(2026, 12, 10); }})
    {
    }

    DeviceStore Store()
    {
        return DeviceStore(m_diary, m_state, [this] { return m_now; });
    }

    // A diary of `weights` on consecutive days ending 2026-12-09.
    void WriteDiary(const std::vector<double>& weights)
    {
        CTarelogDoc doc;
        CalendarDate day = CalendarDate::FromYmd(2026, 12, 9);
        std::vector<WeightRecord> records;
        for (std::size_t i = 0; i < weights.size(); ++i) {
            const CalendarDate date = CalendarDate::FromYmd(day.Year(), day.Month(),
                day.Day() - static_cast<int>(weights.size() - 1 - i));
            doc.SetDayWeight(weights[i], date.Year(), date.Month(), date.Day());
        }
        doc.m_unit = u"kg";
        doc.m_digits = 1;
        ASSERT_TRUE(SaveDiaryFile(doc, m_diary).has_value());
    }

    std::string DiaryBytes() const
    {
        std::error_code missing;
        return std::filesystem::exists(m_diary, missing) ? ReadBytes(m_diary) : std::string("(none)");
    }

    // The records as the file holds them now.
    std::vector<WeightRecord> Records() const
    {
        CTarelogDoc doc;
        if (!LoadDiaryFile(m_diary, doc))
            return {};
        return doc.Records();
    }

    HttpRequest Request(std::string method, std::string path, std::string body = {}) const
    {
        HttpRequest request;
        request.method = std::move(method);
        request.path = std::move(path);
        request.body = std::move(body);
        request.remoteAddress = "192.0.2.7";
        request.headers.emplace_back("host", "127.0.0.1:8765");
        request.headers.emplace_back("user-agent", "Mozilla/5.0 (iPhone; CPU iPhone OS 17_0 like Mac OS X)");
        return request;
    }

    // A request of the paired phone's page: its cookie and its Origin.
    HttpRequest FromPage(std::string method, std::string path, std::string body = {}) const
    {
        HttpRequest request = Request(std::move(method), std::move(path), std::move(body));
        request.headers.emplace_back("cookie", "theme=dark; tarelog_device=" + m_cookie);
        request.headers.emplace_back("origin", "https://127.0.0.1:8765");
        return request;
    }

    // Pairs a phone through a fresh link, as a person would open it.
    void PairPhone()
    {
        const Result<std::string, std::string> secret = Store().NewPairingSecret();
        ASSERT_TRUE(secret.has_value());
        const HttpResponse answer = m_service.Handle(Request("GET", "/pair/" + *secret));
        ASSERT_EQ(answer.status, 200) << answer.body;
        const std::optional<std::string> cookie = SetCookie(answer);
        ASSERT_TRUE(cookie.has_value());
        m_cookie = cookie->substr(cookie->find('=') + 1, cookie->find(';') - cookie->find('=') - 1);
    }

    static std::optional<std::string> SetCookie(const HttpResponse& response)
    {
        return HeaderOf(response, "Set-Cookie");
    }
    static std::optional<std::string> HeaderOf(const HttpResponse& response, const std::string& name)
    {
        for (const auto& [key, value] : response.headers)
            if (key == name)
                return value;
        return std::nullopt;
    }

    TempDir m_dir;
    std::string m_diary;
    std::string m_state;
    std::int64_t m_now = 1'800'000'000;
    PhoneService m_service;
    std::string m_cookie;
};
