#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The arguments after the verb, with "--" handled alike for every verb:
// before the first "--" an argument that starts with '-' is an option; the
// "--" itself is taken out, and every argument after it is an operand, so a
// file named "-x.tlg" can be given as "-- -x.tlg".
class VerbArguments {
public:
    VerbArguments(std::vector<std::string> args);

    std::size_t size() const { return m_args.size(); }
    bool empty() const { return m_args.empty(); }
    const std::string& operator[](std::size_t i) const { return m_args[i]; }
    auto begin() const { return m_args.begin(); }
    auto end() const { return m_args.end(); }

    bool IsOption(std::size_t i) const;

private:
    std::vector<std::string> m_args;
    std::size_t m_operandsFrom;
};

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

const std::vector<CliCommand>& RegisteredCliCommands();

// True when the verb's options ask for its help ("--help" or "-h").
bool WantsHelp(const VerbArguments& args);

// Exit statuses shared by every verb.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
