#include "diary/import/weight_import.h"

#include "diary/import/ascii_text.h"
#include "diary/import/import_inputs.h"
#include "diary/import/import_readers.h"
#include "diary/import/import_units.h"
#include "diary/import/shown_text.h"
#include "diary/import/zip_input.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

// Enough rows to see a header after a metadata line, and a first data row.
constexpr std::size_t kStartRows = 3;

FileStart StartOf(std::string_view bytes)
{
    FileStart start;
    start.text = StripByteOrderMark(bytes);
    start.firstLine = FirstNonBlankLine(start.text);
    CsvReader reader(start.text, SeparatorOf(start.firstLine));
    std::vector<std::string> fields;
    while (start.rows.size() < kStartRows && reader.Next(fields)) {
        for (std::string& field : fields)
            field = LowerAscii(field);
        start.rows.push_back(fields);
    }
    return start;
}

std::string TriedLayouts()
{
    std::vector<std::string_view> names;
    for (const LayoutReader& reader : LayoutReaders())
        if (std::find(names.begin(), names.end(), reader.name) == names.end())
            names.push_back(reader.name);
    std::string list;
    for (const std::string_view name : names)
        list += (list.empty() ? "" : ", ") + std::string(name);
    return list;
}

std::string Unrecognised(const FileStart& start, ImportLayout asked)
{
    if (start.firstLine.empty())
        return "the file is empty";
    const std::string shown = "its first line is " + ShownText(start.firstLine);
    if (asked != ImportLayout::Auto)
        return std::string("the file is not a ") + ImportLayoutName(asked) + " export: " + shown;
    return "no layout recognised (tried " + TriedLayouts() + "): " + shown;
}

const LayoutReader* ReaderFor(const FileStart& start, ImportLayout asked)
{
    for (const LayoutReader& reader : LayoutReaders()) {
        const bool forced = asked != ImportLayout::Auto;
        if ((!forced || reader.layout == asked) && reader.recognises(reader, start, forced))
            return &reader;
    }
    return nullptr;
}

Result<WeightImport, ImportError> Read(std::string_view startBytes, ImportInput& input, ImportLayout layout)
{
    const FileStart start = StartOf(startBytes);
    const LayoutReader* reader = ReaderFor(start, layout);
    if (reader == nullptr)
        return Failed{ImportError{ImportFailure::Unrecognised, Unrecognised(start, layout)}};
    WeightImport result;
    result.layout = reader->layout;
    if (const Status<ImportError> read = reader->read(*reader, input, result); !read)
        return Failed{read.error()};
    if (result.statedUnit.empty())
        result.statedUnit = UnitsSeen(result.weighings);
    return result;
}

// The first file in the archive that the layout (or any, for Auto) recognises.
Result<WeightImport, ImportError> ReadFromZip(const std::string& path, ImportLayout layout)
{
    ZipInput zip(path);
    const auto recognised = [layout](std::string_view bytes) { return ReaderFor(StartOf(bytes), layout) != nullptr; };
    const std::string what = layout == ImportLayout::Auto
        ? "file that any layout recognises (tried " + TriedLayouts() + ")"
        : std::string(ImportLayoutName(layout)) + " export";
    const Result<std::string, ImportError> start = zip.FindEntry(recognised, what);
    if (!start)
        return Failed{start.error()};
    Result<WeightImport, ImportError> result = Read(*start, zip, layout);
    if (result)
        result->archiveEntry = zip.EntryName();
    return result;
}

} // namespace

void ImportProblems::Add(int line, std::string reason)
{
    if (m_first.size() < kKept)
        m_first.push_back({line, std::move(reason)});
    ++m_count;
}

bool LooksImportable(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    FileInput probe(path);
    const Result<std::string_view, std::string> start = probe.NextPiece();
    return start && (LooksLikeZip(*start) || ReaderFor(StartOf(*start), ImportLayout::Auto) != nullptr);
}

Result<WeightImport, ImportError> ReadWeightImport(std::string_view bytes, ImportLayout layout)
{
    MemoryInput input(bytes);
    return Read(bytes.substr(0, kImportPieceBytes), input, layout);
}

Result<WeightImport, ImportError> ReadWeightImportFile(const std::string& path, ImportLayout layout)
{
    // The start is read on its own: for Apple's export it is all that is
    // needed before streaming, and no layout is read before it is known.
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return Failed{ImportError{ImportFailure::CannotRead, "cannot read " + path + ": not a regular file"}};
    FileInput probe(path);
    const Result<std::string_view, std::string> piece = probe.NextPiece();
    if (!piece)
        return Failed{ImportError{ImportFailure::CannotRead, piece.error()}};
    const std::string start(*piece);
    if (LooksLikeZip(start))
        return ReadFromZip(path, layout);
    FileInput input(path);
    return Read(start, input, layout);
}
