#include "platform/archive.h"

#include <gtest/gtest.h>

namespace {

// The parts a caller of the archive might name; the archive only hands them back.
constexpr ArchivePart kRecords = 7;
constexpr ArchivePart kUnit = 8;
constexpr ArchivePart kDigits = 9;

std::string Stored(std::u16string_view text)
{
    std::string out;
    CArchive archive = CArchive::ForStoring(out);
    archive.WriteString(text);
    return out;
}

std::u16string Loaded(const std::string& bytes, std::size_t* endPosition = nullptr)
{
    CArchive archive = CArchive::ForLoading(bytes);
    std::u16string text = archive.ReadString(kUnit);
    if (endPosition != nullptr)
        *endPosition = archive.Position();
    return text;
}

std::string LittleEndianUnits(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

TEST(ArchiveIntegers, LittleEndianWholeAndSigned)
{
    std::string out;
    CArchive store = CArchive::ForStoring(out);
    store.WriteInt32(101);
    store.WriteInt32(-2);
    store.WriteInt32(0x12345678);
    EXPECT_EQ(out, std::string("\x65\0\0\0\xFE\xFF\xFF\xFF\x78\x56\x34\x12", 12));
    CArchive load = CArchive::ForLoading(out);
    EXPECT_EQ(load.ReadInt32(1), 101);
    EXPECT_EQ(load.ReadInt32(2), -2);
    EXPECT_EQ(load.ReadInt32(3), 0x12345678);
    EXPECT_EQ(load.Remaining(), 0u);
    try {
        load.ReadInt32(kDigits);
        FAIL() << "read past the end";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.Problem(), ArchiveProblem::EndsInside);
        EXPECT_EQ(error.Part(), kDigits);
        EXPECT_EQ(error.Offset(), 12u);
    }
}

TEST(ArchiveIntegers, ShortIntegerConsumesNothing)
{
    CArchive load = CArchive::ForLoading(std::string_view("\x01\x02\x03", 3));
    EXPECT_THROW(load.ReadInt32(1), ArchiveError);
    EXPECT_EQ(load.Position(), 0u);
}

TEST(ArchiveStrings, WideFormLengthsAtEachBoundary)
{
    EXPECT_EQ(Stored(u""), std::string("\xFF\xFE\xFF\x00", 4));
    EXPECT_EQ(Stored(u"k"), std::string("\xFF\xFE\xFF\x01\x6B\x00", 6));
    EXPECT_EQ(Stored(u"kg"), std::string("\xFF\xFE\xFF\x02\x6B\x00\x67\x00", 8));
    struct Case {
        std::size_t length;
        std::string lengthBytes;
    } cases[] = {
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {256, std::string("\xFF\x00\x01", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {65535, std::string("\xFF\xFF\xFF\xFF\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::u16string text(c.length, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(0x3042 + i % 80);
        const std::string bytes = Stored(text);
        EXPECT_EQ(bytes, "\xFF\xFE\xFF" + c.lengthBytes + LittleEndianUnits(text));
        std::size_t end = 0;
        EXPECT_EQ(Loaded(bytes + "tail", &end), text);
        EXPECT_EQ(end, bytes.size());
    }
}

TEST(ArchiveStrings, OneByteFormIsShiftJisInEachLengthForm)
{
    // "kg", then か (82 A9) and half-width ｷ (B7), with a one-byte length.
    EXPECT_EQ(Loaded(std::string("\x02kg", 3)), u"kg");
    EXPECT_EQ(Loaded(std::string("\x03\x82\xA9\xB7", 4)), u"\u304B\uFF77");
    EXPECT_EQ(Loaded(std::string("\x00", 1)), u"");
    // FF then a 16-bit length without the wide tag: still one-byte characters.
    EXPECT_EQ(Loaded(std::string("\xFF\x03\x00"
                                 "abc",
                  6)),
        u"abc");
    EXPECT_EQ(Loaded(std::string("\xFF\xFF\xFF\x02\x00\x00\x00"
                                 "ab",
                  9)),
        u"ab");
    const std::string text300(300, 'x');
    EXPECT_EQ(Loaded(std::string("\xFF\x2C\x01", 3) + text300), std::u16string(300, u'x'));
}

TEST(ArchiveStrings, WideTagWithSixteenBitFFFEIsALength)
{
    // After the tag, FF FE FF read as a length is 65534, not a second tag.
    const std::u16string text(65534, u'a');
    EXPECT_EQ(Loaded("\xFF\xFE\xFF\xFF\xFE\xFF" + LittleEndianUnits(text)), text);
}

TEST(ArchiveStrings, BrokenStringsFailAtTheirFirstByte)
{
    const char* cases[][2] = {
        {"", "end"},
        {"\xFF", "end"},
        {"\xFF\xFE", "end"},
        {"\xFF\xFE\xFF", "end"},
        {"\xFF\xFE\xFF\x02k", "end"},
        {"\xFF\xFE\xFF\xFF\x10", "end"},
        {"\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F", "end"},
        {"\x04kg", "end"},
        {"\xFF\xFF\xFF\xFF\xFF\xFF\xFF", "end"},
        {"\x01\x81", "sjis"},
        {"\x02\x81\x20", "sjis"},
        {"\x01\xFF", "sjis"},
    };
    for (const auto& c : cases) {
        const std::string bytes = std::string("pad!") + c[0];
        SCOPED_TRACE(testing::PrintToString(bytes));
        CArchive archive = CArchive::ForLoading(bytes);
        archive.ReadInt32(1);
        try {
            archive.ReadString(kUnit);
            FAIL() << "loaded";
        } catch (const ArchiveError& error) {
            EXPECT_EQ(error.Offset(), 4u);
            EXPECT_EQ(error.Problem(),
                std::string(c[1]) == "end" ? ArchiveProblem::EndsInside : ArchiveProblem::InvalidShiftJis);
            EXPECT_EQ(error.Part(), kUnit);
        }
    }
}

TEST(ArchiveBlocks, RawBytesInAndOut)
{
    std::string out;
    CArchive store = CArchive::ForStoring(out);
    store.Write("\x01\x02\x03", 3);
    EXPECT_EQ(out, "\x01\x02\x03");
    char block[3] = {};
    CArchive load = CArchive::ForLoading(out);
    load.Read(block, 3, kRecords);
    EXPECT_EQ(std::string(block, 3), out);
    EXPECT_THROW(load.Read(block, 1, kRecords), ArchiveError);
}

} // namespace
