#include "cli/verbs.h"

#include "cli/commands.h"

namespace {

constexpr Verb kVerbs[] = {
    {"add", "record one day's weight", AddTable, RunAdd},
    {"devices", "list or revoke the phones and tokens paired with a diary's page", DevicesTable, RunDevices},
    {"dump", "print a diary as JSON", DumpTable, RunDump},
    {"export-csv", "write a diary as a date,weight CSV sheet", ExportCsvTable, RunExportCsv},
    {"import", "merge weights from another tracker's export or a CSV sheet", ImportTable, RunImport},
    {"import-csv", "the same as import (its old name)", ImportTable, RunImportCsv},
    {"merge", "fold a diary's conflict copies and other versions into it", MergeTable, RunMerge},
    {"pair", "print a link that pairs a phone with a diary's page, or a token", PairTable, RunPair},
    {"render", "draw a diary's graph as PNG, SVG or a list of drawing calls", RenderTable, RunRender},
    {"resave", "open a diary and save it again", ResaveTable, RunResave},
    {"serve", "serve a diary's page to its owner's phones, and its API", ServeTable, RunServe},
    {"stats", "entries, extremes, recent change and trend of a diary", StatsTable, RunStats},
};

} // namespace

std::span<const Verb> Verbs()
{
    return kVerbs;
}
