#pragma once

#include "phone/diary_access.h"
#include "phone/diary_view_cache.h"
#include "platform/calendar_date.h"
#include "platform/profile_store.h"

#include <functional>
#include <mutex>
#include <string>

// What the page's and the API's routes share of one service: the diary
// and its view, the user's settings behind one lock, and today's date.
struct ServiceContext {
    DiaryViewCache* cache = nullptr;
    const ProfileStore* profile = nullptr;
    std::mutex* profileMutex = nullptr;
    CalendarDate today = CalendarDate::Today();
    // Told of every day recorded, after it is on disk.
    std::function<void(const DayWeight&)> recorded = {};

    const std::string& DiaryPath() const { return cache->DiaryPath(); }
    Result<std::shared_ptr<const DiaryView>, DiaryFileError> View() const
    {
        PageSettings settings;
        {
            const std::lock_guard hold(*profileMutex);
            settings = ReadPageSettings(profile, DiaryPath());
        }
        return cache->Get(settings);
    }
    // Records the day as every writer does, and tells `recorded`.
    Status<WriteRefusal> Record(const DayWeight& entry) const
    {
        auto written = RecordDay(DiaryPath(), entry);
        if (written && recorded)
            recorded(entry);
        return written;
    }
};
