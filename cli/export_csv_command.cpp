// tarelog-cli export-csv FILE [-o OUT.csv]: the diary as a date,weight sheet.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "doc/csv_export.h"
#include "doc/diary_file.h"
#include "platform/safe_file.h"

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] = "usage: tarelog-cli export-csv FILE [-o OUT.csv]\n\n"
                      "Writes the diary FILE as CSV: the line \"date,weight\", then one line per\n"
                      "record in the diary's order, the date as YYYY-MM-DD of the stored fields and\n"
                      "the weight in the shortest form that reads back as exactly the same number.\n"
                      "The weights are in the diary's unit, unconverted. Without -o the CSV goes\n"
                      "to standard output; OUT.csv is replaced only once it is completely written.\n";

struct ExportArgs {
    std::string diary;
    std::string output; // empty: standard output
};

bool ParseArgs(const VerbArguments& args, ExportArgs& parsed)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args.IsOption(i) && args[i] == "-o" && i + 1 < args.size() && parsed.output.empty())
            parsed.output = args[++i];
        else if (!args[i].empty() && !args.IsOption(i) && parsed.diary.empty())
            parsed.diary = args[i];
        else
            return false;
    }
    return !parsed.diary.empty() && (parsed.output.empty() || parsed.output[0] != '-');
}

bool WriteStandardOutput(const std::string& csv)
{
    const bool written = std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size();
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

} // namespace

int RunExportCsv(const VerbArguments& args)
{
    ExportArgs parsed;
    if (const auto stop = CheckVerbUsage(args, kUsage, ArgumentsFit(ParseArgs(args, parsed))))
        return *stop;
    CTarelogDoc doc;
    if (!LoadDiaryReporting(parsed.diary, doc))
        return kExitFailure;
    MentionConflictCopies(parsed.diary);
    const std::string csv = ExportCsv(doc.Records());
    if (parsed.output.empty()) {
        if (!WriteStandardOutput(csv)) {
            std::fprintf(stderr, "tarelog-cli: cannot write to standard output\n");
            return kExitFailure;
        }
        return kExitOk;
    }
    if (const Status<FileFailure> written = ReplaceFileSafely(parsed.output, csv); !written) {
        std::fprintf(stderr, "tarelog-cli: cannot write %s: %s\n", parsed.output.c_str(),
            DescribeFileFailure(written.error()).c_str());
        return kExitFailure;
    }
    return kExitOk;
}
