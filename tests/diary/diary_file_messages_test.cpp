#include "diary/diary_file_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr DiaryPart kParts[] = {DiaryPart::Version, DiaryPart::RecordCount, DiaryPart::Records, DiaryPart::Unit,
    DiaryPart::Digits};

// Every part with every problem that names its part, and the one that does not.
std::vector<ArchiveError> AllDamages()
{
    std::vector<ArchiveError> damages;
    for (const DiaryPart part : kParts) {
        for (const ArchiveProblem problem :
            {ArchiveProblem::EndsInside, ArchiveProblem::CountBeyondData, ArchiveProblem::InvalidShiftJis})
            damages.emplace_back(problem, PartId(part), 12);
    }
    damages.emplace_back(ArchiveProblem::NoShiftJisDecoder, PartId(DiaryPart::Unit), 12);
    return damages;
}

TEST(DiaryFileMessages, EveryDamageReadsInBothLanguagesUnlikeAnyOther)
{
    std::set<std::string> english;
    std::set<std::string> japanese;
    for (const ArchiveError& cause : AllDamages()) {
        const DiaryFileError error = DamagedDiaryError("diary.tlg", cause);
        SCOPED_TRACE(error.EnglishMessage());
        EXPECT_EQ(error.EnglishMessage(), "'diary.tlg' is damaged or not a diary: " + error.Detail());
        EXPECT_NE(error.Detail().find(" (byte 12)"), std::string::npos);
        EXPECT_NE(error.JapaneseMessage().find("（先頭から 12 バイトの位置）"), std::string::npos);
        EXPECT_TRUE(english.insert(error.Detail()).second);
        EXPECT_TRUE(japanese.insert(error.JapaneseMessage()).second) << error.JapaneseMessage();
    }
}

TEST(DiaryFileMessages, RefusalsSayWhatWasRefusedAndWhy)
{
    using Kind = DiaryFileError::Kind;
    const DiaryFileError sorting = DiaryRefusalError(Kind::CannotOpen, "d", DiaryRefusal::SortingOutOfMemory, ENOMEM);
    const DiaryFileError held = DiaryRefusalError(Kind::CannotWrite, "d", DiaryRefusal::RecoveryCopyHeldElsewhere,
        EWOULDBLOCK);
    DiaryFileError changed = DiaryRefusalError(Kind::CannotWrite, "d", DiaryRefusal::ChangedIntoUnreadable, ESTALE);
    const DiaryFileError cause = DamagedDiaryError("d",
        ArchiveError(ArchiveProblem::EndsInside, PartId(DiaryPart::Unit), 8));
    changed.cause = std::make_shared<const DiaryFileError>(cause);

    EXPECT_EQ(changed.Detail(),
        "another program changed the file into something that cannot be read (" + cause.Detail() + ")");
    EXPECT_EQ(held.Detail(), "another window keeps a recovery copy of this diary");
    EXPECT_EQ(sorting.Detail().rfind("sorting the records: ", 0), 0u) << sorting.Detail();
    const std::set<std::string> japanese = {sorting.JapaneseMessage(), held.JapaneseMessage(),
        changed.JapaneseMessage()};
    EXPECT_EQ(japanese.size(), 3u);
}

TEST(DiaryFileMessages, ReadOnlyIsToldApartFromOtherRefusedAccess)
{
    using Kind = DiaryFileError::Kind;
    const DiaryFileError readOnly = FileOperationError(Kind::CannotWrite, "d",
        FileFailure{FileStep::Opening, EACCES, FileReason::ReadOnly});
    const DiaryFileError denied = FileOperationError(Kind::CannotWrite, "d", FileFailure{FileStep::Opening, EACCES});
    EXPECT_NE(readOnly.JapaneseMessage().find("読み取り専用"), std::string::npos) << readOnly.JapaneseMessage();
    EXPECT_EQ(denied.JapaneseMessage().find("読み取り専用"), std::string::npos) << denied.JapaneseMessage();
    EXPECT_EQ(readOnly.Detail(), "the file is read-only");
}

TEST(DiaryFileMessages, NoErrorHasNoWords)
{
    const DiaryFileError none;
    EXPECT_EQ(none.Detail(), "");
    EXPECT_EQ(none.EnglishMessage(), "");
    EXPECT_EQ(none.JapaneseMessage(), "");
}

} // namespace
