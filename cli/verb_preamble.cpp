#include "cli/verb_preamble.h"

#include <cerrno>
#include <cstdio>

std::optional<int> StartVerb(const VerbTable& verb, const std::string& name, const std::vector<std::string>& args,
    ParsedArguments& parsed)
{
    parsed = ParseVerbArguments(verb, args);
    if (parsed.help) {
        std::fputs(VerbHelp(verb, name).c_str(), stdout);
        return kExitOk;
    }
    if (!parsed.problem.empty())
        return UsageError(name, parsed.problem);
    return std::nullopt;
}

int UsageError(const std::string& name, const std::string& problem)
{
    std::fprintf(stderr, "tarelog-cli %s: %s\nTry 'tarelog-cli %s --help'.\n", name.c_str(), problem.c_str(),
        name.c_str());
    return kExitUsage;
}

int ReportFailure(const DiaryFileError& error)
{
    std::fprintf(stderr, "tarelog-cli: %s\n", error.EnglishMessage().c_str());
    return kExitFailure;
}

std::optional<DiaryFileFacts> LoadDiaryReporting(const std::string& path, CTarelogDoc& doc)
{
    const Result<DiaryFileFacts, DiaryFileError> loaded = LoadDiaryFile(path, doc);
    if (!loaded) {
        ReportFailure(loaded.error());
        return std::nullopt;
    }
    return *loaded;
}

std::optional<FileWriteLock> LockDiaryReporting(const std::string& path)
{
    Result<FileWriteLock, DiaryFileError> lock = LockDiaryFile(path);
    if (!lock) {
        ReportFailure(lock.error());
        return std::nullopt;
    }
    return std::move(*lock);
}

bool SaveDiaryReporting(const CTarelogDoc& doc, const FileWriteLock& lock)
{
    const Status<DiaryFileError> saved = SaveDiaryFile(doc, lock);
    if (!saved)
        ReportFailure(saved.error());
    return saved.has_value();
}
