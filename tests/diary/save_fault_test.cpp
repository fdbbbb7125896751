// Saves under real faults: a process killed in the middle of saving, a full
// file system, a file size limit, a read-only directory.
#include "diary/diary_file.h"

#include "child_process.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kSkipped = 77;

// 65,536 records: a 1 MB file.
CTarelogDoc MegabyteDiary(double base)
{
    CTarelogDoc doc;
    doc.ReserveRecords(65536);
    for (int i = 0; i < 65536; ++i)
        doc.AppendRecord(WeightRecord{base + i * 0.001, static_cast<std::int16_t>(1900 + i / 366), 1, 1, {0, 0}});
    doc.SetModifiedFlag(true);
    return doc;
}

CTarelogDoc SmallDiary()
{
    CTarelogDoc doc;
    doc.SetDayWeight(65.5, 2002, 8, 30);
    doc.SetDayWeight(65.0, 2002, 8, 31);
    return doc;
}

int CountTemporaries(const std::string& dir)
{
    int n = 0;
    for (const std::string& name : Entries(dir))
        n += name.find(".saving-") != std::string::npos;
    return n;
}

TEST(SaveUnderFaults, KilledWhileSavingLeavesTheOldOrTheNewFileNeverATornOne)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    const CTarelogDoc a = MegabyteDiary(60.0);
    const CTarelogDoc b = MegabyteDiary(70.0);
    const std::string bytesA = StoreDiaryBytes(a);
    const std::string bytesB = StoreDiaryBytes(b);
    ASSERT_EQ(bytesA.size(), 8u + 65536 * 16 + 6 + 4);

    // Kills are spread over about four saves' time, so that they land
    // before, inside and between saves.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(SaveDiaryFile(a, path));
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - start)
        / 3;

    std::mt19937 random(12345);
    std::uniform_int_distribution<long> delay(0, std::max<long>(4 * saveTime.count(), 4000));
    int changes = 0, strays = 0;
    std::string last = bytesA;
    for (int kill = 0; kill < 200; ++kill) {
        // The child says when it starts saving, so that the time a fork
        // takes does not eat into the moments the kills land on.
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(started[0]);
            (void)!::write(started[1], "s", 1);
            for (int i = 0;; ++i)
                if (!SaveDiaryFile(i % 2 == 0 ? b : a, path))
                    ::_exit(3);
        }
        ::close(started[1]);
        char signal = 0;
        (void)!::read(started[0], &signal, 1);
        ::close(started[0]);
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child failed on its own, status " << status;
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == bytesA || now == bytesB)
            << "torn file after kill " << kill << ", " << now.size() << " bytes";
        changes += now != last;
        last = now;
        strays += CountTemporaries(dir.Path().string()) > 0;
        ASSERT_LE(CountTemporaries(dir.Path().string()), 1) << "an earlier stray was not cleaned up";
    }
    EXPECT_GT(changes, 0) << "no save ever completed before the kill";
    std::cout << "[          ] 200 kills: " << changes << " changed the file, " << strays
              << " left a temporary file; one save takes " << saveTime.count() << " us\n";
    ASSERT_TRUE(SaveDiaryFile(a, path));
    EXPECT_EQ(Entries(dir.Path().string()), std::vector<std::string>{"diary.tlg"});
    EXPECT_EQ(ReadBytes(path), bytesA);
}

