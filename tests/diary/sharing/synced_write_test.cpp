// A write through SyncedDiaryWrite while a sync engine works in the same
// folder: it replaces the diary with another machine's version in the
// middle of a save, and leaves conflict copies beside it.
#include "../temp_dir.h"
#include "diary/sharing/synced_write.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

CTarelogDoc Diary(std::initializer_list<int> days)
{
    CTarelogDoc doc;
    for (const int day : days)
        doc.SetDayWeight(60.0 + day, 2026, 1, day);
    return doc;
}

std::vector<int> DaysOf(const std::string& path)
{
    CTarelogDoc doc;
    EXPECT_TRUE(LoadDiaryFile(path, doc));
    std::vector<int> days;
    for (const WeightRecord& record : doc.Records())
        days.push_back(record.day);
    return days;
}

// Plays the sync engine: the first write of a save puts another machine's
// version in place, as the engine renames its download over the diary.
std::string g_diary, g_arrival;
int g_arrivals = 0;

ssize_t ArriveDuringWrite(int fd, const void* data, std::size_t size)
{
    if (g_arrivals > 0) {
        --g_arrivals;
        const std::string temporary = g_diary + ".syncthing-tmp";
        WriteBytes(temporary, g_arrival);
        std::filesystem::rename(temporary, g_diary);
    }
    return ::write(fd, data, size);
}

class SyncedWrite : public ::testing::Test {
protected:
    TempDir dir;
    const std::string diary = dir.File("diary.tlg");
    const std::string state = dir.File("state");

    void TearDown() override { SetSafeFileWriteFunction(nullptr); }
};

TEST_F(SyncedWrite, AVersionArrivingDuringTheSaveIsTakenInNotOverwritten)
{
    ASSERT_TRUE(SaveDiaryFile(Diary({1, 2}), diary));
    FileWriteLock lock;
    ASSERT_TRUE(lock.Acquire(diary));
    SyncedDiaryWrite write(lock, state);
    CTarelogDoc doc;
    ASSERT_TRUE(write.Load(doc));
    doc.SetDayWeight(70.0, 2026, 1, 3); // this machine's day

    g_diary = diary;
    g_arrival = StoreDiaryBytes(Diary({1, 2, 4})); // the other machine's
    g_arrivals = 2;                                // and once more on the retry
    SetSafeFileWriteFunction(ArriveDuringWrite);
    ASSERT_TRUE(write.Save(doc));
    SetSafeFileWriteFunction(nullptr);
    EXPECT_EQ(DaysOf(diary), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(doc.GetRecordCount(), 4);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"diary.tlg", "state"}));
}

TEST_F(SyncedWrite, ASaveThatKeepsBeingOverrunGivesUpWithoutWriting)
{
    ASSERT_TRUE(SaveDiaryFile(Diary({1}), diary));
    FileWriteLock lock;
    ASSERT_TRUE(lock.Acquire(diary));
    SyncedDiaryWrite write(lock, state);
    CTarelogDoc doc;
    ASSERT_TRUE(write.Load(doc));
    doc.SetDayWeight(70.0, 2026, 1, 3);
    g_diary = diary;
    g_arrival = StoreDiaryBytes(Diary({1, 5}));
    g_arrivals = 1000;
    SetSafeFileWriteFunction(ArriveDuringWrite);
    const DiaryFileError error = write.Save(doc).error_or({});
    SetSafeFileWriteFunction(nullptr);
    EXPECT_EQ(error.failure.reason, FileReason::ReplacedMeanwhile);
    EXPECT_EQ(DaysOf(diary), (std::vector<int>{1, 5}));
}

TEST_F(SyncedWrite, FoldedCopiesMoveToTheStateFolderAndAChangedOneStays)
{
    ASSERT_TRUE(SaveDiaryFile(Diary({1}), diary));
    const std::string copy = dir.File("diary.sync-conflict-20261209-140853-ABCDEFG.tlg");
    const std::string later = dir.File("diary (conflicted copy 2026-12-09 140853).tlg");
    ASSERT_TRUE(SaveDiaryFile(Diary({1, 2}), copy));
    ASSERT_TRUE(SaveDiaryFile(Diary({1, 3}), later));
    FileWriteLock lock;
    ASSERT_TRUE(lock.Acquire(diary));
    SyncedDiaryWrite write(lock, state);
    CTarelogDoc doc;
    ASSERT_TRUE(write.Load(doc));
    EXPECT_EQ(write.Report().folded.size(), 2u);
    EXPECT_TRUE(write.FoldChangedDiary());
    // The engine rewrites one copy before the save: it holds what the fold
    // has not seen, so it must stay.
    ASSERT_TRUE(SaveDiaryFile(Diary({1, 3, 4}), later));
    ASSERT_TRUE(write.Save(doc));
    EXPECT_EQ(DaysOf(diary), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_TRUE(std::filesystem::exists(later));
    EXPECT_EQ(Entries(state + "/conflict-copies").size(), 1u);
}

TEST_F(SyncedWrite, KeptCopiesExpireAfterTheirDays)
{
    ASSERT_TRUE(SaveDiaryFile(Diary({1}), diary));
    const std::string kept = state + "/conflict-copies";
    std::filesystem::create_directories(kept);
    WriteBytes(kept + "/old", "x");
    WriteBytes(kept + "/recent", "x");
    std::filesystem::last_write_time(kept + "/old",
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * (SyncedDiaryWrite::kKeptDays + 1)));
    FileWriteLock lock;
    ASSERT_TRUE(lock.Acquire(diary));
    SyncedDiaryWrite write(lock, state);
    CTarelogDoc doc;
    ASSERT_TRUE(write.Load(doc));
    write.Finish();
    EXPECT_EQ(Entries(kept), std::vector<std::string>{"recent"});
}

} // namespace

namespace {

// A diary longer than any person's is not remembered day by day; its copies
// still come in, every day kept.
TEST_F(SyncedWrite, AnOutsizedDiaryFoldsItsCopiesWithoutAState)
{
    CTarelogDoc huge;
    huge.ReserveRecords(SyncedDiaryWrite::kRememberedDays + 1);
    for (int i = 0; i <= SyncedDiaryWrite::kRememberedDays; ++i)
        huge.AppendRecord(WeightRecord{60.0, static_cast<std::int16_t>(1000 + i / 360),
            static_cast<std::int16_t>(1 + i / 30 % 12), static_cast<std::int16_t>(1 + i % 30), {0, 0}});
    ASSERT_TRUE(SaveDiaryFile(huge, diary));
    huge.SetDayWeight(70.0, 3000, 1, 1);
    ASSERT_TRUE(SaveDiaryFile(huge, dir.File("diary.sync-conflict-20261209-140853-ABCDEFG.tlg")));
    FileWriteLock lock;
    ASSERT_TRUE(lock.Acquire(diary));
    SyncedDiaryWrite write(lock, state);
    CTarelogDoc doc;
    ASSERT_TRUE(write.Load(doc));
    EXPECT_EQ(doc.GetRecordCount(), SyncedDiaryWrite::kRememberedDays + 2);
    ASSERT_TRUE(write.Save(doc));
    EXPECT_FALSE(std::filesystem::exists(state + "/sync"));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"diary.tlg", "state"}));
}

} // namespace
