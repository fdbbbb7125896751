// The view menu in the real window: its radio and check items, what it keeps
// in the profile, the goal of each diary, the status bar's figures and the
// graph saved as a picture.
#include "app_fixture.h"

#include "dialogs/qt/goal_dlg.h"
#include "platform/qt/command_action_info.h"
#include "platform/qt/framework_ids.h"
#include "view/view_command_ids.h"
#include "view/view_settings.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

QSettings UserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"),
        QStringLiteral("Tarelog"));
}

class AppViewMenuTest : public AppFixture {
protected:
    // The item of the view menu as the user sees it when the menu opens.
    QAction* Shown(int id)
    {
        QMenu* menu = Frame()->FindPopup(QStringLiteral("表示"));
        EXPECT_NE(menu, nullptr);
        if (menu)
            emit menu->aboutToShow();
        return Frame()->FindAction(id);
    }
    bool Checked(int id)
    {
        QAction* action = Shown(id);
        return action && action->isCheckable() && action->isChecked();
    }
    int CheckedRange()
    {
        int checked = 0;
        for (const RangeChoice& choice : kRangeChoices)
            if (Checked(choice.id))
                checked = checked ? -1 : choice.id;
        return checked;
    }
    QString Status() const { return Frame()->statusBar()->currentMessage(); }
    // Answers the goal dialog that the next command opens.
    void TypeGoal(const QString& text)
    {
        QTimer::singleShot(0, [text] {
            auto* dlg = qobject_cast<CGoalDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            dlg->GetDlgItem<QLineEdit>(IDC_GOAL)->setText(text);
            dlg->GetDlgItem<QPushButton>(1)->click();
        });
        Frame()->RouteCommand(ID_VIEW_GOAL);
    }
    // 60 days losing 0.1 a day.
    QString FallingDiary(const QString& name)
    {
        std::vector<double> weights;
        for (int i = 0; i < 60; ++i)
            weights.push_back(80.0 - 0.1 * i);
        return WriteDiary(name, weights);
    }
};

TEST_F(AppViewMenuTest, RangesAreRadioItemsAndFillAndTrendAreChecks)
{
    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(CheckedRange(), ID_VIEW_ALL) << "every record by default";
    QAction* all = Shown(ID_VIEW_ALL);
    ASSERT_NE(all->actionGroup(), nullptr);
    EXPECT_TRUE(all->actionGroup()->isExclusive());
    EXPECT_EQ(Shown(ID_VIEW_1_YEAR)->actionGroup(), all->actionGroup());
    EXPECT_TRUE(Shown(ID_VIEW_1_YEAR)->isCheckable()) << "an empty radio mark";
    EXPECT_FALSE(Checked(ID_VIEW_FILL));
    EXPECT_FALSE(Checked(ID_VIEW_TREND));

    Shown(ID_VIEW_4_WEEKS)->trigger();
    EXPECT_EQ(View()->State().m_rangeDays, 28);
    EXPECT_EQ(CheckedRange(), ID_VIEW_4_WEEKS);
    Shown(ID_VIEW_1_YEAR)->trigger();
    EXPECT_EQ(View()->State().m_rangeDays, 365);
    EXPECT_EQ(CheckedRange(), ID_VIEW_1_YEAR);

    Shown(ID_VIEW_FILL)->trigger();
    EXPECT_TRUE(Checked(ID_VIEW_FILL));
    Shown(ID_VIEW_FILL)->trigger();
    EXPECT_FALSE(Checked(ID_VIEW_FILL));
    Shown(ID_VIEW_TREND)->trigger();
    EXPECT_TRUE(Checked(ID_VIEW_TREND));
    EXPECT_TRUE(View()->State().m_trend);
}

TEST_F(AppViewMenuTest, CtrlOneToFiveChooseTheRanges)
{
    ASSERT_TRUE(StartAndSettle());
    const int keys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5};
    for (std::size_t i = 0; i < std::size(kRangeChoices); ++i) {
        QAction* accelerator = nullptr;
        for (QAction* action : Frame()->findChildren<QAction*>())
            if (Frame()->ActionInfo(action).source == CommandActionInfo::Source::Accelerator
                && action->shortcut() == QKeySequence(Qt::CTRL | keys[i]))
                accelerator = action;
        ASSERT_NE(accelerator, nullptr) << i;
        EXPECT_EQ(Frame()->ActionInfo(accelerator).id, kRangeChoices[i].id);
        accelerator->trigger();
        EXPECT_EQ(View()->State().m_rangeDays, kRangeChoices[i].days);
    }
}

