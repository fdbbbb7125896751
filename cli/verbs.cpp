#include "cli/verbs.h"

#include "cli/commands.h"

namespace {

constexpr Verb kVerbs[] = {
    {"add", "record one day's weight", AddSpec, RunAdd},
    {"dump", "print a diary as JSON", DumpSpec, RunDump},
    {"export-csv", "write a diary as a date,weight CSV sheet", ExportCsvSpec, RunExportCsv},
    {"import", "merge weights from another tracker's export or a CSV sheet", ImportSpec, RunImport},
    {"import-csv", "the same as import (its old name)", ImportSpec, RunImportCsv},
    {"merge", "fold a diary's conflict copies and other versions into it", MergeSpec, RunMerge},
    {"render", "draw a diary's graph as PNG, SVG or a list of drawing calls", RenderSpec, RunRender},
    {"resave", "open a diary and save it again", ResaveSpec, RunResave},
    {"stats", "entries, extremes, recent change and trend of a diary", StatsSpec, RunStats},
};

} // namespace

std::span<const Verb> Verbs()
{
    return kVerbs;
}
