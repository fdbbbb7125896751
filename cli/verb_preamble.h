#pragma once

#include "cli/verb_options.h"
#include "diary/diary_file.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What every verb does before and around its own work: reading its
// arguments, answering --help, refusing arguments that do not fit, and saying a failed diary operation
// in English on standard error with the exit status that goes with it.

// Exit statuses shared by every verb.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Reads the verb's arguments by its table. The status to stop with before
// the verb's own work: kExitOk once the help is on standard output for
// --help, kExitUsage once a usage error is on standard error. Nothing when
// the verb goes on with `parsed`.
std::optional<int> StartVerb(const VerbTable& verb, const std::string& name, const std::vector<std::string>& args,
    ParsedArguments& parsed);

// Says `problem`, as GNU tools do, in one line and a pointer to the verb's
// help on standard error; gives kExitUsage.
int UsageError(const std::string& name, const std::string& problem);

// Says `error` on standard error; gives kExitFailure.
int ReportFailure(const DiaryFileError& error);

// The diary operations of diary_file.h, each failure said with ReportFailure.
std::optional<DiaryFileFacts> LoadDiaryReporting(const std::string& path, CTarelogDoc& doc);
std::optional<FileWriteLock> LockDiaryReporting(const std::string& path);
bool SaveDiaryReporting(const CTarelogDoc& doc, const FileWriteLock& lock);
