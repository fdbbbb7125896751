#pragma once

#include "cli/verb_arguments.h"
#include "doc/diary_file.h"

#include <optional>
#include <string>
#include <string_view>

// What every verb does before and around its own work: answering --help,
// refusing arguments that do not fit, and saying a failed diary operation
// in English on standard error with the exit status that goes with it.

// Exit statuses shared by every verb.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The status to stop with before the verb's own work: kExitOk once `usage`
// is on standard output for --help, kExitUsage once the complaint (ready to
// print, possibly empty) of arguments `parsed` refused and `usage` are on
// standard error. Nothing when the verb goes on.
std::optional<int> CheckVerbUsage(const VerbArguments& args, std::string_view usage, const Status<std::string>& parsed);

// Arguments a verb checked without a complaint of its own: its usage says
// what is wrong.
Status<std::string> ArgumentsFit(bool fit);
// A parser's complaint as the verb prints it: after `lead`, and `end` before
// the usage.
Status<std::string> Framed(const Status<std::string>& parsed, std::string_view lead, std::string_view end);

// Says `error` on standard error; gives kExitFailure.
int ReportFailure(const DiaryFileError& error);

// The diary operations of diary_file.h, each failure said with ReportFailure.
std::optional<DiaryFileFacts> LoadDiaryReporting(const std::string& path, CTarelogDoc& doc);
std::optional<FileWriteLock> LockDiaryReporting(const std::string& path);
bool SaveDiaryReporting(const CTarelogDoc& doc, const FileWriteLock& lock);

// A load that failed only because no file is there, which verbs that add to
// a diary take as a new, empty one.
bool IsMissingFile(const DiaryFileError& error);
