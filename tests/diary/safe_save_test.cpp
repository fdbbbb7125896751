#include "diary/diary_file.h"
#include "platform/safe_file.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CTarelogDoc DiaryOf(int days, double firstWeight)
{
    CTarelogDoc doc;
    for (int i = 0; i < days; ++i)
        doc.AppendRecord(WeightRecord{firstWeight + i * 0.1, 2002, 8, static_cast<std::int16_t>(1 + i % 28), {0, 0}});
    doc.SetModifiedFlag(true);
    return doc;
}

// A disk that fills after a budget of bytes: the write that crosses it is
// cut short, the next one fails with ENOSPC, as the kernel reports it.
std::size_t g_budget = 0;
ssize_t BudgetedWrite(int fd, const void* data, std::size_t size)
{
    if (g_budget == 0) {
        errno = ENOSPC;
        return -1;
    }
    const std::size_t n = std::min(size, g_budget);
    g_budget -= n;
    return ::write(fd, data, n);
}

// Writes that hand over only a few bytes at a time must still add up.
ssize_t DribblingWrite(int fd, const void* data, std::size_t size)
{
    return ::write(fd, data, std::min<std::size_t>(size, 7));
}

int FailingFsync(int)
{
    errno = EIO;
    return -1;
}

class SafeSave : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetSafeFileWriteFunction(nullptr);
        SetSafeFileFsyncFunction(nullptr);
    }
    TempDir dir;
    std::string path = dir.File("diary.tlg");
};

TEST_F(SafeSave, DiskFullPartWayLeavesTheOldFileAndNoTemporary)
{
    const CTarelogDoc old = DiaryOf(10, 60.0);
    ASSERT_TRUE(SaveDiaryFile(old, path));
    const std::string oldBytes = ReadBytes(path);

    const CTarelogDoc bigger = DiaryOf(5000, 70.0);
    for (std::size_t budget : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, StoreDiaryBytes(bigger).size() - 1}) {
        SCOPED_TRACE(budget);
        g_budget = budget;
        SetSafeFileWriteFunction(BudgetedWrite);
        const DiaryFileError error = SaveDiaryFile(bigger, path).error_or({});
        SetSafeFileWriteFunction(nullptr);
        EXPECT_EQ(error.kind, DiaryFileError::Kind::CannotWrite);
        EXPECT_EQ(error.systemError, ENOSPC);
        EXPECT_NE(error.JapaneseMessage().find("ディスクの空き容量が足りません"), std::string::npos);
        EXPECT_NE(error.EnglishMessage().find(path), std::string::npos);
        EXPECT_EQ(ReadBytes(path), oldBytes);
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
        EXPECT_TRUE(bigger.IsModified());
    }
}

TEST_F(SafeSave, PartialWritesAreContinuedToTheEnd)
{
    SetSafeFileWriteFunction(DribblingWrite);
    const CTarelogDoc doc = DiaryOf(300, 50.0);
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    EXPECT_EQ(ReadBytes(path), StoreDiaryBytes(doc));
}

TEST_F(SafeSave, FailedFlushToDiskIsAFailedSave)
{
    ASSERT_TRUE(SaveDiaryFile(DiaryOf(3, 60.0), path));
    const std::string oldBytes = ReadBytes(path);
    SetSafeFileFsyncFunction(FailingFsync);
    const DiaryFileError error = SaveDiaryFile(DiaryOf(4, 61.0), path).error_or({});
    EXPECT_EQ(error.systemError, EIO);
    EXPECT_EQ(ReadBytes(path), oldBytes);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
}

TEST_F(SafeSave, ExistingFileKeepsItsPermissions)
{
    ASSERT_TRUE(SaveDiaryFile(DiaryOf(3, 60.0), path));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(SaveDiaryFile(DiaryOf(4, 61.0), path));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(SafeSave, ReadOnlyFileIsRefusedAndUntouched)
{
    ASSERT_TRUE(SaveDiaryFile(DiaryOf(3, 60.0), path));
    const std::string oldBytes = ReadBytes(path);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const DiaryFileError error = SaveDiaryFile(DiaryOf(4, 61.0), path).error_or({});
    EXPECT_EQ(error.kind, DiaryFileError::Kind::CannotWrite);
    EXPECT_EQ(error.systemError, EACCES);
    EXPECT_NE(error.JapaneseMessage().find("読み取り専用"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), oldBytes);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
}

TEST_F(SafeSave, StrayTemporariesOfThisFileAreRemovedOthersKept)
{
    for (const char* name : {".diary.tlg.saving-Ab3xYz", ".diary.tlg.saving-000000", ".other.tlg.saving-Ab3xYz",
             ".diary.tlg.backup", ".diary.tlg.saving-Ab3xY", ".diary.tlg.saving-Ab3xYz1", ".diary.tlg.saving-Ab-xYz"})
        WriteBytes(dir.File(name), "left over");
    ASSERT_TRUE(SaveDiaryFile(DiaryOf(2, 60.0), path));
    EXPECT_EQ(Entries(dir.Path()),
        (std::vector<std::string>{".diary.tlg.backup", ".diary.tlg.saving-Ab-xYz", ".diary.tlg.saving-Ab3xY",
            ".diary.tlg.saving-Ab3xYz1", ".other.tlg.saving-Ab3xYz", "diary.tlg"}));
}

TEST_F(SafeSave, SymbolicLinkStaysALinkToTheNewContents)
{
    const std::string real = dir.File("real.tlg");
    ASSERT_TRUE(SaveDiaryFile(DiaryOf(2, 60.0), real));
    ASSERT_EQ(::symlink("real.tlg", path.c_str()), 0);
    const CTarelogDoc doc = DiaryOf(3, 61.0);
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadBytes(real), StoreDiaryBytes(doc));
}

TEST_F(SafeSave, MissingDirectoryOrDirectoryTargetIsAnError)
{
    const DiaryFileError missing = SaveDiaryFile(DiaryOf(1, 60.0), dir.File("no/such/dir.tlg")).error_or({});
    EXPECT_EQ(missing.kind, DiaryFileError::Kind::CannotWrite);
    EXPECT_EQ(missing.systemError, ENOENT);
    const DiaryFileError directory = SaveDiaryFile(DiaryOf(1, 60.0), dir.Path().string()).error_or({});
    EXPECT_EQ(directory.systemError, EISDIR);
}

} // namespace
