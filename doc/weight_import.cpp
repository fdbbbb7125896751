#include "doc/weight_import.h"

#include "doc/diary_import.h"
#include "doc/import_readers.h"
#include "doc/import_units.h"
#include "doc/shown_text.h"
#include "doc/zip_input.h"
#include "platform/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {

// Enough for any layout's first lines, including the document type
// declaration Apple Health puts before its root element.
constexpr std::size_t kStartBytes = 64 * 1024;
constexpr std::size_t kPieceBytes = 64 * 1024;
constexpr std::size_t kStartRows = 3;

class MemoryInput : public ImportInput {
public:
    explicit MemoryInput(std::string_view bytes) : m_bytes(bytes) {}

    bool WholeText(std::string_view& text, std::string&) override
    {
        text = m_bytes;
        return true;
    }
    bool NextPiece(std::string_view& piece, std::string&) override
    {
        piece = m_bytes.substr(m_pos, kPieceBytes);
        m_pos += piece.size();
        return true;
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

class FileInput : public ImportInput {
public:
    explicit FileInput(std::string path) : m_path(std::move(path)) {}
    ~FileInput() override
    {
        if (m_file != nullptr)
            std::fclose(m_file);
    }

    bool WholeText(std::string_view& text, std::string& error) override
    {
        FileFailure failure;
        if (!ReadWholeFile(m_path, m_whole, failure)) {
            error = "cannot read " + m_path + ": " + (*failure.step ? std::string(failure.step) + ": " : "")
                + (failure.why != nullptr ? failure.why : std::strerror(failure.error));
            return false;
        }
        text = m_whole;
        return true;
    }

    bool NextPiece(std::string_view& piece, std::string& error) override
    {
        if (m_file == nullptr && (m_file = std::fopen(m_path.c_str(), "rb")) == nullptr) {
            error = "cannot read " + m_path + ": " + std::strerror(errno);
            return false;
        }
        m_piece.resize(kPieceBytes);
        const std::size_t got = std::fread(m_piece.data(), 1, m_piece.size(), m_file);
        if (got == 0 && std::ferror(m_file)) {
            error = "cannot read " + m_path + ": " + std::strerror(errno);
            return false;
        }
        piece = std::string_view(m_piece.data(), got);
        return true;
    }

private:
    std::string m_path;
    std::string m_whole;
    std::string m_piece;
    std::FILE* m_file = nullptr;
};

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

WeightImport Read(std::string_view startBytes, ImportInput& input, ImportLayout layout)
{
    WeightImport result;
    const FileStart start = StartOf(startBytes);
    const LayoutReader* reader = ReaderFor(start, layout);
    if (reader == nullptr) {
        result.error = Unrecognised(start, layout);
        return result;
    }
    result.layout = reader->layout;
    reader->read(*reader, input, result);
    if (result.statedUnit.empty())
        result.statedUnit = UnitsSeen(result.weighings);
    return result;
}

// The first file in the archive that the layout (or any, for Auto) recognises.
WeightImport ReadFromZip(const std::string& path, ImportLayout layout)
{
    WeightImport failed;
    ZipInput zip(path);
    std::string start;
    const auto recognised = [layout](std::string_view bytes) { return ReaderFor(StartOf(bytes), layout) != nullptr; };
    const std::string what = layout == ImportLayout::Auto ? "file that any layout recognises (tried " + TriedLayouts() + ")"
                                                          : std::string(ImportLayoutName(layout)) + " export";
    if (!zip.FindEntry(recognised, what, start, failed.error))
        return failed;
    WeightImport result = Read(start, zip, layout);
    result.archiveEntry = zip.EntryName();
    return result;
}

} // namespace

void ImportProblems::Add(int line, std::string reason)
{
    if (m_first.size() < kKept)
        m_first.push_back({line, std::move(reason)});
    ++m_count;
}

std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
        [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return out;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string_view FirstNonBlankLine(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        if (!line.empty())
            return line;
        pos = end + 1;
    }
    return {};
}

char SeparatorOf(std::string_view headerLine)
{
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (const char c : headerLine) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

std::size_t FindColumn(const std::vector<std::string>& columns, std::span<const std::string_view> names,
    std::string* unit)
{
    for (const std::string_view name : names) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string_view column = columns[i];
            if (column == name)
                return i;
            if (!column.starts_with(name))
                continue;
            const std::string_view rest = TrimBlanks(column.substr(name.size()));
            if (rest.size() > 2 && rest.front() == '(' && rest.back() == ')') {
                if (unit != nullptr)
                    *unit = std::string(TrimBlanks(rest.substr(1, rest.size() - 2)));
                return i;
            }
        }
    }
    return SIZE_MAX;
}

void AddWeighing(WeightImport& result, const CsvTimestamp& stamp, double weight, WeightUnit unit)
{
    Weighing weighing;
    LocalDayOf(stamp, weighing.date, weighing.second);
    weighing.weight = weight;
    weighing.unit = unit;
    result.weighings.push_back(weighing);
}

bool LooksImportable(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    FileInput probe(path);
    std::string_view start;
    std::string error;
    if (!probe.NextPiece(start, error))
        return false;
    return LooksLikeZip(start) || ReaderFor(StartOf(start), ImportLayout::Auto) != nullptr;
}

WeightImport ReadWeightImport(std::string_view bytes, ImportLayout layout)
{
    MemoryInput input(bytes);
    return Read(bytes.substr(0, kStartBytes), input, layout);
}

WeightImport ReadWeightImportFile(const std::string& path, ImportLayout layout)
{
    // The start is read on its own: for Apple's export it is all that is
    // needed before streaming, and no layout is read before it is known.
    WeightImport failed;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        failed.error = "cannot read " + path + ": not a regular file";
        return failed;
    }
    FileInput probe(path);
    std::string start;
    std::string_view piece;
    if (!probe.NextPiece(piece, failed.error))
        return failed;
    start.assign(piece);
    if (LooksLikeZip(start))
        return ReadFromZip(path, layout);
    FileInput input(path);
    return Read(start, input, layout);
}
