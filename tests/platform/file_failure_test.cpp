#include "platform/file_failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

namespace {

constexpr FileStep kSteps[] = {FileStep::Opening, FileStep::Reading, FileStep::Loading, FileStep::PreparingNewFile,
    FileStep::CreatingNewFile, FileStep::WritingNewFile, FileStep::FlushingNewFile, FileStep::ClosingNewFile,
    FileStep::ReplacingOldFile, FileStep::CheckingNewFile, FileStep::WaitingForOtherWriter};
constexpr FileReason kReasons[] = {FileReason::Errno, FileReason::DanglingLink, FileReason::LinkToNonRegularFile,
    FileReason::NotRegularFile, FileReason::ReadOnly, FileReason::TooLarge, FileReason::BecameShorter,
    FileReason::WouldNotLoadAgain, FileReason::OtherWriterKeptWriting};

} // namespace

TEST(FileFailureText, EveryStepAndReasonReadsDifferently)
{
    std::set<std::string> seen;
    for (const FileStep step : kSteps) {
        for (const FileReason reason : kReasons) {
            const std::string text = DescribeFileFailure(FileFailure{step, EIO, reason});
            EXPECT_FALSE(text.empty());
            EXPECT_TRUE(seen.insert(text).second) << text;
        }
    }
}

TEST(FileFailureText, OpeningNamesNoStepAndErrnoSpeaksForItself)
{
    EXPECT_EQ(DescribeFileFailure(FileFailure{FileStep::Opening, ENOENT}), std::strerror(ENOENT));
    EXPECT_EQ(DescribeFileFailure(FileFailure{FileStep::WritingNewFile, ENOSPC}),
        std::string("writing the new file: ") + std::strerror(ENOSPC));
    EXPECT_EQ(DescribeFileFailure(FileFailure{FileStep::Opening, EACCES, FileReason::ReadOnly}),
        "the file is read-only");
}
