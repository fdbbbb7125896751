#include "diary/diary_file.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace {

WeightRecord Record(double weight, int y, int m, int d, unsigned char r0 = 0, unsigned char r1 = 0)
{
    return WeightRecord{weight, static_cast<std::int16_t>(y), static_cast<std::int16_t>(m),
        static_cast<std::int16_t>(d), {r0, r1}};
}

bool SameRecord(const WeightRecord& a, const WeightRecord& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// 65.5 on 2002-08-30 with reserved bytes AB CD.
const std::string kRecord655 = Hex("00 00 00 00 00 60 50 40 D2 07 08 00 1E 00 AB CD");

TEST(DiaryFileBytes, EmptyDocumentAsConstructed)
{
    CTarelogDoc doc;
    EXPECT_EQ(StoreDiaryBytes(doc), Hex("65 00 00 00 00 00 00 00 FF FE FF 01 6B 00 00 00 00 00"));
}

TEST(DiaryFileBytes, OneRecordWithUnitAndDigits)
{
    CTarelogDoc doc;
    doc.AppendRecord(Record(65.5, 2002, 8, 30, 0xAB, 0xCD));
    doc.m_unit = u"kg";
    doc.m_digits = 2;
    EXPECT_EQ(StoreDiaryBytes(doc),
        Hex("65 00 00 00 01 00 00 00") + kRecord655 + Hex("FF FE FF 02 6B 00 67 00 02 00 00 00"));
}

TEST(DiaryFileBytes, LoadThenStoreGivesTheSameBytes)
{
    const std::string file = Hex("65 00 00 00 02 00 00 00") + kRecord655
        + Hex("00 00 00 00 00 00 F0 BF  D0 07 02 00 1D 00 01 02") // -1.0 on 2000-02-29
        + Hex("FF FE FF 03 6B 00 67 00 FF FF  FB FF FF FF");      // unit "kg\uFFFF", digits -5
    CTarelogDoc doc;
    const auto loaded = LoadDiaryBytes(file, "x.tlg", doc);
    ASSERT_TRUE(loaded);
    const std::int32_t version = loaded->version;
    EXPECT_EQ(version, 101);
    ASSERT_EQ(doc.GetRecordCount(), 2);
    EXPECT_TRUE(SameRecord(doc.GetRecord(0), Record(65.5, 2002, 8, 30, 0xAB, 0xCD)));
    EXPECT_TRUE(SameRecord(doc.GetRecord(1), Record(-1.0, 2000, 2, 29, 0x01, 0x02)));
    EXPECT_EQ(doc.m_unit, std::u16string(u"kg\uFFFF"));
    EXPECT_EQ(doc.m_digits, -5);
    EXPECT_EQ(StoreDiaryBytes(doc), file);
}

TEST(DiaryFileBytes, Version100OpensWithUnitKAndOneDigitAndSavesAs101)
{
    const std::string records = kRecord655 + Hex("00 00 00 00 00 80 50 40 D2 07 08 00 1F 00 00 00");
    const std::string file = Hex("64 00 00 00 02 00 00 00") + records;
    ASSERT_EQ(file.size(), 40u);
    CTarelogDoc doc;
    doc.m_unit = u"lb";
    doc.m_digits = 3;
    ASSERT_TRUE(LoadDiaryBytes(file, "old.tlg", doc));
    ASSERT_EQ(doc.GetRecordCount(), 2);
    EXPECT_EQ(doc.GetRecord(1).weight, 66.0);
    EXPECT_EQ(doc.m_unit, u"k");
    EXPECT_EQ(doc.m_digits, 1);
    EXPECT_EQ(StoreDiaryBytes(doc), Hex("65 00 00 00 02 00 00 00") + records + Hex("FF FE FF 01 6B 00 01 00 00 00"));
}

TEST(DiaryFileBytes, VersionsAboveHundredTakenUnsignedReadTheUnit)
{
    for (const char* version : {"66 00 00 00", "FF FF FF FF", "00 00 00 80"}) {
        SCOPED_TRACE(version);
        CTarelogDoc doc;
        ASSERT_TRUE(LoadDiaryBytes(Hex(version) + Hex("00 00 00 00 FF FE FF 01 6C 00 03 00 00 00"), "v.tlg", doc));
        EXPECT_EQ(doc.m_unit, u"l");
        EXPECT_EQ(doc.m_digits, 3);
    }
    // Version 0 and negative-looking counts: the older layout, no records.
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryBytes(Hex("00 00 00 00 FF FF FF FF"), "v0.tlg", doc));
    EXPECT_EQ(doc.GetRecordCount(), 0);
    EXPECT_EQ(doc.m_unit, u"k");
    EXPECT_EQ(doc.m_digits, 1);
}

TEST(DiaryFileBytes, RecordsKeepFileOrderAndTrailingBytesAreIgnored)
{
    const std::string later = Hex("00 00 00 00 00 00 4F 40 D3 07 01 00 01 00 00 00"); // 62.0 on 2003-01-01
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryBytes(Hex("65 00 00 00 02 00 00 00") + later + kRecord655 + Hex("FF FE FF 00 00 00 00 00")
            + "trailing garbage",
        "t.tlg", doc));
    ASSERT_EQ(doc.GetRecordCount(), 2);
    EXPECT_EQ(doc.GetRecord(0).year, 2003);
    EXPECT_EQ(doc.GetRecord(1).year, 2002);
    EXPECT_EQ(doc.m_unit, u"");
}

