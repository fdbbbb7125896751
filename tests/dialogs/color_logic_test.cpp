#include "dialogs/color_logic.h"

#include <gtest/gtest.h>

#include <array>

TEST(ColorSteps, StepGivesComponentOnTheSeventeenStepScale)
{
    EXPECT_EQ(ComponentOfStep(0), 0);
    EXPECT_EQ(ComponentOfStep(1), 15);
    EXPECT_EQ(ComponentOfStep(2), 31);
    EXPECT_EQ(ComponentOfStep(15), 239);
    EXPECT_EQ(ComponentOfStep(16), 255);
}

TEST(ColorSteps, ComponentGivesStepRoundingDown)
{
    const struct {
        int component, step;
    } rows[] = {
        {0, 0},
        {14, 0},
        {15, 1},
        {30, 1},
        {31, 2},
        {127, 8},
        {128, 8},
        {238, 14},
        {239, 15},
        {254, 15},
        {255, 16},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StepOfComponent(row.component), row.step) << "component " << row.component;
}

TEST(ColorSteps, EveryStepSurvivesTheRoundTrip)
{
    for (int p = 0; p <= kMaxColorStep; ++p)
        EXPECT_EQ(StepOfComponent(ComponentOfStep(p)), p) << "step " << p;
}

TEST(ColorScroll, CodesMoveOneStepOrToTheThumb)
{
    const struct {
        int code, expected;
    } rows[] = {
        {SB_LINELEFT, 7},
        {SB_LINERIGHT, 9},
        {SB_PAGELEFT, 7},
        {SB_PAGERIGHT, 9},
        {SB_THUMBPOSITION, 3},
        {SB_THUMBTRACK, 3},
        {SB_LEFT, 7},
        {SB_RIGHT, 9},
        {SB_ENDSCROLL, 8},
        {9, 8},
        {100, 8},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ScrolledStep(row.code, 8, 3), row.expected) << "code " << row.code;
}

TEST(ColorScroll, ResultsAreClampedToTheScale)
{
    EXPECT_EQ(ScrolledStep(SB_LINELEFT, 0, 0), 0);
    EXPECT_EQ(ScrolledStep(SB_LEFT, 0, 0), 0);
    EXPECT_EQ(ScrolledStep(SB_RIGHT, 16, 0), 16);
    EXPECT_EQ(ScrolledStep(SB_PAGERIGHT, 16, 0), 16);
    EXPECT_EQ(ScrolledStep(SB_THUMBTRACK, 5, 40), 16);
    EXPECT_EQ(ScrolledStep(SB_THUMBPOSITION, 5, -3), 0);
}

TEST(ColorSwatch, HalvesSplitAtTheTruncatedMiddle)
{
    const Rect odd{10, 20, 115, 40};
    EXPECT_EQ(SwatchStoredHalf(odd), (Rect{10, 20, 62, 40}));
    EXPECT_EQ(SwatchComposedHalf(odd), (Rect{62, 20, 115, 40}));
    // Truncation is toward zero, also for a swatch left of the origin.
    const Rect negative{-5, 0, 0, 4};
    EXPECT_EQ(SwatchStoredHalf(negative).right, -3);
}

class ColorEditorTest : public ::testing::Test {
protected:
    std::array<Color, 10> m_slots{MakeColor(128, 0, 255), MakeColor(0, 255, 0), MakeColor(20, 40, 60), 0, 0, 0, 0,
        0x12345678, 0, 0};
    ColorEditor m_editor{m_slots.data()};
};

TEST_F(ColorEditorTest, SelectingLoadsTheSlotQuantised)
{
    m_editor.Select(0);
    EXPECT_EQ(m_editor.Position(ColorEditor::RedBar), 8);
    EXPECT_EQ(m_editor.Position(ColorEditor::GreenBar), 0);
    EXPECT_EQ(m_editor.Position(ColorEditor::BlueBar), 16);
    EXPECT_EQ(m_editor.SliderColor(), MakeColor(127, 0, 255));
    Color stored = 0;
    ASSERT_TRUE(m_editor.StoredColor(stored));
    EXPECT_EQ(stored, MakeColor(128, 0, 255));
}

TEST_F(ColorEditorTest, StoreWithoutMovingQuantisesTheSlot)
{
    m_editor.Select(0);
    m_editor.Store();
    EXPECT_EQ(m_slots[0], MakeColor(127, 0, 255));
    EXPECT_EQ(m_slots[1], MakeColor(0, 255, 0));
}

TEST_F(ColorEditorTest, ScrollingChangesNoSlotUntilStored)
{
    m_editor.Select(2);
    m_editor.Scroll(ColorEditor::RedBar, SB_RIGHT, 0);
    m_editor.Scroll(ColorEditor::BlueBar, SB_THUMBTRACK, 16);
    EXPECT_EQ(m_slots[2], MakeColor(20, 40, 60));
    m_editor.Store();
    EXPECT_EQ(m_slots[2], MakeColor(31, 31, 255));
}

TEST_F(ColorEditorTest, ChoosingAnotherSlotDiscardsTheComposedColour)
{
    m_editor.Select(0);
    m_editor.Scroll(ColorEditor::GreenBar, SB_THUMBPOSITION, 12);
    m_editor.Select(1);
    EXPECT_EQ(m_editor.SliderColor(), MakeColor(0, 255, 0));
    m_editor.Select(0);
    EXPECT_EQ(m_editor.Position(ColorEditor::GreenBar), 0);
    EXPECT_EQ(m_slots[0], MakeColor(128, 0, 255));
}

TEST_F(ColorEditorTest, NoSelectionStoresNothing)
{
    const auto before = m_slots;
    m_editor.Select(-1);
    m_editor.Scroll(ColorEditor::RedBar, SB_RIGHT, 0);
    m_editor.Store();
    Color stored = 0;
    EXPECT_FALSE(m_editor.StoredColor(stored));
    EXPECT_EQ(m_slots, before);
    m_editor.Select(kDialogColorSlots); // slot 9 is not the dialog's
    m_editor.Store();
    EXPECT_EQ(m_slots, before);
}

TEST_F(ColorEditorTest, StoredHighByteIsIgnoredWhenLoadedAndClearedWhenStored)
{
    m_slots[3] = 0xFF000000u | MakeColor(255, 255, 255);
    m_editor.Select(3);
    EXPECT_EQ(m_editor.SliderColor(), MakeColor(255, 255, 255));
    m_editor.Store();
    EXPECT_EQ(m_slots[3], MakeColor(255, 255, 255));
}
