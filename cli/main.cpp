#include "cli/completion.h"
#include "cli/verb_preamble.h"
#include "cli/verbs.h"
#include "tarelog_version.h"

#include <cstdio>
#include <string>

namespace {

void PrintUsage(std::FILE* out)
{
    std::fprintf(out,
        "usage: tarelog-cli VERB [ARGS...]\n\n"
        "Reads, edits, converts and renders Tarelog weight diaries (.tlg).\n\nverbs:\n");
    for (const Verb& verb : Verbs())
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
    // Not in the help: the shell completions ask it (see completion.h).
    if (verb == kCompleteEntry)
        return RunCompletion(std::vector<std::string>(argv + 2, argv + argc));
    for (const Verb& command : Verbs()) {
        if (verb == command.name)
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "tarelog-cli: unknown verb '%s'\nTry 'tarelog-cli --help'.\n", verb.c_str());
    return kExitUsage;
}
