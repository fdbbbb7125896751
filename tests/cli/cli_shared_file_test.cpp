// tarelog-cli on a diary that other programs write too, and writing where
// it must not: concurrent adds, files that are not diaries, links to
// devices, a full disk.
#include "cli_runner.h"
#include "../diary/child_process.h"

#include "diary/diary_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class CliSharedFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.File("diary.tlg");
};

TEST_F(CliSharedFile, ConcurrentAddsOfDifferentDaysKeepBoth)
{
    for (int pair = 0; pair < 40; ++pair) {
        std::filesystem::remove(file);
        const pid_t a = StartCli({"add", file, "2026-01-01", "60"}, dir.File(".a.out"), dir.File(".a.err"));
        const pid_t b = StartCli({"add", file, "2026-01-02", "61"}, dir.File(".b.out"), dir.File(".b.err"));
        const CliRun first = FinishCli(a, dir.File(".a.out"), dir.File(".a.err"));
        const CliRun second = FinishCli(b, dir.File(".b.out"), dir.File(".b.err"));
        ASSERT_EQ(first.status, 0) << first.err;
        ASSERT_EQ(second.status, 0) << second.err;
        CTarelogDoc doc;
        ASSERT_TRUE(LoadDiaryFile(file, doc));
        ASSERT_EQ(doc.GetRecordCount(), 2) << "pair " << pair;
    }
}

TEST_F(CliSharedFile, AddRefusesAFileThatIsAlmostCertainlyNotADiary)
{
    // Zero bytes read as an empty version-0 diary followed by the rest.
    const std::string zeros(200 * 1024, '\0');
    WriteBytes(file, zeros);
    const CliRun refused = RunCli(dir, {"add", file, "2026-01-01", "60"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("not a diary"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadBytes(file), zeros);

    const CliRun forced = RunCli(dir, {"add", "--force", file, "2026-01-01", "60"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryFile(file, doc));
    EXPECT_EQ(doc.GetRecordCount(), 1);

    // A little trailing matter is what old files carry: no refusal.
    WriteBytes(file, ReadBytes(file) + std::string(100, 'x'));
    EXPECT_EQ(RunCli(dir, {"add", file, "2026-01-02", "61"}).status, 0);
}

TEST_F(CliSharedFile, RenderNeverReplacesWhatALinkLeadsTo)
{
    ASSERT_EQ(RunCli(dir, {"add", file, "2026-01-01", "60"}).status, 0);
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string toFifo = dir.File("to-fifo.svg");
    std::filesystem::create_symlink(fifo, toFifo);
    const std::string dangling = dir.File("dangling.png");
    std::filesystem::create_symlink(dir.File("nowhere.png"), dangling);
    ASSERT_EQ(::mkfifo(dir.File("fifo.ops").c_str(), 0600), 0);
    for (const std::string& out : {toFifo, dangling, dir.File("fifo.ops")}) {
        const CliRun run = RunCli(dir, {"render", file, "-o", out, "--no-profile"});
        EXPECT_EQ(run.status, 1) << out;
        EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(toFifo));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere.png")));

    // A link to a regular file stays a link; the file gets the picture.
    const std::string real = dir.File("real.svg");
    WriteBytes(real, "old");
    std::filesystem::create_symlink(real, dir.File("link.svg"));
    EXPECT_EQ(RunCli(dir, {"render", file, "-o", dir.File("link.svg"), "--no-profile"}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.svg")));
    EXPECT_NE(ReadBytes(real).find("<svg"), std::string::npos);
}

TEST_F(CliSharedFile, RenderOnAFullDiskFailsAndKeepsTheOldPicture)
{
    ASSERT_EQ(RunCli(dir, {"add", file, "2026-01-01", "60"}).status, 0);
    const std::string folder = dir.File("small");
    std::filesystem::create_directory(folder);
    std::string message;
    const int status = InChild(
        [&](std::string& why) {
        if (!MountPrivateTmpfs(folder, "size=64k"))
            return 77;
        WriteBytes(folder + "/graph.png", "old picture");
        WriteBytes(folder + "/graph.svg", "old picture");
        // Fill what is left, so the new picture cannot fit.
        WriteBytes(folder + "/filler", std::string(56 * 1024, 'f'));
        for (const std::string name : {"graph.png", "graph.svg"}) {
            const std::string target = folder + "/" + name;
            const CliRun run = RunCli(dir, {"render", file, "-o", target, "--no-profile", "--size", "1000x1000"});
            if (run.status != 1 || run.err.find("cannot write") == std::string::npos) {
                why = name + ": status " + std::to_string(run.status) + ": " + run.err;
                return 1;
            }
            if (ReadBytes(target) != "old picture") {
                why = name + ": the old picture changed";
                return 1;
            }
        }
        return 0;
        },
        message);
    if (status == 77)
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    EXPECT_EQ(status, 0) << message;
}

} // namespace
