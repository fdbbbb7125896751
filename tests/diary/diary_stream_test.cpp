// The streaming reader against the whole-file loader: the same files
// accepted with the same contents, the same files refused with the same
// error, for every chunk size.
#include "diary/diary_file.h"
#include "diary/diary_stream.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace {

const std::string kData = TARELOG_TEST_DATA;

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    for (const char* folder : {"/bad", "/good"})
        for (const auto& entry : std::filesystem::directory_iterator(kData + folder))
            if (entry.path().extension() == ".tlg")
                files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string RecordBytes(const std::vector<WeightRecord>& records)
{
    return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WeightRecord));
}

// Streams `path` in chunks of `chunkRecords` and checks every outcome
// against LoadDiaryFile of the same file. Returns whether the file loaded.
bool ExpectStreamMatchesLoader(const std::string& path, std::size_t chunkRecords)
{
    SCOPED_TRACE(path + " in chunks of " + std::to_string(chunkRecords));
    CTarelogDoc doc;
    const auto load = LoadDiaryFile(path, doc);
    const DiaryFileError loaded = load.error_or({});
    const std::int32_t version = load ? load->version : 0;

    DiaryStream stream(chunkRecords);
    const DiaryFileError opened = stream.Open(path).error_or({});
    EXPECT_EQ(opened.kind, loaded.kind);
    EXPECT_EQ(opened.Detail(), loaded.Detail());
    EXPECT_EQ(opened.offset, loaded.offset);
    EXPECT_EQ(opened.systemError, loaded.systemError);
    EXPECT_EQ(opened.path, loaded.path);
    if (loaded || opened)
        return false;

    EXPECT_EQ(stream.Version(), version);
    EXPECT_EQ(stream.Unit(), doc.m_unit);
    EXPECT_EQ(stream.Digits(), doc.m_digits);
    EXPECT_EQ(stream.RecordCount(), doc.Records().size());
    std::vector<WeightRecord> streamed;
    for (;;) {
        const auto next = stream.NextChunk();
        const DiaryFileError error = next.error_or({});
        const std::span<const WeightRecord> chunk = next ? *next : std::span<const WeightRecord>();
        EXPECT_FALSE(error) << error.Detail();
        if (error || chunk.empty())
            break;
        EXPECT_LE(chunk.size(), chunkRecords);
        streamed.insert(streamed.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(RecordBytes(streamed), RecordBytes(doc.Records())); // bytes, so NaN weights compare too
    return true;
}

TEST(DiaryStream, AgreesWithTheLoaderOnEveryCorpusFile)
{
    int loaded = 0;
    int refused = 0;
    for (const std::string& path : CorpusFiles())
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, DiaryStream::kDefaultChunkRecords})
            (ExpectStreamMatchesLoader(path, chunk) ? loaded : refused)++;
    // Both halves of the corpus are exercised, not one verdict for all.
    EXPECT_GE(loaded, 20 * 3);
    EXPECT_GE(refused, 30 * 3);
}

TEST(DiaryStream, AgreesWithTheLoaderOnEveryTruncationOfAGoodFile)
{
    TempDir dir;
    const std::string cut = dir.File("cut.tlg");
    for (const char* name : {"/good/long-unit-300.tlg", "/good/shift-jis-unit.tlg", "/good/version-100-two-records.tlg",
             "/good/reserved-bytes.tlg"}) {
        const std::string bytes = ReadBytes(kData + name);
        for (std::size_t length = 0; length <= bytes.size(); ++length) {
            WriteBytes(cut, bytes.substr(0, length));
            ExpectStreamMatchesLoader(cut, 2);
        }
    }
}

