// tarelog-cli export-csv FILE [-o OUT.csv]: the diary as a date,weight sheet.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

#include "diary/csv_export.h"
#include "diary/diary_file.h"
#include "platform/safe_file.h"

#include <cstdio>
#include <cstring>

namespace {

enum ExportOption { kOutput };

struct ExportArgs {
    std::string diary;
    std::string output; // empty: standard output
};

bool WriteStandardOutput(const std::string& csv)
{
    const bool written = std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size();
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

} // namespace

const VerbTable& ExportCsvTable()
{
    static const VerbTable table{
        .synopsis = "FILE [-o OUT.csv]",
        .description = "Writes the diary FILE as CSV: the line \"date,weight\", then one line per\n"
                       "record in the diary's order, the date as YYYY-MM-DD of the stored fields and\n"
                       "the weight in the shortest form that reads back as exactly the same number.\n"
                       "The weights are in the diary's unit, unconverted. Without -o the CSV goes\n"
                       "to standard output; OUT.csv is replaced only once it is completely written.\n",
        .options = {{kOutput, nullptr, 'o', "OUT.csv", "the file to write instead of standard output",
            {.files = "csv"}}},
        .operands = {{.files = "tlg"}},
    };
    return table;
}

int RunExportCsv(const std::vector<std::string>& args)
{
    ParsedArguments options;
    if (const auto stop = StartVerb(ExportCsvTable(), "export-csv", args, options))
        return *stop;
    if (options.operands.size() != 1 || options.operands[0].empty())
        return UsageError("export-csv", "give exactly one diary FILE");
    ExportArgs parsed;
    parsed.diary = options.operands[0];
    for (const UsedOption& used : options.options)
        parsed.output = used.value; // the last -o counts
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
