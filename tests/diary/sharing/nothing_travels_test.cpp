// Nothing of a writer's is ever in the diary's folder, where a sync engine
// would copy it to other machines and bring back its deletion: the lock
// lives outside the folder, and the new contents are written unnamed.
#include "../child_process.h"
#include "../temp_dir.h"
#include "diary/diary_file.h"
#include "platform/file_lock.h"
#include "platform/safe_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

CTarelogDoc Diary(int days)
{
    CTarelogDoc doc;
    for (int day = 1; day <= days; ++day)
        doc.SetDayWeight(60.0 + day, 2026, 1, day);
    return doc;
}

// What the folder holds while a replacement writes its bytes.
std::vector<std::string> g_seenWhileWriting;
std::string g_watchedFolder;

ssize_t WriteAndLook(int fd, const void* data, std::size_t size)
{
    g_seenWhileWriting = Entries(g_watchedFolder);
    return ::write(fd, data, size);
}

std::vector<std::string> SeenWhileSaving(const TempDir& dir, bool unnamed)
{
    g_watchedFolder = dir.Path().string();
    SetSafeFileUnnamedTemporaries(unnamed);
    SetSafeFileWriteFunction(WriteAndLook);
    const bool saved = SaveDiaryFile(Diary(3), dir.File("diary.tlg")).has_value();
    SetSafeFileWriteFunction(nullptr);
    SetSafeFileUnnamedTemporaries(true);
    EXPECT_TRUE(saved);
    return g_seenWhileWriting;
}

TEST(NothingTravels, TheFolderHoldsOnlyTheDiaryWhileItIsWritten)
{
    TempDir dir;
    ASSERT_TRUE(SaveDiaryFile(Diary(2), dir.File("diary.tlg")));
    EXPECT_EQ(SeenWhileSaving(dir, true), std::vector<std::string>{"diary.tlg"});
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
    // Where no unnamed file can be made, the named temporary is what a sync
    // engine could see: the check above would have caught one.
    const std::vector<std::string> named = SeenWhileSaving(dir, false);
    ASSERT_EQ(named.size(), 2u);
    EXPECT_TRUE(IsSafeSaveTemporaryOf(named[0], "diary.tlg"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
    CTarelogDoc loaded;
    ASSERT_TRUE(LoadDiaryFile(dir.File("diary.tlg"), loaded));
    EXPECT_EQ(loaded.GetRecordCount(), 3);
}

TEST(NothingTravels, AnUnnamedNewFileKeepsTheOldOnesMode)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    ASSERT_TRUE(SaveDiaryFile(Diary(2), path));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(SaveDiaryFile(Diary(3), path));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// The holder's lock is not a file in the folder, so a sync engine that
// deletes every file there and replaces the diary (as it does when another
// machine's version arrives) lets no second writer in.
TEST(NothingTravels, ASyncEngineEmptyingTheFolderLetsNoSecondWriterIn)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    ASSERT_TRUE(SaveDiaryFile(Diary(2), path));
    FileWriteLock held;
    ASSERT_TRUE(held.Acquire(path));
    ASSERT_TRUE(held.IsExclusive());
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
    // Another machine's version arrives: written beside, renamed over.
    WriteBytes(dir.File(".syncthing.diary.tlg.tmp"), StoreDiaryBytes(Diary(5)));
    ASSERT_EQ(::rename(dir.File(".syncthing.diary.tlg.tmp").c_str(), path.c_str()), 0);
    std::string message;
    const int status = InChild(
        [&](std::string& why) {
        FileWriteLock lock;
        if (lock.Acquire(path, std::chrono::milliseconds(100))) {
            why = "a second writer got in";
            return 1;
        }
        return 0;
        },
        message);
    EXPECT_EQ(status, 0) << message;
    held.Release();
    FileWriteLock next;
    EXPECT_TRUE(next.Acquire(path, std::chrono::milliseconds(100)));
}

TEST(NothingTravels, EveryPathToTheFolderSharesOneLock)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("sync"));
    std::filesystem::create_directory_symlink(dir.File("sync"), dir.File("alias"));
    const std::string path = dir.File("sync/diary.tlg");
    ASSERT_TRUE(SaveDiaryFile(Diary(1), path));
    FileWriteLock held;
    ASSERT_TRUE(held.Acquire(path));
    std::string message;
    const int status = InChild(
        [&](std::string& why) {
        FileWriteLock lock;
        if (lock.Acquire(dir.File("alias/diary.tlg"), std::chrono::milliseconds(100))) {
            why = "the other path to the folder had a lock of its own";
            return 1;
        }
        FileWriteLock other;
        if (!other.Acquire(dir.File("alias/other.tlg"), std::chrono::milliseconds(100))) {
            why = "another file of the folder was locked too";
            return 1;
        }
        return 0;
        },
        message);
    EXPECT_EQ(status, 0) << message;
}

} // namespace
