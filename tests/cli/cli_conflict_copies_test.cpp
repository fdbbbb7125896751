// tarelog-cli and the conflict copies that sync engines leave beside a
// diary: two machines are two state folders here, the engine's renames are
// done by hand exactly as each engine names its copies.
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <utime.h>

namespace {

class ConflictCopies : public ::testing::Test {
protected:
    TempDir dir;
    const std::string diary = dir.File("diary.tlg");
    const CliEnvironment machineA{{"XDG_STATE_HOME", dir.File("state-a")}};
    const CliEnvironment machineB{{"XDG_STATE_HOME", dir.File("state-b")}};

    void Add(const std::string& path, const std::string& date, const std::string& weight, const CliEnvironment& on)
    {
        const CliRun run = RunCli(dir, {"add", path, date, weight}, on);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    std::string Dump(const std::string& path)
    {
        const CliRun run = RunCli(dir, {"dump", path});
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }
    // The file's modification time, `seconds` ago: which version a sync
    // engine keeps, and which change is later, go by it.
    void Age(const std::string& path, int seconds)
    {
        const struct utimbuf times {
            ::time(nullptr) - seconds, ::time(nullptr) - seconds
        };
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }
    // Both machines start from the same three days; then each writes its own
    // diary while they do not hear of each other.
    void SplitDiary(const std::string& other)
    {
        for (const char* date : {"2026-01-01", "2026-01-02", "2026-01-03"})
            Add(diary, date, "60", machineA);
        std::filesystem::copy_file(diary, other);
        ASSERT_EQ(RunCli(dir, {"resave", other, other}, machineB).status, 0);
    }
};

// The dump holds `date` once, with `weight`.
bool Has(const std::string& dump, const std::string& date, const std::string& weight)
{
    const std::size_t at = dump.find("{\"date\":\"" + date + "\"");
    if (at == std::string::npos || dump.find("{\"date\":\"" + date + "\"", at + 1) != std::string::npos)
        return false;
    const std::string record = dump.substr(at, dump.find('}', at) - at);
    return record.find("\"weight\":" + weight + ",") != std::string::npos;
}

int Days(const std::string& dump)
{
    int days = 0;
    for (std::size_t at = dump.find("\"date\""); at != std::string::npos; at = dump.find("\"date\"", at + 1))
        ++days;
    return days;
}

TEST_F(ConflictCopies, AWriteFoldsEveryEnginesCopyInAndKeepsItInTheStateFolder)
{
    const char* names[] = {"diary.sync-conflict-20261209-140853-VQSTP3N.tlg",
        "diary (conflicted copy 2026-12-09 140853).tlg", "diary (conflicted copy ana 2026-12-09 140853).tlg",
        "diary_conflict-20261209-140853.tlg", "diary (Ana's conflicted copy 2026-12-09).tlg"};
    Add(diary, "2026-01-01", "60", machineA);
    int day = 2;
    for (const char* name : names) {
        const std::string copy = dir.File(name);
        std::filesystem::copy_file(diary, copy);
        Add(copy, "2026-01-0" + std::to_string(day++), "61", {{"XDG_STATE_HOME", dir.File("elsewhere")}});
    }
    const CliRun dump = RunCli(dir, {"dump", diary}, machineA);
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(Days(dump.out), 1);
    EXPECT_NE(dump.err.find("has 5 conflict copies"), std::string::npos) << dump.err;
    EXPECT_NE(dump.err.find("tarelog-cli merge"), std::string::npos) << dump.err;

    const CliRun add = RunCli(dir, {"add", diary, "2026-02-01", "59"}, machineA);
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_NE(add.err.find("folded in 5 conflict copies"), std::string::npos) << add.err;
    EXPECT_EQ(Days(Dump(diary)), 7);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"diary.tlg", "elsewhere", "state-a"}));
    EXPECT_EQ(Entries(dir.File("state-a/tarelog/conflict-copies")).size(), 5u);
    EXPECT_TRUE(RunCli(dir, {"dump", diary}, machineA).err.empty());
}