TEST(SaveUnderFaults, FullFileSystemKeepsTheOldFile)
{
    TempDir dir;
    const std::string folder = dir.Path().string();
    std::string message;
    const int status = InChild(
        [&](std::string& why) {
        if (!MountPrivateTmpfs(folder, "size=256k"))
            return kSkipped;
        const std::string path = folder + "/diary.tlg";
        const CTarelogDoc small = SmallDiary();
        if (!SaveDiaryFile(small, path)) {
            why = "the small diary did not fit";
            return 1;
        }
        const CTarelogDoc big = MegabyteDiary(60.0);
        const DiaryFileError error = SaveDiaryFile(big, path).error_or({});
        if (error.kind != DiaryFileError::Kind::CannotWrite || error.systemError != ENOSPC) {
            why = "expected a full disk, got: " + error.EnglishMessage();
            return 1;
        }
        if (ReadBytes(path) != StoreDiaryBytes(small) || Entries(folder) != std::vector<std::string>{"diary.tlg"}) {
            why = "the old file changed or a temporary file was left";
            return 1;
        }
        if (!big.IsModified() || error.JapaneseMessage().find("ディスクの空き容量が足りません") == std::string::npos) {
            why = "wrong flag or message: " + error.JapaneseMessage();
            return 1;
        }
        return 0;
        },
        message);
    if (status == kSkipped)
        GTEST_SKIP() << "needs root to mount a small tmpfs; the injected short writes cover the rest";
    EXPECT_EQ(status, 0) << message;
    EXPECT_TRUE(Entries(folder).empty()) << "written outside the small file system";
}

TEST(SaveUnderFaults, FileSizeLimitCutsTheWriteShortAndKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.File("diary.tlg");
    const CTarelogDoc small = SmallDiary();
    ASSERT_TRUE(SaveDiaryFile(small, path));
    std::string message;
    const int status = InChild(
        [&](std::string& why) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return kSkipped;
        const DiaryFileError error = SaveDiaryFile(MegabyteDiary(60.0), path).error_or({});
        if (error.kind != DiaryFileError::Kind::CannotWrite || error.systemError != EFBIG) {
            why = "expected a refused write, got: " + error.EnglishMessage();
            return 1;
        }
        return 0;
        },
        message);
    if (status == kSkipped)
        GTEST_SKIP() << "cannot set a file size limit";
    EXPECT_EQ(status, 0) << message;
    EXPECT_EQ(ReadBytes(path), StoreDiaryBytes(small));
    EXPECT_EQ(Entries(dir.Path().string()), std::vector<std::string>{"diary.tlg"});
}

// Root writes into any directory whatever its mode, so as root the folder is
// a file system mounted read-only instead of a folder without write bits.
TEST(SaveUnderFaults, ReadOnlyDirectoryIsAClearErrorAndNothingIsWrittenElsewhere)
{
    TempDir dir;
    const std::string folder = dir.File("ro");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/diary.tlg";
    std::string message;
    const int status = InChild(
        [&](std::string& why) {
        const bool root = ::geteuid() == 0;
        if (root && !MountPrivateTmpfs(folder, "size=1m"))
            return kSkipped;
        const CTarelogDoc small = SmallDiary();
        if (!SaveDiaryFile(small, path)) {
            why = "cannot write the old file";
            return 1;
        }
        const int made = root ? ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr)
                              : ::chmod(folder.c_str(), 0555);
        if (made != 0)
            return kSkipped;
        const DiaryFileError error = SaveDiaryFile(MegabyteDiary(60.0), path).error_or({});
        const int expected = root ? EROFS : EACCES;
        if (error.kind != DiaryFileError::Kind::CannotWrite || error.systemError != expected) {
            why = "expected a refused save, got: " + error.EnglishMessage();
            return 1;
        }
        if (error.EnglishMessage().find(path) == std::string::npos) {
            why = "the message does not name the file: " + error.EnglishMessage();
            return 1;
        }
        if (ReadBytes(path) != StoreDiaryBytes(small) || Entries(folder) != std::vector<std::string>{"diary.tlg"}) {
            why = "the old file changed or something was added";
            return 1;
        }
        return 0;
        },
        message);
    if (status == kSkipped)
        GTEST_SKIP() << "cannot make a read-only directory here";
    EXPECT_EQ(status, 0) << message;
    EXPECT_EQ(Entries(dir.Path().string()), std::vector<std::string>{"ro"});
}

} // namespace
