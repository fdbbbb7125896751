#include "platform/document.h"

#include <gtest/gtest.h>

namespace {

class PlainDocument : public CDocument {
public:
    void Serialize(CArchive&) override {}
};

// A window's title shows the path and the modified flag: its listener must
// hear every new value of either, and nothing else, so that a stream of
// edits does not retitle the window once per edit.
TEST(CDocumentTitleListener, HearsTheFlagAndThePathTakeNewValuesOnly)
{
    PlainDocument doc;
    int heard = 0;
    int changes = 0;
    doc.SetTitleListener([&] { ++heard; });
    doc.SetChangeListener([&] { ++changes; });

    doc.SetModifiedFlag(true);
    doc.SetModifiedFlag(true);
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(changes, 2) << "every edit is still a change for the recovery copy";
    doc.SetModifiedFlag(false);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(heard, 2);

    doc.SetPathName("/d/diary.tlg");
    doc.SetPathName("/d/diary.tlg");
    EXPECT_EQ(heard, 3);

    // A new document loses its name; a second new document changes nothing.
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(heard, 4);
    EXPECT_TRUE(doc.GetPathName().empty());
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(heard, 4);

    // Nor does it keep the modified flag of the document before it.
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(heard, 6);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
