#pragma once

#include "platform/result.h"

#include <string>

// Why a file operation failed, as data: the step that failed, its errno,
// and a reason where errno's own text would mislead. Callers decide on the
// enums; the English wording lives only in DescribeFileFailure.

enum class FileStep {
    Opening, // said without a step: "No such file or directory"
    Reading,
    Loading,
    PreparingNewFile,
    CreatingNewFile,
    WritingNewFile,
    FlushingNewFile,
    ClosingNewFile,
    ReplacingOldFile,
    CheckingNewFile,
    WaitingForOtherWriter,
};

enum class FileReason {
    Errno, // errno's own text says it
    DanglingLink,
    LinkToNonRegularFile,
    NotRegularFile,
    ReadOnly,
    TooLarge,
    BecameShorter,
    WouldNotLoadAgain,
    OtherWriterKeptWriting,
    ReplacedMeanwhile, // a writer that takes no lock (a sync engine) replaced it
};

struct FileFailure {
    FileStep step = FileStep::Opening;
    int error = 0; // errno of the failed step
    FileReason reason = FileReason::Errno;
};

// "step: reason" in English, e.g. "writing the new file: No space left on device".
std::string DescribeFileFailure(const FileFailure& failure);

// The failure of `step`, as a file operation's Result or Status returns it.
inline Failed<FileFailure> FailedAt(FileStep step, int error, FileReason reason = FileReason::Errno)
{
    return Failed{FileFailure{step, error, reason}};
}
