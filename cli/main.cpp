#include "cli/cli_command.h"
#include "tarelog_version.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::vector<CliCommand>& Commands()
{
    static std::vector<CliCommand> commands;
    return commands;
}

void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "usage: tarelog-cli VERB [ARGS...]\n\n"
                      "Reads, edits, converts and renders Tarelog weight diaries (.tlg).\n\nverbs:\n");
    std::vector<CliCommand> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(), [](const CliCommand& a, const CliCommand& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const CliCommand& command : sorted)
        std::fprintf(out, "  %-12s %s\n", command.name, command.summary);
    std::fprintf(out, "\n'tarelog-cli VERB --help' describes one verb; '--' ends the options of a verb,\n"
                      "so that a FILE may start with '-'. 'tarelog-cli --version' prints the version.\n");
}

} // namespace

CliCommandRegistration::CliCommandRegistration(const CliCommand& command)
{
    Commands().push_back(command);
}

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
    for (const CliCommand& command : Commands()) {
        if (verb == command.name)
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "tarelog-cli: unknown verb '%s'\n", verb.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