// Boundary values written over counts, lengths and text of good files, and
// cut ends; most of these are refused, each for its own reason.
TEST(DiaryStream, AgreesWithTheLoaderOnRandomDamage)
{
    TempDir dir;
    const std::string path = dir.File("damaged.tlg");
    std::vector<std::string> seeds;
    for (const std::string& file : CorpusFiles())
        if (file.find("/good/") != std::string::npos && std::filesystem::file_size(file) < 4096)
            seeds.push_back(ReadBytes(file));
    const char boundaries[] = {'\xFF', '\xFE', '\x00', '\x7F', '\x80', '\x01'};
    std::mt19937 random(1604);
    for (int round = 0; round < 600; ++round) {
        std::string bytes = seeds[random() % seeds.size()];
        for (int edits = 1 + static_cast<int>(random() % 3); edits > 0 && !bytes.empty(); --edits) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0: bytes[at] = static_cast<char>(random()); break;
            case 1: bytes.resize(at); break;
            default: bytes[at] = boundaries[random() % sizeof boundaries]; break;
            }
        }
        WriteBytes(path, bytes);
        ExpectStreamMatchesLoader(path, 1 + random() % 5);
        if (testing::Test::HasFailure())
            FAIL() << "round " << round;
    }
}

// The stream reads the unit text through a window that grows; texts and
// false lengths around and far beyond its first size, with trailing bytes
// after them, are judged as the loader judges them.
TEST(DiaryStream, AgreesWithTheLoaderOnLongUnitsAndTrailingBytes)
{
    TempDir dir;
    const std::string path = dir.File("unit.tlg");
    for (const std::size_t units : {std::size_t{2047}, std::size_t{2048}, std::size_t{5000}, std::size_t{70000}}) {
        CTarelogDoc doc;
        doc.SetDayWeight(60.0, 2020, 1, 1);
        doc.m_unit = std::u16string(units, u'\u30AD');
        const std::string bytes = StoreDiaryBytes(doc);
        for (const std::size_t trailing : {std::size_t{0}, std::size_t{3}, std::size_t{100000}}) {
            WriteBytes(path, bytes + std::string(trailing, '\x42'));
            EXPECT_TRUE(ExpectStreamMatchesLoader(path, 4));
            // The same file cut inside the text and inside the digits.
            WriteBytes(path, bytes.substr(0, bytes.size() - 5));
            EXPECT_FALSE(ExpectStreamMatchesLoader(path, 4));
            WriteBytes(path, bytes.substr(0, bytes.size() - 2));
            EXPECT_FALSE(ExpectStreamMatchesLoader(path, 4));
        }
    }
    // A wide text whose 32-bit length claims more than the file holds.
    WriteBytes(path, Hex("65 00 00 00 00 00 00 00 FF FE FF FF FF FF 00 00 10 00") + std::string(50000, 'x'));
    EXPECT_FALSE(ExpectStreamMatchesLoader(path, 4));
}

TEST(DiaryStream, RefusesWhatCannotBeOpenedAsTheLoaderDoes)
{
    TempDir dir;
    ExpectStreamMatchesLoader(dir.File("missing.tlg"), 4);
    ExpectStreamMatchesLoader(dir.Path().string(), 4);
    const std::string fifo = dir.File("pipe.tlg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ExpectStreamMatchesLoader(fifo, 4);
}

TEST(DiaryStream, AFileCutShortWhileItIsReadStopsTheStreamWithAnError)
{
    TempDir dir;
    const std::string path = dir.File("shrinks.tlg");
    CTarelogDoc doc;
    for (int day = 1; day <= 20; ++day)
        doc.SetDayWeight(60.0 + day, 2020, 1, day);
    WriteBytes(path, StoreDiaryBytes(doc));
    DiaryStream stream(8);
    ASSERT_TRUE(stream.Open(path));
    const auto chunk = stream.NextChunk();
    ASSERT_TRUE(chunk);
    ASSERT_EQ(chunk->size(), 8u);
    std::filesystem::resize_file(path, 8 + 12 * sizeof(WeightRecord));
    const DiaryFileError error = stream.NextChunk().error_or({});
    EXPECT_EQ(error.kind, DiaryFileError::Kind::CannotOpen);
    EXPECT_NE(error.Detail().find("shorter"), std::string::npos) << error.Detail();
}

} // namespace
