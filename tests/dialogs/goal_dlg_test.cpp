#include "dialog_test_support.h"

#include "dialogs/goal_logic.h"
#include "dialogs/qt/dialog_commands.h"
#include "dialogs/qt/goal_dlg.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

std::optional<double> ReadText(const std::string& text, bool& ok)
{
    GoalData data;
    data.m_goalText = text;
    std::optional<double> goal = 1.0;
    ok = data.Read(goal);
    return goal;
}

TEST(GoalLogic, ReadsAWeightOrNone)
{
    bool ok = false;
    EXPECT_EQ(ReadText(" 62.5 ", ok), 62.5);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadText("", ok), std::nullopt);
    EXPECT_TRUE(ok) << "an empty field takes the goal away";
    EXPECT_EQ(ReadText("   ", ok), std::nullopt);
    EXPECT_TRUE(ok);
    for (const char* bad : {"abc", "65kg", "0", "-3", "nan", "inf", "1e999"}) {
        ReadText(bad, ok);
        EXPECT_FALSE(ok) << bad;
    }
    GoalData shown;
    shown.Load(70.25);
    EXPECT_EQ(shown.m_goalText, "70.25");
    shown.Load(std::nullopt);
    EXPECT_EQ(shown.m_goalText, "");
}

class GoalDlgTest : public DialogTest {
protected:
    template <class Act> std::optional<std::optional<double>> Run(std::optional<double> goal, Act act)
    {
        std::optional<std::optional<double>> result;
        DriveModal<CGoalDlg>([&] { result = RunGoalCommand(goal, nullptr); }, act);
        return result;
    }
    static QLineEdit* Field(CGoalDlg& dlg) { return dlg.GetDlgItem<QLineEdit>(IDC_GOAL); }
};

TEST_F(GoalDlgTest, OpensOnTheGoalAndGivesTheNewOne)
{
    const auto result = Run(64.5, [](CGoalDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("目標体重"));
        EXPECT_EQ(Field(dlg)->text(), QStringLiteral("64.5"));
        EXPECT_EQ(dlg.focusWidget(), Field(dlg));
        Field(dlg)->setText(QStringLiteral("６２．０")); // as an input method types it
        dlg.GetDlgItem<QPushButton>(1)->click();
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, 62.0);
}

TEST_F(GoalDlgTest, EmptyTakesTheGoalAwayAndCancelChangesNothing)
{
    const auto cleared = Run(64.5, [](CGoalDlg& dlg) {
        Field(dlg)->clear();
        dlg.GetDlgItem<QPushButton>(1)->click();
    });
    ASSERT_TRUE(cleared);
    EXPECT_EQ(*cleared, std::nullopt);
    EXPECT_FALSE(Run(64.5, [](CGoalDlg& dlg) {
        Field(dlg)->setText(QStringLiteral("70"));
        dlg.GetDlgItem<QPushButton>(IDCANCEL)->click();
    }));
}

TEST_F(GoalDlgTest, TextThatIsNoWeightKeepsTheDialogOpen)
{
    MessageBoxRecorder boxes;
    const auto result = Run(std::nullopt, [&boxes](CGoalDlg& dlg) {
        Field(dlg)->setText(QStringLiteral("abc"));
        dlg.GetDlgItem<QPushButton>(1)->click();
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("数値を入力してください。")});
        Field(dlg)->setText(QStringLiteral("58"));
        dlg.GetDlgItem<QPushButton>(1)->click();
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, 58.0);
}

} // namespace
