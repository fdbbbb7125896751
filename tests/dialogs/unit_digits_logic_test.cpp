#include "dialogs/unit_digits_logic.h"

#include "diary/tarelog_doc.h"
#include "platform/memory_profile_store.h"

#include <gtest/gtest.h>

class UnitDigitsLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_unit = u"kg";
        m_doc.m_digits = 1;
        m_doc.SetModifiedFlag(false);
    }
    CTarelogDoc m_doc;
    MemoryProfileStore m_profile;
};

TEST_F(UnitDigitsLogicTest, LoadTakesTheDocumentAndTheProfileStyle)
{
    UnitDigitsData data;
    data.Load(m_doc, m_profile);
    EXPECT_EQ(data.m_unit, u"kg");
    EXPECT_EQ(data.m_digits, 1);
    EXPECT_EQ(data.m_dateStyle, 1) << "no profile value shows style 1";
    m_profile.WriteProfileInt("SHOW", "X", 3);
    data.Load(m_doc, m_profile);
    EXPECT_EQ(data.m_dateStyle, 3);
}

TEST_F(UnitDigitsLogicTest, ApplyWithoutChangeLeavesTheDocumentButWritesTheStyle)
{
    UnitDigitsData data;
    data.Load(m_doc, m_profile);
    data.Apply(m_doc, m_profile);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_TRUE(m_profile.Contains("SHOW", "X"));
    EXPECT_EQ(m_profile.GetProfileInt("SHOW", "X", 0), 1);
}

TEST_F(UnitDigitsLogicTest, StyleAloneDoesNotMarkTheDocument)
{
    UnitDigitsData data;
    data.Load(m_doc, m_profile);
    data.m_dateStyle = 2;
    data.Apply(m_doc, m_profile);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_profile.GetProfileInt("SHOW", "X", 0), 2);
}

TEST_F(UnitDigitsLogicTest, CaseOnlyUnitChangeMarksModified)
{
    UnitDigitsData data;
    data.Load(m_doc, m_profile);
    data.m_unit = u"KG";
    data.Apply(m_doc, m_profile);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_doc.m_unit, u"KG");
    EXPECT_EQ(m_doc.m_digits, 1);
}

TEST_F(UnitDigitsLogicTest, DigitsChangeIsCopiedWithTheUnit)
{
    UnitDigitsData data;
    data.Load(m_doc, m_profile);
    data.m_digits = 5;
    data.m_unit = u"";
    data.Apply(m_doc, m_profile);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_doc.m_digits, 5);
    EXPECT_EQ(m_doc.m_unit, u"");
}
