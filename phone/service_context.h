#pragma once

#include "diary/tarelog_doc.h"
#include "phone/diary_figures.h"
#include "platform/calendar_date.h"
#include "platform/profile_store.h"

#include <mutex>
#include <optional>
#include <string>

// What the page's and the API's routes share of one service: the diary's
// path, the user's settings behind one lock, and today's date.
struct ServiceContext {
    std::string diaryPath;
    const ProfileStore* profile = nullptr;
    std::mutex* profileMutex = nullptr;
    CalendarDate today = CalendarDate::Today();

    DiaryFigures Figures(const CTarelogDoc& doc) const
    {
        const std::lock_guard hold(*profileMutex);
        return FiguresOf(doc, diaryPath, profile);
    }
    std::string Graph(const CTarelogDoc& doc, std::optional<double> goal) const
    {
        const std::lock_guard hold(*profileMutex);
        return RecentGraphSvg(doc, goal, profile);
    }
};
