#include "diary/diary_file.h"
#include "platform/format.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

namespace {

const std::string kFolder = std::string(TARELOG_TEST_DATA) + "/bad";

struct Expectation {
    std::string file;
    bool loads = false;
    std::string detail; // for a failing load: a part of the error's detail
    int records = 0;    // for a good load
    int digits = 0;
    std::string unit;
};

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t'))
        fields.push_back(field);
    if (!line.empty() && line.back() == '\t')
        fields.emplace_back();
    return fields;
}

std::vector<Expectation> ReadManifest()
{
    std::vector<Expectation> expectations;
    std::stringstream manifest(ReadBytes(kFolder + "/EXPECTED.txt"));
    std::string line;
    while (std::getline(manifest, line)) {
        const std::vector<std::string> f = SplitTabs(line);
        Expectation e;
        e.file = f.at(0);
        e.loads = f.at(1) == "ok";
        if (e.loads) {
            e.records = std::stoi(f.at(2));
            e.digits = std::stoi(f.at(3));
            e.unit = f.size() > 4 ? f[4] : "";
        } else {
            EXPECT_EQ(f.at(1), "error") << line;
            e.detail = f.at(2);
        }
        expectations.push_back(e);
    }
    return expectations;
}

// The diary that is open when a corpus file is loaded over it.
CTarelogDoc OpenDiary()
{
    CTarelogDoc doc;
    doc.SetDayWeight(71.5, 2001, 1, 1);
    doc.SetDayWeight(70.5, 2001, 1, 3);
    doc.GetRecord(1).reserved[0] = 0x5A;
    doc.m_unit = u"lb";
    doc.m_digits = 4;
    doc.SetPathName("open.tlg");
    return doc;
}

TEST(DamagedCorpus, EveryFileIsListedAndThereAreEnough)
{
    const std::vector<Expectation> expectations = ReadManifest();
    std::set<std::string> listed;
    int failing = 0;
    for (const Expectation& e : expectations) {
        EXPECT_TRUE(listed.insert(e.file).second) << "listed twice: " << e.file;
        failing += e.loads ? 0 : 1;
    }
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder))
        if (entry.path().extension() == ".tlg")
            present.insert(entry.path().filename().string());
    EXPECT_EQ(listed, present);
    EXPECT_GE(failing, 30);
}

TEST(DamagedCorpus, EachFileLoadsOrFailsAsListedWithoutTouchingTheOpenDiary)
{
    for (const Expectation& e : ReadManifest()) {
        SCOPED_TRACE(e.file);
        const std::string path = kFolder + "/" + e.file;
        CTarelogDoc doc = OpenDiary();
        const std::string before = StoreDiaryBytes(doc);
        const DiaryFileError error = LoadDiaryFile(path, doc).error_or({});
        EXPECT_TRUE(doc.IsModified()); // set by SetDayWeight; a load never clears it
        EXPECT_EQ(doc.GetPathName(), "open.tlg");
        if (!e.loads) {
            ASSERT_EQ(error.kind, DiaryFileError::Kind::Damaged) << error.EnglishMessage();
            EXPECT_NE(error.Detail().find(e.detail), std::string::npos) << error.Detail();
            EXPECT_NE(error.EnglishMessage().find(path), std::string::npos);
            const std::string japanese = error.JapaneseMessage();
            EXPECT_NE(japanese.find(path), std::string::npos);
            EXPECT_EQ(japanese.find(" the "), std::string::npos) << japanese;
            EXPECT_NE(japanese.find("先頭から " + std::to_string(error.offset) + " バイト"), std::string::npos)
                << japanese;
            EXPECT_EQ(StoreDiaryBytes(doc), before);
            continue;
        }
        ASSERT_FALSE(error) << error.EnglishMessage();
        EXPECT_EQ(doc.GetRecordCount(), e.records);
        EXPECT_EQ(doc.m_digits, e.digits);
        EXPECT_EQ(ToUtf8(doc.m_unit), e.unit);
        // What loads saves and loads again to the same document.
        CTarelogDoc again;
        ASSERT_TRUE(LoadDiaryBytes(StoreDiaryBytes(doc), "again", again));
        EXPECT_EQ(StoreDiaryBytes(again), StoreDiaryBytes(doc));
    }
}

TEST(DamagedCorpus, EveryTruncationOfAGoodFileFailsAndKeepsTheOpenDiary)
{
    CTarelogDoc good;
    good.SetDayWeight(65.5, 2002, 8, 30);
    good.SetDayWeight(65.0, 2002, 8, 31);
    good.m_unit = std::u16string(300, u'g'); // the 16-bit length form
    const std::string bytes = StoreDiaryBytes(good);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        CTarelogDoc doc = OpenDiary();
        const std::string before = StoreDiaryBytes(doc);
        const DiaryFileError error =
            LoadDiaryBytes(std::string_view(bytes).substr(0, length), "cut.tlg", doc).error_or({});
        ASSERT_EQ(error.kind, DiaryFileError::Kind::Damaged) << length;
        ASSERT_EQ(StoreDiaryBytes(doc), before) << length;
    }
}

// Random damage to good files: flipped bytes, cut ends, lengths and counts
// overwritten with boundary values. Whatever loads must save and load back
// to itself; whatever fails must leave the open diary as it was.
TEST(DamagedCorpus, RandomDamageNeverCorruptsTheOpenDiary)
{
    std::vector<std::string> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TARELOG_TEST_DATA) + "/good"))
        if (entry.path().extension() == ".tlg" && entry.file_size() < 4096)
            seeds.push_back(ReadBytes(entry.path().string()));
    ASSERT_FALSE(seeds.empty());
    const char* boundaries[] = {"\xFF", "\xFE", "\x00", "\x7F", "\x80", "\x01"};
    std::mt19937 random(2002);
    const std::string openBytes = StoreDiaryBytes(OpenDiary());
    int failed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = seeds[random() % seeds.size()];
        for (int edits = 1 + static_cast<int>(random() % 4); edits > 0 && !bytes.empty(); --edits) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0: bytes[at] = static_cast<char>(random()); break;
            case 1: bytes.resize(at); break;
            default: bytes.replace(at, 1, boundaries[random() % 6], 1); break;
            }
        }
        CTarelogDoc doc;
        ASSERT_TRUE(LoadDiaryBytes(openBytes, "open.tlg", doc));
        if (const DiaryFileError error = LoadDiaryBytes(bytes, "fuzzed.tlg", doc).error_or({})) {
            ++failed;
            ASSERT_EQ(error.kind, DiaryFileError::Kind::Damaged);
            ASSERT_EQ(StoreDiaryBytes(doc), openBytes) << "round " << round;
            continue;
        }
        CTarelogDoc again;
        ASSERT_TRUE(LoadDiaryBytes(StoreDiaryBytes(doc), "again", again)) << "round " << round;
        ASSERT_EQ(StoreDiaryBytes(again), StoreDiaryBytes(doc)) << "round " << round;
    }
    EXPECT_GT(failed, 1000);
    EXPECT_LT(failed, 20000);
}

} // namespace
