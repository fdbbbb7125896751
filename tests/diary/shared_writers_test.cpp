// Several writers of one diary: the write lock makes their read-modify-write
// cycles take turns, and replacements refuse what they must not touch.
#include "diary/diary_file.h"
#include "platform/file_lock.h"

#include "child_process.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

// One writer's whole cycle, as `tarelog-cli add` does it.
int AddDayLocked(const std::string& path, int day)
{
    const auto lock = LockDiaryFile(path);
    if (!lock)
        return 2;
    CTarelogDoc doc;
    const DiaryFileError error = LoadDiaryFile(path, doc).error_or({});
    if (error && error.systemError != ENOENT)
        return 3;
    doc.SetDayWeight(60.0 + day, 2026, 1, day);
    return SaveDiaryFile(doc, *lock) ? 0 : 4;
}

TEST(SharedWriters, ConcurrentCyclesKeepEveryDay)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    // Each round starts 28 writers at once, each adding its own day.
    for (int round = 0; round < 10; ++round) {
        std::filesystem::remove(path);
        std::vector<pid_t> children;
        for (int day = 1; day <= 28; ++day) {
            const pid_t pid = ::fork();
            if (pid == 0)
                ::_exit(AddDayLocked(path, day));
            children.push_back(pid);
        }
        for (const pid_t pid : children) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        CTarelogDoc doc;
        ASSERT_TRUE(LoadDiaryFile(path, doc));
        ASSERT_EQ(doc.GetRecordCount(), 28) << "round " << round;
        for (int day = 1; day <= 28; ++day)
            EXPECT_EQ(doc.GetRecord(day - 1).day, day);
    }
    // No lock file and no temporary file outlives its writer.
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
}

TEST(SharedWriters, BusyLockTimesOutAndTheDeadHoldersLockIsFree)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        FileWriteLock lock;
        const char held = lock.Acquire(path) ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        ::pause();
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');

    FileWriteLock lock;
    const Status<FileFailure> busy = lock.Acquire(path, std::chrono::milliseconds(200));
    EXPECT_FALSE(busy);
    const FileFailure failure = busy.error_or({});
    EXPECT_EQ(failure.error, EWOULDBLOCK);
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2026, 1, 1);
    const DiaryFileError refused = SaveDiaryFile(doc, path).error_or({});
    EXPECT_EQ(refused.systemError, EWOULDBLOCK);
    EXPECT_NE(refused.EnglishMessage().find("unchanged"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));

    // Killed while holding it: the system lets go of the lock.
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(lock.Acquire(path, std::chrono::milliseconds(0)));
    EXPECT_TRUE(lock.IsExclusive());
    EXPECT_TRUE(SaveDiaryFile(doc, lock));
    lock.Release();
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"diary.tlg"});
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(SharedWriters, ALiveWritersTemporaryIsNeverRemovedButADeadOnesIs)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2026, 1, 1);
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    // A temporary as a writer leaves it when killed after creating it.
    const std::string stray = dir.File(".diary.tlg.saving-abc123");
    WriteBytes(stray, "half");
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    EXPECT_FALSE(std::filesystem::exists(stray));
    // While another writer holds the lock, nobody else is inside a
    // replacement: a waiting writer gives up rather than clean up.
    FileWriteLock held;
    ASSERT_TRUE(held.Acquire(path));
    WriteBytes(stray, "being written");
    std::string message;
    const int status = InChild(
        [&](std::string& why) {
        FileWriteLock lock;
        if (lock.Acquire(path, std::chrono::milliseconds(100))) {
            why = "got a lock that was held";
            return 1;
        }
        return 0;
        },
        message);
    EXPECT_EQ(status, 0) << message;
    EXPECT_EQ(ReadBytes(stray), "being written");
}

TEST(SharedWriters, LongestLegalNamesSaveAndTheirHelperFilesFit)
{
    TempDir dir;
    for (const std::size_t length : {240u, 241u, 250u, 255u}) {
        // Multi-byte characters, so a cut could fall inside one.
        std::string name;
        while (name.size() + 3 <= length - 4)
            name += "体";
        name += std::string(length - 4 - name.size(), 'x') + ".tlg";
        ASSERT_EQ(name.size(), length);
        const std::string path = dir.File(name);
        CTarelogDoc doc;
        doc.SetDayWeight(60.0, 2026, 1, 1);
        ASSERT_TRUE(SaveDiaryFile(doc, path)) << length;
        ASSERT_TRUE(SaveDiaryFile(doc, path)) << length;
        CTarelogDoc loaded;
        EXPECT_TRUE(LoadDiaryFile(path, loaded));
        const std::string lock = LockFileNameOf(name, 255);
        const std::string temporary = "." + FittedName(name, 15, 255) + ".saving-abcdef";
        EXPECT_LE(lock.size(), 255u);
        EXPECT_LE(temporary.size(), 255u);
        EXPECT_TRUE(IsSafeSaveTemporaryOf(temporary, name, 255));
        // Another long name never shares the helper files.
        if (length > 240) {
            EXPECT_FALSE(IsSafeSaveTemporaryOf(temporary, name.substr(0, length - 5) + "y.tlg", 255));
        }
        std::filesystem::remove(path);
    }
    EXPECT_TRUE(Entries(dir.Path()).empty());
}

TEST(SharedWriters, LinksAreFollowedOnlyToRegularFiles)
{
    TempDir dir;
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2026, 1, 1);
    const std::string real = dir.File("real.tlg");
    ASSERT_TRUE(SaveDiaryFile(doc, real));

    const std::string link = dir.File("link.tlg");
    std::filesystem::create_symlink(real, link);
    doc.SetDayWeight(61.0, 2026, 1, 2);
    ASSERT_TRUE(SaveDiaryFile(doc, link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), StoreDiaryBytes(doc));

    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string toFifo = dir.File("to-fifo.tlg");
    std::filesystem::create_symlink(fifo, toFifo);
    const std::string dangling = dir.File("dangling.tlg");
    std::filesystem::create_symlink(dir.File("nowhere"), dangling);
    for (const std::string& target : {toFifo, dangling, fifo}) {
        const DiaryFileError error = SaveDiaryFile(doc, target).error_or({});
        EXPECT_EQ(error.kind, DiaryFileError::Kind::CannotWrite) << target;
        EXPECT_FALSE(error.JapaneseMessage().empty());
    }
    EXPECT_TRUE(std::filesystem::is_symlink(toFifo));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
    EXPECT_NE(SaveDiaryFile(doc, dangling).error_or({}).EnglishMessage().find("leads to nothing"), std::string::npos);
}

TEST(SharedWriters, AHardLinksOtherNameKeepsTheOldContents)
{
    TempDir dir;
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2026, 1, 1);
    const std::string path = dir.File("diary.tlg");
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    const std::string before = ReadBytes(path);
    std::filesystem::create_hard_link(path, dir.File("other.tlg"));
    doc.SetDayWeight(61.0, 2026, 1, 2);
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    EXPECT_EQ(ReadBytes(dir.File("other.tlg")), before);
    EXPECT_EQ(ReadBytes(path), StoreDiaryBytes(doc));
}

TEST(SharedWriters, IdentityFollowsReplacementsAndEdits)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    EXPECT_FALSE(IdentifyFile(path).exists);
    CTarelogDoc doc;
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    const auto loaded = LoadDiaryFile(path, doc);
    ASSERT_TRUE(loaded);
    const DiaryFileFacts facts = *loaded;
    EXPECT_EQ(facts.identity, IdentifyFile(path));
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    EXPECT_NE(facts.identity.inode, IdentifyFile(path).inode);
}

} // namespace