TEST_F(AppViewMenuTest, RangeFillAndTrendAreTheUsersFromOneRunToTheNext)
{
    ASSERT_TRUE(StartAndSettle());
    Frame()->RouteCommand(ID_VIEW_3_MONTHS);
    Frame()->RouteCommand(ID_VIEW_FILL);
    Frame()->RouteCommand(ID_VIEW_TREND);
    Quit();
    {
        QSettings settings = UserSettings();
        EXPECT_EQ(settings.value(QStringLiteral("表示/Range")).toInt(), 91);
        EXPECT_EQ(settings.value(QStringLiteral("表示/Fill")).toInt(), 1);
        EXPECT_EQ(settings.value(QStringLiteral("表示/Trend")).toInt(), 1);
        EXPECT_TRUE(settings.fileName().startsWith(m_dir.path())) << "the test's own profile";
    }
    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(CheckedRange(), ID_VIEW_3_MONTHS);
    EXPECT_TRUE(Checked(ID_VIEW_FILL));
    EXPECT_TRUE(Checked(ID_VIEW_TREND));
    EXPECT_FALSE(View()->State().m_avgNarrow) << "the averages still start off";

    Frame()->RouteCommand(ID_VIEW_ALL);
    Frame()->RouteCommand(ID_VIEW_FILL);
    Quit();
    UserSettings().setValue(QStringLiteral("表示/Range"), 17);
    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(CheckedRange(), ID_VIEW_ALL) << "a range the menu does not offer";
    EXPECT_FALSE(Checked(ID_VIEW_FILL));
}

TEST_F(AppViewMenuTest, EachDiaryKeepsItsOwnGoal)
{
    const QString first = FallingDiary(QStringLiteral("first.tlg"));
    const QString second = FallingDiary(QStringLiteral("second.tlg"));
    ASSERT_TRUE(StartAndSettle({first}));
    EXPECT_FALSE(View()->State().m_goal);
    TypeGoal(QStringLiteral("70"));
    EXPECT_EQ(View()->State().m_goal, 70.0);
    EXPECT_EQ(UserSettings().value(QString::fromStdString("目標/" + GoalEntryName(first.toStdString()))).toInt(),
        70000);

    Choose(second);
    Frame()->RouteCommand(ID_FILE_OPEN);
    Settle();
    ASSERT_EQ(DocPath(), second);
    EXPECT_FALSE(View()->State().m_goal) << "the other diary has none";
    Quit();

    ASSERT_TRUE(StartAndSettle({first}));
    EXPECT_EQ(View()->State().m_goal, 70.0);
    TypeGoal(QString());
    EXPECT_FALSE(View()->State().m_goal);
    Quit();
    ASSERT_TRUE(StartAndSettle({first}));
    EXPECT_FALSE(View()->State().m_goal) << "taking the goal away is remembered too";
}

TEST_F(AppViewMenuTest, TheIdleStatusBarShowsTheTrendAndTheWayToTheGoal)
{
    ASSERT_TRUE(StartAndSettle({FallingDiary(QStringLiteral("falling.tlg"))}));
    // The trend lags about 9 days behind the weight, and falls 0.70 a week.
    // (The diary's unit is the new document's "k".)
    EXPECT_EQ(Status(), QStringLiteral("傾向 75.0k\u3000週 \u22120.70k"));

    TypeGoal(QStringLiteral("70"));
    EXPECT_TRUE(Status().contains(QStringLiteral("\u3000目標まで 5.0k、"))) << Status().toStdString();
    EXPECT_TRUE(Status().endsWith(QStringLiteral(" ごろ"))) << Status().toStdString();
    TypeGoal(QStringLiteral("85"));
    EXPECT_TRUE(Status().endsWith(QStringLiteral("目標まで 10.0k")))
        << "moving away: no date, " << Status().toStdString();

    // A command's description replaces it while the menu is open, and it
    // comes back afterwards.
    const QString idle = Status();
    Frame()->statusBar()->showMessage(QStringLiteral("作業中のファイルを保存"));
    Frame()->statusBar()->clearMessage();
    EXPECT_EQ(Status(), idle);

    // A new weight changes the figures at once.
    Doc()->SetDayWeight(60.0, 2024, 3, 1);
    EXPECT_NE(Status(), idle);
}

TEST_F(AppViewMenuTest, TheGraphIsSavedAsThePictureTheWindowShows)
{
    ASSERT_TRUE(StartAndSettle({FallingDiary(QStringLiteral("picture.tlg"))}));
    Frame()->RouteCommand(ID_VIEW_TREND);
    Frame()->RouteCommand(ID_VIEW_4_WEEKS);
    Settle();
    const QString png = FilePath(QStringLiteral("graph"));
    Choose(png);
    Frame()->RouteCommand(ID_FILE_SAVE_GRAPH);
    ASSERT_EQ(m_fileDialogs.size(), 1u);
    EXPECT_EQ(m_fileDialogs[0].second, FilePath(QStringLiteral("picture.png"))) << "named after the diary";
    const QImage saved = QImage(png + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    const QImage shown = View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(saved.isNull()) << "a name without an extension is a PNG";
    EXPECT_TRUE(saved == shown);

    const QString svg = FilePath(QStringLiteral("graph.svg"));
    Choose(svg);
    Frame()->RouteCommand(ID_FILE_SAVE_GRAPH);
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<svg"));

    Choose(FilePath(QStringLiteral("graph.jpg")));
    Answer(IDOK);
    Frame()->RouteCommand(ID_FILE_SAVE_GRAPH);
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral(".svg")));
    EXPECT_FALSE(QFile::exists(FilePath(QStringLiteral("graph.jpg"))));
}

} // namespace