TEST_F(ConflictCopies, OfflineChangesOnTwoMachinesAllSurviveOnEachMachine)
{
    const std::string other = dir.File("b.tlg");
    SplitDiary(other);
    Add(diary, "2026-01-04", "61", machineA);
    Add(diary, "2026-01-02", "59.5", machineA); // a correction on A
    Add(other, "2026-01-05", "62", machineB);
    ASSERT_EQ(RunCli(dir, {"resave", other, other}, machineB).status, 0);
    Age(diary, 60);
    // B wrote last: the engine keeps B's version and renames A's.
    const std::string copy = dir.File("diary.sync-conflict-20261209-140853-ABCDEFG.tlg");
    std::filesystem::rename(diary, copy);
    std::filesystem::copy_file(other, diary);

    const CliRun dry = RunCli(dir, {"merge", "--dry-run", diary}, machineA);
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("would fold in conflict copy"), std::string::npos) << dry.out;
    EXPECT_TRUE(std::filesystem::exists(copy));

    const CliRun merge = RunCli(dir, {"merge", diary}, machineA);
    ASSERT_EQ(merge.status, 0) << merge.err;
    const std::string merged = Dump(diary);
    EXPECT_EQ(Days(merged), 5) << merged;
    EXPECT_TRUE(Has(merged, "2026-01-02", "59.5")) << merged;
    EXPECT_TRUE(Has(merged, "2026-01-04", "61")) << merged;
    EXPECT_TRUE(Has(merged, "2026-01-05", "62")) << merged;
    EXPECT_FALSE(std::filesystem::exists(copy));
}

TEST_F(ConflictCopies, ADayChangedOnBothMachinesKeepsTheLaterAndNamesTheOther)
{
    const std::string other = dir.File("b.tlg");
    SplitDiary(other);
    Add(diary, "2026-01-02", "59.5", machineA);
    Age(diary, 120);
    Add(other, "2026-01-02", "59.9", machineB);
    const std::string copy = dir.File("diary.sync-conflict-20261209-140853-ABCDEFG.tlg");
    std::filesystem::rename(diary, copy);
    std::filesystem::copy_file(other, diary, std::filesystem::copy_options::overwrite_existing);

    const CliRun add = RunCli(dir, {"add", diary, "2026-01-06", "60"}, machineA);
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_NE(add.err.find("2026-01-02 was changed on two machines: kept 59.9"), std::string::npos) << add.err;
    EXPECT_NE(add.err.find("the other weight, 59.5, is in " + copy), std::string::npos) << add.err;
    EXPECT_TRUE(Has(Dump(diary), "2026-01-02", "59.9"));
}

TEST_F(ConflictCopies, WithoutStateEveryDayIsKeptAndAnOtherDiaryMergesByTheSameRules)
{
    Add(diary, "2026-01-01", "60", machineA);
    Add(diary, "2026-01-02", "61", machineA);
    const std::string backup = dir.File("backup.tlg");
    Add(backup, "2026-01-03", "62", {{"XDG_STATE_HOME", dir.File("elsewhere")}});
    // Machine C has no state of the diary: nothing it cannot tell is dropped.
    const CliRun merge = RunCli(dir, {"merge", diary, backup}, {{"XDG_STATE_HOME", dir.File("state-c")}});
    ASSERT_EQ(merge.status, 0) << merge.err;
    EXPECT_EQ(Days(Dump(diary)), 3);
    EXPECT_TRUE(std::filesystem::exists(backup));
}

TEST_F(ConflictCopies, AFileThatOnlyLooksLikeACopyIsLeftAloneAndNamed)
{
    Add(diary, "2026-01-01", "60", machineA);
    const std::string lookalike = dir.File("diary.sync-conflict-20261209-140853-ABCDEFG.tlg");
    WriteBytes(lookalike, "not a diary");
    const CliRun add = RunCli(dir, {"add", diary, "2026-01-02", "61"}, machineA);
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_NE(add.err.find(lookalike + " is named like a conflict copy"), std::string::npos) << add.err;
    EXPECT_EQ(ReadBytes(lookalike), "not a diary");
    const CliRun merge = RunCli(dir, {"merge", diary}, machineA);
    ASSERT_EQ(merge.status, 0) << merge.err;
    EXPECT_NE(merge.err.find(lookalike + " is named like a conflict copy"), std::string::npos) << merge.err;
    EXPECT_EQ(ReadBytes(lookalike), "not a diary");
    const CliRun dump = RunCli(dir, {"dump", diary}, machineA);
    EXPECT_TRUE(dump.err.empty()) << dump.err;
}

} // namespace
