// tarelog-cli add FILE YYYY-MM-DD WEIGHT: one day's weight, as the entry
// dialog records it, saved at once.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "platform/calendar_date.h"
#include "platform/number_text.h"

#include <charconv>
#include <cstdio>

namespace {

enum AddOption { kForce };

bool ParseNumber(std::string_view text, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Only a real calendar day in exactly the form YYYY-MM-DD.
bool ParseDate(const std::string& text, int& year, int& month, int& day)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (const std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (text[i] < '0' || text[i] > '9')
            return false;
    if (!ParseNumber(std::string_view(text).substr(0, 4), year)
        || !ParseNumber(std::string_view(text).substr(5, 2), month)
        || !ParseNumber(std::string_view(text).substr(8, 2), day))
        return false;
    return IsRealDate(year, month, day);
}

// The whole argument must be one finite number, in the C locale's form.
bool ParseWeight(const std::string& text, double& weight)
{
    return ParseFiniteNumber(text, weight) == NumberProblem::None;
}

int AddDay(const std::vector<std::string>& args, bool force)
{
    const std::string& path = args[0];
    int year = 0, month = 0, day = 0;
    if (!ParseDate(args[1], year, month, day)) {
        std::fprintf(stderr, "tarelog-cli: '%s' is not a calendar date in the form YYYY-MM-DD\n", args[1].c_str());
        return kExitFailure;
    }
    double weight = 0.0;
    if (!ParseWeight(args[2], weight)) {
        std::fprintf(stderr, "tarelog-cli: '%s' is not a finite number\n", args[2].c_str());
        return kExitFailure;
    }
    // Held from before the read until after the rename, so that a writer
    // running at the same time cannot slip its day in between and lose it.
    const std::optional<FileWriteLock> lock = LockDiaryReporting(path);
    if (!lock)
        return kExitFailure;
    CTarelogDoc doc;
    SyncedDiaryWrite write(*lock, SyncedDiaryWrite::DefaultStateFolder());
    bool missing = false;
    const std::optional<DiaryFileFacts> loaded = LoadForWriting(write, doc, missing);
    if (!loaded)
        return kExitFailure;
    if (loaded->trailingBytes > kSuspectTrailingBytes && !force) {
        std::fprintf(stderr,
            "tarelog-cli: '%s' carries %zu bytes after the diary and is probably not a diary; "
            "nothing was written (--force writes anyway)\n",
            path.c_str(), loaded->trailingBytes);
        return kExitFailure;
    }
    doc.SetDayWeight(weight, year, month, day);
    return SaveWritten(write, doc) ? kExitOk : kExitFailure;
}

} // namespace

const VerbTable& AddTable()
{
    static const VerbTable table{
        .synopsis = "[--force] FILE YYYY-MM-DD WEIGHT",
        .description = "Records WEIGHT for the day in the diary FILE: a day already recorded gets\n"
                       "the new weight, another day is inserted at its date position. A FILE that\n"
                       "does not exist is created with unit \"k\" and 0 decimal digits.\n"
                       "Other programs writing FILE at the same time take turns with this one.\n",
        .options = {{kForce, "force", 0, nullptr,
            "write even over a file that carries more than 64 KiB after\n"
            "the diary (such a file is almost certainly not a diary)"}},
        .operands = {{.files = "tlg"}, {}, {}},
    };
    return table;
}

int RunAdd(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(AddTable(), "add", args, parsed))
        return *stop;
    if (parsed.operands.size() != 3)
        return UsageError("add", "give a diary FILE, a date YYYY-MM-DD and a WEIGHT");
    return AddDay(parsed.operands, HasOption(parsed, kForce));
}
