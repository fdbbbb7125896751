#include "phone/api_routes.h"

#include "diary/goal_projection.h"
#include "phone/day_entry.h"
#include "phone/diary_access.h"
#include "phone/entry_json.h"
#include "phone/http_answers.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::json;

namespace {

Json EntryJson(const WeightRecord& record)
{
    return {{"date", DateText(record.year, record.month, record.day)}, {"weight", record.weight}};
}

template <typename T> Json Optional(const std::optional<T>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json FiguresJson(const DiaryFigures& figures)
{
    const DiaryStats& stats = figures.stats;
    const bool any = stats.entries > 0;
    Json json{{"unit", figures.unit}, {"digits", figures.digits}, {"entries", stats.entries},
        {"latest", any ? EntryJson(stats.last) : Json(nullptr)}, {"trend", any ? Json(stats.trend) : Json(nullptr)},
        {"weekly_rate", Optional(stats.trendPerWeek)}, {"goal", Optional(figures.goal)}, {"goal_date", nullptr},
        {"days", Json::array()}};
    if (any && figures.goal) {
        if (const GoalProjection projection = ProjectGoal(stats, *figures.goal); projection.date)
            json["goal_date"] = DateText(projection.date->Year(), projection.date->Month(), projection.date->Day());
    }
    for (const WeightRecord& record : figures.recentDays)
        json["days"].push_back(EntryJson(record));
    return json;
}

} // namespace

HttpResponse DiaryJson(const ServiceContext& context)
{
    const auto view = context.View();
    if (!view)
        return JsonError(503, view.error().EnglishMessage());
    return JsonAnswer(200, FiguresJson((*view)->figures).dump());
}

HttpResponse PostEntry(const ServiceContext& context, const HttpRequest& request)
{
    const Result<DayWeight, std::string> read = ReadEntryJson(request.body);
    if (!read)
        return JsonError(400, read.error());
    const DayWeight& entry = *read;
    const auto written = context.Record(entry);
    if (!written)
        return JsonError(503, written.error().english);
    WeightRecord stored;
    stored.weight = entry.weight;
    stored.year = static_cast<std::int16_t>(entry.year);
    stored.month = static_cast<std::int16_t>(entry.month);
    stored.day = static_cast<std::int16_t>(entry.day);
    return JsonAnswer(200, EntryJson(stored).dump());
}
