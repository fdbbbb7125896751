#include "cli/verb_preamble.h"

#include <cerrno>
#include <cstdio>

std::optional<int> CheckVerbUsage(const VerbArguments& args, std::string_view usage, const Status<std::string>& parsed)
{
    if (WantsHelp(args)) {
        std::fwrite(usage.data(), 1, usage.size(), stdout);
        return kExitOk;
    }
    if (parsed)
        return std::nullopt;
    std::fputs(parsed.error().c_str(), stderr);
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return kExitUsage;
}

Status<std::string> ArgumentsFit(bool fit)
{
    if (!fit)
        return Failed{std::string()};
    return {};
}

Status<std::string> Framed(const Status<std::string>& parsed, std::string_view lead, std::string_view end)
{
    if (!parsed)
        return Failed{std::string(lead) + parsed.error() + std::string(end)};
    return {};
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

bool IsMissingFile(const DiaryFileError& error)
{
    return error.kind == DiaryFileError::Kind::CannotOpen && error.systemError == ENOENT;
}
