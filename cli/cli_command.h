#pragma once

#include "cli/verb_arguments.h"

// One verb of tarelog-cli. Each verb's source file registers itself with a
// static CliCommandRegistration, so adding a verb touches no other file but
// cli/CMakeLists.txt.
struct CliCommand {
    const char* name;
    const char* summary;  // one line for the tool's --help
    // Receives the arguments after the verb; returns the exit status:
    // 0 success, 1 file or input error, 2 usage error.
    int (*run)(const VerbArguments& args);
};

class CliCommandRegistration {
public:
    explicit CliCommandRegistration(const CliCommand& command);
};

// Exit statuses shared by every verb.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
