#include "phone/entry_json.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::json;

Result<DayWeight, std::string> ReadEntryJson(std::string_view body)
{
    Json json;
    try {
        json = Json::parse(body);
    } catch (const Json::exception&) {
        return Failed{std::string("the body is not JSON")};
    }
    if (!json.is_object())
        return Failed{std::string("the body must be a JSON object with \"date\" and \"weight\"")};
    DayWeight entry;
    const auto date = json.find("date");
    if (date == json.end() || !date->is_string())
        return Failed{std::string("date must be a string YYYY-MM-DD")};
    if (const EntryProblem problem = ReadEntryDate(date->get<std::string>(), entry); problem != EntryProblem::None)
        return Failed{EnglishProblem(problem)};
    const auto weight = json.find("weight");
    if (weight == json.end() || !weight->is_number())
        return Failed{std::string("weight must be a number")};
    entry.weight = weight->get<double>();
    if (const EntryProblem problem = CheckEntryWeight(entry.weight); problem != EntryProblem::None)
        return Failed{EnglishProblem(problem)};
    return entry;
}
