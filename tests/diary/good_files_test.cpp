#include "diary/diary_file.h"
#include "platform/format.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::string kFolder = std::string(TARELOG_TEST_DATA) + "/good";

// Each file opens with the listed contents; saved again it either gives
// back its own bytes or, for older forms, a version-101 file that opens
// to the same diary.
TEST(GoodFiles, OpenAndSaveAsListed)
{
    std::stringstream manifest(ReadBytes(kFolder + "/EXPECTED.txt"));
    std::string line;
    int files = 0;
    while (std::getline(manifest, line)) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            f.push_back(field);
        ASSERT_EQ(f.size(), 5u) << line;
        SCOPED_TRACE(f[0]);
        ++files;
        const std::string bytes = ReadBytes(kFolder + "/" + f[0]);
        CTarelogDoc doc;
        ASSERT_TRUE(LoadDiaryFile(kFolder + "/" + f[0], doc));
        EXPECT_EQ(doc.GetRecordCount(), std::stoi(f[1]));
        EXPECT_EQ(doc.m_digits, std::stoi(f[2]));
        EXPECT_EQ(ToUtf8(doc.m_unit), f[3]);
        const std::string saved = StoreDiaryBytes(doc);
        if (f[4] == "same") {
            EXPECT_EQ(saved, bytes);
            continue;
        }
        ASSERT_EQ(f[4], "upgraded");
        EXPECT_NE(saved, bytes);
        CTarelogDoc again;
        const auto loaded = LoadDiaryBytes(saved, "saved", again);
        ASSERT_TRUE(loaded);
        const std::int32_t newVersion = loaded->version;
        EXPECT_EQ(newVersion, 101);
        EXPECT_EQ(again.m_unit, doc.m_unit);
        EXPECT_EQ(again.m_digits, doc.m_digits);
        ASSERT_EQ(again.GetRecordCount(), doc.GetRecordCount());
        // Records, reserved bytes included, travel unchanged.
        EXPECT_EQ(saved.substr(8, 16 * static_cast<std::size_t>(doc.GetRecordCount())),
            bytes.substr(8, 16 * static_cast<std::size_t>(doc.GetRecordCount())));
    }
    EXPECT_GE(files, 10);
}

} // namespace
