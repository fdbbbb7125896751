#include "cli_runner.h"
#include "tarelog_version.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

std::string RecordBytes(const std::string& weight, const std::string& ymd, const std::string& reserved = "00 00")
{
    return Hex(weight + " " + ymd + " " + reserved);
}

class Cli : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.File("diary.tlg");
};

TEST_F(Cli, DumpPrintsTheWholeFileAsJson)
{
    WriteBytes(file,
        Hex("65 00 00 00 05 00 00 00")
            + RecordBytes("00 00 00 00 00 60 50 40", "D2 07 08 00 1E 00", "AB 0C") // 65.5, 2002-08-30
            + RecordBytes("00 00 00 00 00 00 F8 7F", "D2 07 0D 00 00 00")          // NaN, month 13 day 0
            + RecordBytes("00 00 00 00 00 00 F0 7F", "FF FF 01 00 01 00")          // +inf, year -1
            + RecordBytes("00 00 00 00 00 00 F0 FF", "D2 07 08 00 1F 00")          // -inf
            + RecordBytes("9A 99 99 99 99 99 B9 3F", "D2 07 09 00 01 00")          // 0.1
            + Hex("FF FE FF 06 22 00 5C 00 0A 00 53 4F CD 91 01 D8")               // "\ newline 体重 + lone surrogate
            + Hex("FB FF FF FF"));
    const CliRun run = RunCli(dir, {"dump", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
        "{\"version\":101,\"unit\":\"\\\"\\\\\\u000a体重\uFFFD\",\"digits\":-5,\"records\":["
        "{\"date\":\"2002-08-30\",\"year\":2002,\"month\":8,\"day\":30,\"weight\":65.5,\"reserved\":\"ab0c\"},"
        "{\"date\":\"2002-13-00\",\"year\":2002,\"month\":13,\"day\":0,\"weight\":\"nan\",\"reserved\":\"0000\"},"
        "{\"date\":\"-001-01-01\",\"year\":-1,\"month\":1,\"day\":1,\"weight\":\"inf\",\"reserved\":\"0000\"},"
        "{\"date\":\"2002-08-31\",\"year\":2002,\"month\":8,\"day\":31,\"weight\":\"-inf\",\"reserved\":\"0000\"},"
        "{\"date\":\"2002-09-01\",\"year\":2002,\"month\":9,\"day\":1,\"weight\":0.1,\"reserved\":\"0000\"}]}\n");
}

TEST_F(Cli, DumpOfAnOldFileShowsItsVersionAndDefaults)
{
    WriteBytes(file, Hex("64 00 00 00 00 00 00 00"));
    const CliRun run = RunCli(dir, {"dump", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"version\":100,\"unit\":\"k\",\"digits\":1,\"records\":[]}\n");
}

TEST_F(Cli, FileErrorsExitOneWithTheFileNamedAndNothingOnStdout)
{
    WriteBytes(file, Hex("65 00 00 00 02 00 00 00"));
    for (const std::string& path : {file, dir.File("missing.tlg")}) {
        const CliRun run = RunCli(dir, {"dump", path});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    }
    EXPECT_NE(RunCli(dir, {"dump", file}).err.find("record count"), std::string::npos);
}

TEST_F(Cli, UsageErrorsExitTwoAndHelpExitsZero)
{
    EXPECT_EQ(RunCli(dir, {}).status, 2);
    EXPECT_EQ(RunCli(dir, {"frobnicate"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"dump"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"dump", "a", "b"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"add", file, "2002-08-30"}).status, 2);
    EXPECT_EQ(RunCli(dir, {"resave", file}).status, 2);
    const CliRun help = RunCli(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* verb : {"dump", "add", "resave"})
        EXPECT_NE(help.out.find(verb), std::string::npos);
    for (const char* verb : {"dump", "add", "resave"}) {
        const CliRun run = RunCli(dir, {verb, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.find(std::string("usage: tarelog-cli ") + verb), 0u) << run.out;
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(Cli, VersionAndTheHelpOfEveryVerb)
{
    const CliRun version = RunCli(dir, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("tarelog-cli ") + TARELOG_VERSION + "\n");
    const std::vector<std::string> verbs = ListedVerbs(RunCli(dir, {"--help"}).out);
    EXPECT_GE(verbs.size(), 7u);
    for (const std::string& verb : verbs) {
        const CliRun help = RunCli(dir, {verb, "--help"});
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_EQ(help.out.find("usage: tarelog-cli " + verb), 0u) << help.out;
        EXPECT_EQ(help.err, "") << verb;
    }
}

// "--" ends the options of every verb: what follows is a file even when it
// starts with '-', and a "--help" there is a name, not a request for help.
TEST_F(Cli, DoubleDashEndsTheOptionsOfEveryVerb)
{
    WriteBytes(dir.File("-d.tlg"), Hex("65 00 00 00 00 00 00 00 FF FE FF 01 6B 00 00 00 00 00"));
    EXPECT_EQ(RunCli(dir, {"dump", "-d.tlg"}).status, 2);
    const CliRun dump = RunCli(dir, {"dump", "--", "-d.tlg"});
    EXPECT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out.find("{\"version\":101"), 0u) << dump.out;

    EXPECT_EQ(RunCli(dir, {"add", "--", "-d.tlg", "2002-08-30", "-1.5"}).status, 0);
    EXPECT_NE(RunCli(dir, {"dump", "--", "-d.tlg"}).out.find("\"weight\":-1.5"), std::string::npos);
    EXPECT_EQ(RunCli(dir, {"resave", "--", "-d.tlg", "-e.tlg"}).status, 0);
    EXPECT_EQ(ReadBytes(dir.File("-e.tlg")), ReadBytes(dir.File("-d.tlg")));

    const CliRun stats = RunCli(dir, {"stats", "--json", "--", "-d.tlg"});
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_EQ(stats.out.find("{\"entries\": 1,"), 0u) << stats.out;
    EXPECT_EQ(RunCli(dir, {"stats", "--", "-d.tlg"}).status, 0);
    const CliRun csv = RunCli(dir, {"export-csv", "--", "-d.tlg"});
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, "date,weight\n2002-08-30,-1.5\n");
    WriteBytes(dir.File("-in.csv"), "date,weight\n2002-08-31,64\n");
    const CliRun import = RunCli(dir, {"import-csv", "--dry-run", "--", "-d.tlg", "-in.csv"});
    EXPECT_EQ(import.status, 0) << import.err;
    const CliRun render = RunCli(dir, {"render", "-o", "g.ops", "--", "-d.tlg"});
    EXPECT_EQ(render.status, 0) << render.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("g.ops")));

    const CliRun named = RunCli(dir, {"dump", "--", "--help"});
    EXPECT_EQ(named.status, 1) << "a file named --help, which does not exist";
    EXPECT_EQ(named.out, "");
}

// Outside a desktop session nobody sets XDG_RUNTIME_DIR; a normal drawing
// must still print nothing, and leave nothing behind.
TEST_F(Cli, RenderPrintsNothingOutsideADesktopSession)
{
    WriteBytes(file,
        Hex("65 00 00 00 01 00 00 00") + RecordBytes("00 00 00 00 00 60 50 40", "D2 07 08 00 1E 00")
            + Hex("FF FE FF 01 6B 00 00 00 00 00"));
    const std::string tmp = dir.File("tmp");
    std::filesystem::create_directory(tmp);
    const char* savedRuntime = std::getenv("XDG_RUNTIME_DIR");
    const char* savedTmp = std::getenv("TMPDIR");
    const std::string runtime = savedRuntime ? savedRuntime : "", oldTmp = savedTmp ? savedTmp : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", tmp.c_str(), 1);
    const CliRun run = RunCli(dir, {"render", file, "-o", dir.File("g.png"), "--no-profile"});
    savedRuntime ? ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    savedTmp ? ::setenv("TMPDIR", oldTmp.c_str(), 1) : ::unsetenv("TMPDIR");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(std::filesystem::exists(dir.File("g.png")));
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
}

TEST_F(Cli, AddCreatesThenInsertsInDateOrderAndReplaces)
{
    ASSERT_EQ(RunCli(dir, {"add", file, "2002-08-30", "65.5"}).status, 0);
    EXPECT_EQ(ReadBytes(file),
        Hex("65 00 00 00 01 00 00 00") + RecordBytes("00 00 00 00 00 60 50 40", "D2 07 08 00 1E 00")
            + Hex("FF FE FF 01 6B 00 00 00 00 00"));
    ASSERT_EQ(RunCli(dir, {"add", file, "2002-08-01", "64"}).status, 0);
    ASSERT_EQ(RunCli(dir, {"add", file, "2004-02-29", "-1e-3"}).status, 0);
    ASSERT_EQ(RunCli(dir, {"add", file, "2002-08-30", "66.25"}).status, 0);
    const CliRun run = RunCli(dir, {"dump", file});
    EXPECT_EQ(run.out,
        "{\"version\":101,\"unit\":\"k\",\"digits\":0,\"records\":["
        "{\"date\":\"2002-08-01\",\"year\":2002,\"month\":8,\"day\":1,\"weight\":64,\"reserved\":\"0000\"},"
        "{\"date\":\"2002-08-30\",\"year\":2002,\"month\":8,\"day\":30,\"weight\":66.25,\"reserved\":\"0000\"},"
        "{\"date\":\"2004-02-29\",\"year\":2004,\"month\":2,\"day\":29,\"weight\":-0.001,\"reserved\":\"0000\"}]}\n");
}

TEST_F(Cli, AddKeepsTheUnitDigitsAndReservedBytesOfAnExistingFile)
{
    const std::string record = RecordBytes("00 00 00 00 00 60 50 40", "D2 07 08 00 1E 00", "12 34");
    WriteBytes(file, Hex("64 00 00 00 01 00 00 00") + record);
    ASSERT_EQ(RunCli(dir, {"add", file, "2002-08-31", "66"}).status, 0);
    EXPECT_EQ(ReadBytes(file),
        Hex("65 00 00 00 02 00 00 00") + record + RecordBytes("00 00 00 00 00 80 50 40", "D2 07 08 00 1F 00")
            + Hex("FF FE FF 01 6B 00 01 00 00 00"));
}

TEST_F(Cli, AddRefusesWhatIsNotARealDateOrAFiniteNumber)
{
    WriteBytes(file, Hex("65 00 00 00 00 00 00 00 FF FE FF 00 00 00 00 00"));
    const std::string before = ReadBytes(file);
    for (const char* date : {"2002-02-29", "1900-02-29", "2002-13-01", "2002-00-10", "2002-04-31", "2002-8-30",
             "02002-08-30", "2002/08/30", "0000-01-01", "2002-08-3a", "", "2002-08-30x"}) {
        const CliRun run = RunCli(dir, {"add", file, date, "65"});
        EXPECT_EQ(run.status, 1) << date;
        EXPECT_NE(run.err.find("date"), std::string::npos) << run.err;
    }
    for (const char* weight : {"65.5kg", "", "nan", "inf", "-inf", "1e999", "65,5", " 65", "0x10"}) {
        const CliRun run = RunCli(dir, {"add", file, "2002-08-30", weight});
        EXPECT_EQ(run.status, 1) << weight;
        EXPECT_NE(run.err.find("number"), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(RunCli(dir, {"add", dir.File("new.tlg"), "2002-02-30", "65"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.tlg")));
}

TEST_F(Cli, AddToADamagedFileLeavesItAlone)
{
    const std::string damaged = Hex("65 00 00 00 01 00 00 00 00 00");
    WriteBytes(file, damaged);
    const CliRun run = RunCli(dir, {"add", file, "2002-08-30", "65"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("damaged"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(file), damaged);
}

TEST_F(Cli, ResaveWritesTheCurrentVersion)
{
    const std::string record = RecordBytes("00 00 00 00 00 60 50 40", "D2 07 08 00 1E 00", "FF EE");
    WriteBytes(file, Hex("64 00 00 00 01 00 00 00") + record);
    const std::string out = dir.File("out.tlg");
    ASSERT_EQ(RunCli(dir, {"resave", file, out}).status, 0);
    EXPECT_EQ(ReadBytes(out), Hex("65 00 00 00 01 00 00 00") + record + Hex("FF FE FF 01 6B 00 01 00 00 00"));
    // In place, and the one-byte unit form comes back wide.
    WriteBytes(file, Hex("65 00 00 00 00 00 00 00 02 6B 67 03 00 00 00 ") + "trailing");
    ASSERT_EQ(RunCli(dir, {"resave", file, file}).status, 0);
    EXPECT_EQ(ReadBytes(file), Hex("65 00 00 00 00 00 00 00 FF FE FF 02 6B 00 67 00 03 00 00 00"));
}

TEST_F(Cli, ResaveOfAMissingFileWritesNothing)
{
    const std::string out = dir.File("out.tlg");
    const CliRun run = RunCli(dir, {"resave", dir.File("missing.tlg"), out});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    WriteBytes(file, Hex("65 00 00 00 00 00 00 00 FF FE FF 00 00 00 00 00"));
    EXPECT_EQ(RunCli(dir, {"resave", file, dir.File("no/dir/out.tlg")}).status, 1);
}

// Options read as every GNU tool reads them, the same in every verb.
TEST_F(Cli, OptionsTakeEveryGnuSpelling)
{
    WriteBytes(file,
        Hex("65 00 00 00 01 00 00 00") + RecordBytes("00 00 00 00 00 60 50 40", "D2 07 08 00 1E 00")
            + Hex("FF FE FF 01 6B 00 00 00 00 00"));
    const std::string reference = dir.File("reference.ops");
    ASSERT_EQ(RunCli(dir, {"render", file, "-o", reference, "--size", "120x90", "--avg", "wide"}).status, 0);
    const std::vector<std::vector<std::string>> spellings = {
        {"render", file, "-oa.ops", "--size=120x90", "--avg=wide"},
        {"render", "--size", "120x90", "-o", "a.ops", "--av=wide", file},
        {"render", "-o", "a.ops", "--size=120x90", "--avg", "wide", "--", file},
    };
    for (const std::vector<std::string>& args : spellings) {
        std::filesystem::remove(dir.File("a.ops"));
        const CliRun run = RunCli(dir, args);
        EXPECT_EQ(run.status, 0) << args[2] << ": " << run.err;
        EXPECT_EQ(ReadBytes(dir.File("a.ops")), ReadBytes(reference)) << args[2];
    }
    // An output whose name starts with '-', after "--" or as a path.
    EXPECT_EQ(RunCli(dir, {"export-csv", file, "-o", "--", "-x.csv"}).status, 0);
    EXPECT_EQ(RunCli(dir, {"export-csv", file, "-o", "./-y.csv"}).status, 0);
    EXPECT_EQ(ReadBytes(dir.File("-x.csv")), "date,weight\n2002-08-30,65.5\n");
    EXPECT_EQ(ReadBytes(dir.File("-y.csv")), ReadBytes(dir.File("-x.csv")));
    // A weight below zero is no option.
    EXPECT_EQ(RunCli(dir, {"add", file, "2002-08-31", "-0.5"}).status, 0);
    EXPECT_NE(RunCli(dir, {"dump", file}).out.find("\"weight\":-0.5"), std::string::npos);
    EXPECT_EQ(RunCli(dir, {"stats", "--json", file}).status, 0);
}

// A usage error is one line naming what is wrong, and where the help is.
TEST_F(Cli, UsageErrorsNameWhatIsWrongInOneLine)
{
    WriteBytes(file, Hex("65 00 00 00 00 00 00 00 FF FE FF 00 00 00 00 00"));
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"add", file, "2026-01-01", "60", "--forse"}, "add: unknown option '--forse'"},
        {{"render", file, "-x", "-o", "a.png"}, "render: unknown option '-x'"},
        {{"render", file, "-o", "a.png", "--size"}, "render: --size needs a value"},
        {{"export-csv", file, "-o"}, "export-csv: -o needs a value"},
        {{"render", file, "-o", "a.png", "--size=12"}, "render: --size wants WxH with each side 0 to 8192, not '12'"},
        {{"render", file, "-o", "a.png", "--no-profile=yes"}, "render: '--no-profile' takes no value"},
        {{"render", file, "-o", "a.png", "--s", "1"}, "render: option '--s' is ambiguous"},
        {{"stats", file, "--yaml"}, "stats: unknown option '--yaml'"},
        {{"import-csv", file, "in.csv", "--keep=noon"}, "import-csv: --keep takes latest or earliest, not 'noon'"},
        {{"resave", file}, "resave: give the diary IN and the file OUT"},
        {{"dump", file, "--", "--json"}, "dump: give exactly one diary FILE"},
    };
    for (const auto& [args, problem] : cases) {
        const CliRun run = RunCli(dir, args);
        EXPECT_EQ(run.status, 2) << problem;
        EXPECT_EQ(run.out, "") << problem;
        EXPECT_EQ(run.err, "tarelog-cli " + problem + "\nTry 'tarelog-cli " + args[0] + " --help'.\n");
    }
    // --help anywhere among the options wins over a mistake beside it.
    const CliRun help = RunCli(dir, {"render", "--bogus", "-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.find("usage: tarelog-cli render"), 0u) << help.out;
    EXPECT_EQ(RunCli(dir, {"frobnicate"}).err, "tarelog-cli: unknown verb 'frobnicate'\nTry 'tarelog-cli --help'.\n");
}

} // namespace
