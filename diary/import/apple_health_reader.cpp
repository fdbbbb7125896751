// Apple Health's export.xml: a HealthData root with a document type
// declaration, hundreds of megabytes of Record elements (with metadata
// children) of which only HKQuantityTypeIdentifierBodyMass matters:
//   <Record type="HKQuantityTypeIdentifierBodyMass" unit="kg" value="80.2"
//           startDate="2024-01-05 07:12:00 +0100" .../>
// expat reads it in pieces, so memory stays bounded for any file size;
// everything that is not a body-mass record is skipped as it streams by.
#include "diary/import/import_readers.h"

#include "diary/import/shown_text.h"

#include <cstring>
#include <expat.h>
#include <memory>

namespace {

constexpr std::string_view kBodyMass = "HKQuantityTypeIdentifierBodyMass";

struct AppleState {
    WeightImport* result = nullptr;
    XML_Parser parser = nullptr;
};

const char* Attribute(const XML_Char** attributes, const char* name)
{
    for (const XML_Char** a = attributes; *a != nullptr; a += 2)
        if (std::strcmp(a[0], name) == 0)
            return a[1];
    return nullptr;
}

std::string ReadRecord(const XML_Char** attributes, CsvTimestamp& stamp, double& weight, WeightUnit& unit)
{
    const char* start = Attribute(attributes, "startDate");
    const char* value = Attribute(attributes, "value");
    const char* unitText = Attribute(attributes, "unit");
    if (start == nullptr || value == nullptr || unitText == nullptr)
        return "a body-mass record without startDate, value or unit";
    unit = UnitOfText(unitText);
    if (unit == WeightUnit::Unknown)
        return "the unit " + ShownText(unitText) + " is neither kg nor lb";
    std::string problem = ParseCsvTimestamp(start, stamp);
    return problem.empty() ? ParseCsvWeight(value, false, weight) : problem;
}

void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** attributes)
{
    if (std::strcmp(name, "Record") != 0)
        return;
    const char* type = Attribute(attributes, "type");
    if (type == nullptr || type != kBodyMass)
        return;
    auto* state = static_cast<AppleState*>(data);
    CsvTimestamp stamp;
    double weight = 0;
    WeightUnit unit = WeightUnit::Unknown;
    std::string problem = ReadRecord(attributes, stamp, weight, unit);
    if (problem.empty())
        AddWeighing(*state->result, stamp, weight, unit);
    else
        state->result->problems.Add(static_cast<int>(XML_GetCurrentLineNumber(state->parser)), problem);
}

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

} // namespace

Status<ImportError> ReadAppleHealth(const LayoutReader&, ImportInput& input, WeightImport& result)
{
    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate("UTF-8"));
    if (!parser)
        return Failed{ImportError{ImportFailure::CannotRead, "cannot start the XML parser"}};
    AppleState state{&result, parser.get()};
    XML_SetUserData(parser.get(), &state);
    XML_SetStartElementHandler(parser.get(), StartElement);
    std::string_view piece;
    do {
        const Result<std::string_view, std::string> next = input.NextPiece();
        if (!next)
            return Failed{ImportError{ImportFailure::CannotRead, next.error()}};
        piece = *next;
        if (XML_Parse(parser.get(), piece.data(), static_cast<int>(piece.size()), piece.empty()) == XML_STATUS_ERROR) {
            return Failed{ImportError{ImportFailure::Damaged,
                "the XML is damaged at line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": "
                    + XML_ErrorString(XML_GetErrorCode(parser.get()))}};
        }
    } while (!piece.empty());
    return {};
}
