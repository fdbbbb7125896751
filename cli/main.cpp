#include "cli/commands.h"
#include "cli/verb_preamble.h"
#include "tarelog_version.h"

#include <cstdio>
#include <string>

namespace {

struct Verb {
    const char* name;
    const char* summary; // one line for the tool's --help
    int (*run)(const VerbArguments& args);
};

// In the order the tool's --help lists them.
constexpr Verb kVerbs[] = {
    {"add", "record one day's weight", RunAdd},
    {"dump", "print a diary as JSON", RunDump},
    {"export-csv", "write a diary as a date,weight CSV sheet", RunExportCsv},
    {"import", "merge weights from another tracker's export or a CSV sheet", RunImport},
    {"import-csv", "the same as import (its old name)", RunImportCsv},
    {"merge", "fold a diary's conflict copies and other versions into it", RunMerge},
    {"render", "draw a diary's graph as PNG, SVG or a list of drawing calls", RunRender},
    {"resave", "open a diary and save it again", RunResave},
    {"stats", "entries, extremes, recent change and trend of a diary", RunStats},
};

void PrintUsage(std::FILE* out)
{
    std::fprintf(out,
        "usage: tarelog-cli VERB [ARGS...]\n\n"
        "Reads, edits, converts and renders Tarelog weight diaries (.tlg).\n\nverbs:\n");
    for (const Verb& verb : kVerbs)
        std::fprintf(out, "  %-12s %s\n", verb.name, verb.summary);
    std::fprintf(out,
        "\n'tarelog-cli VERB --help' describes one verb; '--' ends the options of a verb,\n"
        "so that a FILE may start with '-'. 'tarelog-cli --version' prints the version.\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const std::string verb = argv[1];
    if (verb == "--help" || verb == "-h" || verb == "help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (verb == "--version") {
        std::printf("tarelog-cli %s\n", TARELOG_VERSION);
        return kExitOk;
    }
    for (const Verb& command : kVerbs) {
        if (verb == command.name)
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "tarelog-cli: unknown verb '%s'\n", verb.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