TEST(DiaryFileBytes, OneByteUnitIsShiftJis)
{
    // "ｷﾛ" in half-width katakana, then the kanji 亜 (CP932 88 9F).
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryBytes(Hex("65 00 00 00 00 00 00 00 04 B7 DB 88 9F 02 00 00 00"), "sj.tlg", doc));
    EXPECT_EQ(doc.m_unit, u"\uFF77\uFF9B\u4E9C");
    EXPECT_EQ(doc.m_digits, 2);
    // Saving always writes the wide form.
    EXPECT_EQ(StoreDiaryBytes(doc), Hex("65 00 00 00 00 00 00 00 FF FE FF 03 77 FF 9B FF 9C 4E 02 00 00 00"));
}

class RecordingView : public CDocumentView {
public:
    void OnUpdate(CDocument*, long) override { ++updates; }
    int updates = 0;
};

TEST(DiaryFileOnDisk, LoadReplacesContentsButNotViewsPathOrFlag)
{
    TempDir dir;
    const std::string path = dir.File("a.tlg");
    WriteBytes(path, Hex("65 00 00 00 01 00 00 00") + kRecord655 + Hex("FF FE FF 02 6B 00 67 00 02 00 00 00"));
    CTarelogDoc doc;
    RecordingView view;
    doc.AddView(&view);
    doc.AppendRecord(Record(1, 1999, 1, 1));
    doc.AppendRecord(Record(2, 1999, 1, 2));
    doc.SetModifiedFlag(true);
    doc.SetPathName("other.tlg");
    ASSERT_TRUE(LoadDiaryFile(path, doc));
    ASSERT_EQ(doc.GetRecordCount(), 1);
    EXPECT_TRUE(SameRecord(doc.GetRecord(0), Record(65.5, 2002, 8, 30, 0xAB, 0xCD)));
    EXPECT_EQ(doc.m_unit, u"kg");
    EXPECT_EQ(doc.m_digits, 2);
    EXPECT_EQ(view.updates, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "other.tlg");
    doc.RemoveView(&view);
}

TEST(DiaryFileOnDisk, SaveThenLoadRoundTrips)
{
    TempDir dir;
    const std::string path = dir.File("round.tlg");
    CTarelogDoc doc;
    doc.SetDayWeight(65.5, 2002, 8, 30);
    doc.SetDayWeight(64.0, 2002, 8, 1);
    doc.m_unit = u"\u4F53\u91CD";
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    EXPECT_EQ(ReadBytes(path), StoreDiaryBytes(doc));
    CTarelogDoc again;
    ASSERT_TRUE(LoadDiaryFile(path, again));
    EXPECT_EQ(StoreDiaryBytes(again), StoreDiaryBytes(doc));
}

// Far beyond a lifetime of days, with every reserved byte in use: every
// record must come back.
TEST(DiaryFileOnDisk, DiaryOfHalfAMillionDaysRoundTripsRecordForRecord)
{
    TempDir dir;
    const std::string path = dir.File("large.tlg");
    CTarelogDoc doc;
    std::vector<WeightRecord> records;
    for (int i = 0; i < 500000; ++i)
        records.push_back(Record(50.0 + i * 0.001, 1000 + i / 372, 1 + i / 31 % 12, 1 + i % 31,
            static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8)));
    for (const WeightRecord& record : records)
        doc.AppendRecord(record);
    ASSERT_TRUE(SaveDiaryFile(doc, path));
    CTarelogDoc again;
    ASSERT_TRUE(LoadDiaryFile(path, again));
    ASSERT_EQ(again.Records().size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        ASSERT_TRUE(SameRecord(again.Records()[i], records[i])) << "record " << i;
    EXPECT_EQ(StoreDiaryBytes(again), ReadBytes(path));
}

TEST(DiaryFileOnDisk, WhatCannotBeOpenedSaysWhyAndNamesTheFile)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe.tlg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        int error;
        const char* japanese;
    } cases[] = {
        {dir.File("missing.tlg"), ENOENT, "見つかりません"},
        {dir.Path().string(), EISDIR, "フォルダです"},
        {fifo, EINVAL, "通常のファイルではありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CTarelogDoc doc;
        doc.AppendRecord(Record(1, 1999, 1, 1));
        const DiaryFileError error = LoadDiaryFile(c.path, doc).error_or({});
        EXPECT_EQ(error.kind, DiaryFileError::Kind::CannotOpen);
        EXPECT_EQ(error.systemError, c.error);
        EXPECT_EQ(error.EnglishMessage().find("cannot open '" + c.path + "'"), 0u) << error.EnglishMessage();
        EXPECT_NE(error.JapaneseMessage().find(c.japanese), std::string::npos) << error.JapaneseMessage();
        EXPECT_EQ(doc.GetRecordCount(), 1);
    }
}

} // namespace
