#pragma once

#include "../diary/temp_dir.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

// Runs the built tarelog-cli as a child process, as a script would.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Starts tarelog-cli with `args` in the folder `workingDir` (the test's
// own when empty), its stdout and stderr going to the files named; returns
// the child's pid.
// `environment` adds or replaces variables of the child's environment.
using CliEnvironment = std::vector<std::pair<std::string, std::string>>;

inline pid_t StartCli(const std::vector<std::string>& args, const std::string& outPath, const std::string& errPath,
    const std::string& workingDir = {}, const CliEnvironment& environment = {})
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const auto& [name, value] : environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (!workingDir.empty() && ::chdir(workingDir.c_str()) != 0)
            ::_exit(126);
        std::vector<char*> argv{const_cast<char*>(TARELOG_CLI)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(TARELOG_CLI, argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for a child that StartCli began and collects what it printed.
inline CliRun FinishCli(pid_t pid, const std::string& outPath, const std::string& errPath)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    CliRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadBytes(outPath);
    run.err = ReadBytes(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

// Runs tarelog-cli with `args` in the folder `dir` to its end, its output
// caught there.
inline CliRun RunCli(const TempDir& dir, const std::vector<std::string>& args, const CliEnvironment& environment = {})
{
    const std::string outPath = dir.File(".stdout");
    const std::string errPath = dir.File(".stderr");
    return FinishCli(StartCli(args, outPath, errPath, dir.Path().string(), environment), outPath, errPath);
}

// The verbs the tool's own --help lists, so a new verb is checked too.
inline std::vector<std::string> ListedVerbs(const std::string& help)
{
    std::vector<std::string> verbs;
    const std::size_t start = help.find("verbs:\n");
    std::size_t line = start == std::string::npos ? help.size() : start + 7;
    while (line + 2 < help.size() && help.compare(line, 2, "  ") == 0) {
        const std::size_t nameEnd = help.find(' ', line + 2);
        verbs.push_back(help.substr(line + 2, nameEnd - line - 2));
        line = help.find('\n', line) + 1;
    }
    return verbs;
}
