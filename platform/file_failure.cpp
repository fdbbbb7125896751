#include "platform/file_failure.h"

#include <cstring>

namespace {

const char* StepText(FileStep step)
{
    switch (step) {
    case FileStep::Opening: return "";
    case FileStep::Reading: return "reading";
    case FileStep::Loading: return "loading";
    case FileStep::PreparingNewFile: return "preparing the new file";
    case FileStep::CreatingNewFile: return "creating the new file";
    case FileStep::WritingNewFile: return "writing the new file";
    case FileStep::FlushingNewFile: return "flushing the new file to disk";
    case FileStep::ClosingNewFile: return "closing the new file";
    case FileStep::ReplacingOldFile: return "replacing the old file";
    case FileStep::CheckingNewFile: return "checking the new file";
    case FileStep::WaitingForOtherWriter: return "waiting for another program to finish writing the file";
    }
    return "";
}

// nullptr where errno's text is the reason.
const char* ReasonText(FileReason reason)
{
    switch (reason) {
    case FileReason::Errno: return nullptr;
    case FileReason::DanglingLink: return "it is a symbolic link that leads to nothing";
    case FileReason::LinkToNonRegularFile: return "it is a symbolic link to something other than a regular file";
    case FileReason::NotRegularFile: return "it is not a regular file";
    case FileReason::ReadOnly: return "the file is read-only";
    case FileReason::TooLarge: return "it is too large to be a diary";
    case FileReason::BecameShorter: return "the file became shorter while it was read";
    case FileReason::WouldNotLoadAgain: return "the new file would not load again";
    case FileReason::OtherWriterKeptWriting: return "another program kept writing it";
    case FileReason::ReplacedMeanwhile: return "another program replaced the file meanwhile";
    }
    return nullptr;
}

} // namespace

std::string DescribeFileFailure(const FileFailure& failure)
{
    std::string text = StepText(failure.step);
    if (!text.empty())
        text += ": ";
    const char* reason = ReasonText(failure.reason);
    return text + (reason != nullptr ? reason : std::strerror(failure.error));
}
