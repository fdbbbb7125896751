// The completion offers whatever the help names: the two are read from the
// same tables, and these cases fail the day they stop being.
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

namespace {

class Completion : public ::testing::Test {
protected:
    // What a Tab at the last of `words` (those after the program's name) offers.
    std::set<std::string> Offered(std::vector<std::string> words)
    {
        words.insert(words.begin(), "tarelog-cli");
        words.insert(words.begin(), std::to_string(words.size() - 1));
        words.insert(words.begin(), "--complete");
        const CliRun run = RunCli(dir, words);
        EXPECT_EQ(run.status, 0) << run.err;
        std::set<std::string> offered;
        for (std::size_t at = 0, end; (end = run.out.find('\n', at)) != std::string::npos; at = end + 1)
            offered.insert(run.out.substr(at, end - at));
        return offered;
    }

    std::string Help(const std::string& verb) { return RunCli(dir, {verb, "--help"}).out; }

    TempDir dir;
};

// Every "-x" and "--name" the text mentions.
std::set<std::string> OptionsNamed(const std::string& help)
{
    std::set<std::string> options;
    const std::regex option(R"((?:^|[\s\[(,|])(--?[A-Za-z][A-Za-z0-9-]*))");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it)
        options.insert((*it)[1]);
    return options;
}

// The lines "  name  what it is" under `heading`, up to a blank line.
std::vector<std::string> NamesListedUnder(const std::string& help, const std::string& heading)
{
    std::vector<std::string> names;
    std::size_t line = help.find(heading + "\n");
    if (line == std::string::npos)
        return names;
    for (line = help.find('\n', line) + 1; help.compare(line, 2, "  ") == 0; line = help.find('\n', line) + 1)
        names.push_back(help.substr(line + 2, help.find(' ', line + 2) - line - 2));
    return names;
}

TEST_F(Completion, OffersEveryVerbAndEveryOptionTheHelpNames)
{
    const std::vector<std::string> verbs = ListedVerbs(RunCli(dir, {"--help"}).out);
    ASSERT_GE(verbs.size(), 8u);
    const std::set<std::string> offeredVerbs = Offered({""});
    for (const std::string& verb : verbs) {
        EXPECT_TRUE(offeredVerbs.contains(verb)) << verb;
        const std::set<std::string> named = OptionsNamed(Help(verb));
        EXPECT_TRUE(named.contains("--help")) << verb;
        const std::set<std::string> offered = Offered({verb, "-"});
        for (const std::string& option : named)
            EXPECT_TRUE(offered.contains(option)) << verb << " " << option;
    }
    EXPECT_GE(OptionsNamed(Help("import")).size(), 8u) << "the help's options are read at all";
}

TEST_F(Completion, OffersEveryLayoutAndEveryChoiceTheHelpNames)
{
    const std::vector<std::string> layouts = NamesListedUnder(Help("import"), "LAYOUT is one of");
    ASSERT_GE(layouts.size(), 13u);
    const std::set<std::string> offered = Offered({"import", "d.tlg", "in.csv", "--format", ""});
    EXPECT_EQ(offered, std::set<std::string>(layouts.begin(), layouts.end()));
    EXPECT_EQ(Offered({"import", "d.tlg", "--format=gar"}), std::set<std::string>{"garmin"});
    EXPECT_EQ(Offered({"import-csv", "--form=sam"}), std::set<std::string>{"samsung"});

    // A value written as a|b|c offers each of them.
    for (const std::string verb : {"import", "render"}) {
        const std::string help = Help(verb);
        const std::regex choices(R"((--[a-z-]+) ([a-z0-9]+(?:\|[a-z0-9]+)+))");
        int seen = 0;
        for (auto it = std::sregex_iterator(help.begin(), help.end(), choices); it != std::sregex_iterator(); ++it) {
            const std::set<std::string> offered = Offered({verb, "d.tlg", (*it)[1], ""});
            const std::string list = (*it)[2];
            for (std::size_t at = 0, bar; at <= list.size(); at = bar + 1) {
                bar = std::min(list.find('|', at), list.size());
                EXPECT_TRUE(offered.contains(list.substr(at, bar - at))) << (*it)[0];
            }
            ++seen;
        }
        EXPECT_GE(seen, 1) << verb;
    }
}

TEST_F(Completion, OffersTheAveragesAsAListWithoutRepeats)
{
    const std::string help = Help("render");
    std::smatch any;
    ASSERT_TRUE(std::regex_search(help, any, std::regex(R"(--avg LIST .* any of ([a-z,]+))")));
    const std::string names = any[1];
    std::set<std::string> expected;
    for (std::size_t at = 0, comma; at <= names.size(); at = comma + 1) {
        comma = std::min(names.find(',', at), names.size());
        expected.insert(names.substr(at, comma - at));
    }
    EXPECT_EQ(Offered({"render", "d.tlg", "--avg", ""}), expected);
    EXPECT_EQ(Offered({"render", "d.tlg", "--avg", "narrow,"}),
        (std::set<std::string>{"narrow,normal", "narrow,wide"}));
    EXPECT_EQ(Offered({"render", "--avg=wide,nar"}), std::set<std::string>{"wide,narrow"});
}

TEST_F(Completion, OffersDiaryFilesWhereADiaryGoesAndNothingAfterTheLastOperand)
{
    const std::set<std::string> diaries{"@files tlg"};
    for (const std::string verb :
        {"add", "dump", "export-csv", "import", "import-csv", "merge", "render", "resave", "stats"})
        EXPECT_EQ(Offered({verb, ""}), diaries) << verb;
    EXPECT_EQ(Offered({"resave", "a.tlg", ""}), diaries);
    EXPECT_EQ(Offered({"render", "-o", "a.png", ""}), diaries) << "after an option and its value";
    EXPECT_EQ(Offered({"render", "-o", ""}), std::set<std::string>{"@files png|svg|ops"});
    EXPECT_EQ(Offered({"export-csv", "-o", ""}), std::set<std::string>{"@files csv"});
    EXPECT_EQ(Offered({"import", "d.tlg", ""}), std::set<std::string>{"@files"});
    EXPECT_EQ(Offered({"import", "d.tlg", "in.csv", ""}), std::set<std::string>{});
    EXPECT_EQ(Offered({"merge", "d.tlg", "backup.tlg", "other.tlg", ""}), diaries) << "OTHER... goes on";
    EXPECT_EQ(Offered({"add", "d.tlg", "-1.5", "2026-01-01", ""}), std::set<std::string>{})
        << "a negative weight is an operand";
    EXPECT_EQ(Offered({"dump", "--", "-"}), diaries) << "after --, files and no options";
    EXPECT_EQ(Offered({"frobnicate", ""}), std::set<std::string>{});
    EXPECT_EQ(RunCli(dir, {"--complete", "x"}).status, 2);
}

} // namespace
