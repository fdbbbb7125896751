#include "app_fixture.h"

#include "app/app_resources.h"
#include "app/command_ids.h"
#include "platform/qt/framework_ids.h"
#include "view/view_command_ids.h"

#include <QAction>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

struct ExpectedItem {
    const char* text; // nullptr for a separator
    int id;
};

std::vector<QAction*> ItemsOf(QMenu* menu)
{
    std::vector<QAction*> items;
    for (QAction* action : menu->actions())
        items.push_back(action);
    return items;
}

void ExpectMenu(CFrameWnd& frame, const QString& title, const std::vector<ExpectedItem>& expected)
{
    QMenu* menu = frame.FindPopup(title);
    ASSERT_NE(menu, nullptr) << title.toStdString();
    const std::vector<QAction*> items = ItemsOf(menu);
    ASSERT_EQ(items.size(), expected.size()) << title.toStdString();
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(title.toStdString() + " item " + std::to_string(i));
        if (!expected[i].text) {
            EXPECT_TRUE(items[i]->isSeparator());
            continue;
        }
        EXPECT_EQ(items[i]->text(), QString::fromUtf8(expected[i].text));
        EXPECT_EQ(frame.ActionInfo(items[i]).id, expected[i].id);
    }
}

bool IsChecked(CFrameWnd& frame, int id)
{
    QMenu* menu = frame.FindPopup(QStringLiteral("ﾃﾞｰﾀ"));
    emit menu->aboutToShow();
    QAction* action = frame.FindAction(id);
    return action && action->isCheckable() && action->isChecked();
}

using AppWindowTest = AppFixture;

TEST_F(AppWindowTest, MenusCarryTheTextsAndIdsOfTheResource)
{
    ASSERT_TRUE(StartAndSettle());
    CFrameWnd& frame = *Frame();
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles,
        (QStringList{QStringLiteral("ﾌｧｲﾙ"), QStringLiteral("ﾃﾞｰﾀ"), QStringLiteral("表示"), QStringLiteral("ﾍﾙﾌﾟ")}));

    ExpectMenu(frame, QStringLiteral("ﾌｧｲﾙ"),
        {{"新規作成(&N)\tCtrl+N", 57600}, {"開く(&O)...\tCtrl+O", 57601}, {"上書き保存(&S)\tCtrl+S", 57603},
            {"名前を付けて保存(&A)...", 57604}, {"グラフを画像で保存...", ID_FILE_SAVE_GRAPH},
            {"スマートフォンから入力...", ID_FILE_PHONE}, {nullptr, 0}, {"最新のファイル", 57616}, {nullptr, 0},
            {"アプリケーションの終了(&X)", 57665}});
    ExpectMenu(frame, QStringLiteral("ﾃﾞｰﾀ"),
        {{"元に戻す\tCtrl+Z", ID_EDIT_UNDO}, {"やり直し\tCtrl+Y", ID_EDIT_REDO}, {nullptr, 0},
            {"コピー\tCtrl+C", ID_EDIT_COPY}, {"貼り付け\tCtrl+V", ID_EDIT_PASTE}, {nullptr, 0}, {"新規入力...", 32771},
            {"変更、修正...", 32772}, {nullptr, 0}, {"色の変更...", 32775}, {nullptr, 0}, {"単位、少数桁...", 32776},
            {"平均(狭）", 32777}, {"平均(通常)", 32779}, {"平均(広）", 32778}});
    ExpectMenu(frame, QStringLiteral("表示"),
        {{"全期間\tCtrl+1", ID_VIEW_ALL}, {"最近4週間\tCtrl+2", ID_VIEW_4_WEEKS},
            {"最近3か月\tCtrl+3", ID_VIEW_3_MONTHS}, {"最近6か月\tCtrl+4", ID_VIEW_6_MONTHS},
            {"最近1年\tCtrl+5", ID_VIEW_1_YEAR}, {nullptr, 0}, {"ウィンドウに合わせる", ID_VIEW_FILL},
            {"傾向線", ID_VIEW_TREND}, {nullptr, 0}, {"目標体重...", ID_VIEW_GOAL}});
    ExpectMenu(frame, QStringLiteral("ﾍﾙﾌﾟ"), {{"Tarelog のバージョン情報(&A)...", 57664}});
}

TEST_F(AppWindowTest, PromptsBecomeStatusTipsAndTooltips)
{
    ASSERT_TRUE(StartAndSettle());
    QAction* newFile = Frame()->FindAction(ID_FILE_NEW);
    ASSERT_NE(newFile, nullptr);
    EXPECT_EQ(newFile->statusTip(), QStringLiteral("新規にファイルを作成"));
    EXPECT_EQ(newFile->toolTip(), QStringLiteral("新規ファイル"));
    QAction* exit = Frame()->FindAction(ID_APP_EXIT);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->statusTip(), QStringLiteral("アプリケーションを終了し、ファイルの保存を指示"));

    // The command bar: separator, the about button with its image, separator.
    const QList<QAction*> buttons = Frame()->CommandBar()->actions();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons[0]->isSeparator());
    EXPECT_TRUE(buttons[2]->isSeparator());
    EXPECT_EQ(Frame()->ActionInfo(buttons[1]).id, ID_APP_ABOUT);
    EXPECT_EQ(buttons[1]->toolTip(), QStringLiteral("バージョン情報"));
    EXPECT_FALSE(buttons[1]->icon().pixmap(16, 16).isNull());
}

TEST_F(AppWindowTest, EveryPromptDescribesAnItemOfTheMenusOrTheBar)
{
    ASSERT_TRUE(StartAndSettle());
    // A prompt that no menu item or button shows is a string nothing uses
    // (the keys of the accelerator table have no place to show one).
    int prompts = 0;
    for (int id = 1; id <= 0xFFFF; ++id) {
        const QString prompt = LoadAppString(id);
        if (prompt.isEmpty() || id == IDR_MAINFRAME || id == IDS_IDLE_MESSAGE
            || (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST))
            continue;
        SCOPED_TRACE(id);
        ++prompts;
        const QAction* action = Frame()->FindAction(id);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->statusTip(), prompt.section(QLatin1Char('\n'), 0, 0));
    }
    EXPECT_GT(prompts, 0);
}

TEST_F(AppWindowTest, AverageChecksFollowTheirOwnToggles)
{
    ASSERT_TRUE(StartAndSettle());
    CFrameWnd& frame = *Frame();
    EXPECT_FALSE(IsChecked(frame, ID_AVG_NARROW));
    EXPECT_FALSE(IsChecked(frame, ID_AVG_NORMAL));
    EXPECT_FALSE(IsChecked(frame, ID_AVG_WIDE));

    // The wide item carries the lower id; it must still switch the wide curve.
    frame.FindAction(ID_AVG_WIDE)->trigger();
    EXPECT_TRUE(View()->State().m_avgWide);
    EXPECT_FALSE(View()->State().m_avgNormal);
    EXPECT_TRUE(IsChecked(frame, ID_AVG_WIDE));
    EXPECT_FALSE(IsChecked(frame, ID_AVG_NORMAL));

    frame.FindAction(ID_AVG_NORMAL)->trigger();
    frame.FindAction(ID_AVG_NORMAL)->trigger();
    EXPECT_FALSE(View()->State().m_avgNormal);
    EXPECT_FALSE(IsChecked(frame, ID_AVG_NORMAL));

    frame.FindAction(ID_AVG_NARROW)->trigger();
    EXPECT_TRUE(IsChecked(frame, ID_AVG_NARROW));
    EXPECT_TRUE(IsChecked(frame, ID_AVG_WIDE));
    // Toggling touches neither the document nor its modified flag.
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppWindowTest, DoubleClickPostsTheNewEntryCommand)
{
    ASSERT_TRUE(StartAndSettle());
    m_routed.clear();
    bool dialogSeen = false;
    QTest::mouseDClick(View(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    // Posted, not sent: nothing has run while the double-click is handled.
    EXPECT_TRUE(m_routed.empty());
    OnNextModal([&](QDialog& dialog) {
        dialogSeen = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("体重入力"));
        dialog.accept();
    });
    Settle();
    EXPECT_EQ(m_routed, std::vector<int>{ID_DATA_NEW});
    EXPECT_TRUE(dialogSeen);
    // OK recorded today's weight (0.0 in an empty diary) and marked the change.
    ASSERT_EQ(Doc()->GetRecordCount(), 1);
    EXPECT_TRUE(Doc()->IsModified());
    Settle();
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("無題* - Tarelog"));
    Doc()->SetModifiedFlag(false);
}

TEST_F(AppWindowTest, EachDataCommandOpensItsDialogOverTheView)
{
    ASSERT_TRUE(StartAndSettle());
    const struct {
        int id;
        const char* title;
    } commands[] = {
        {ID_DATA_NEW, "体重入力"},
        {ID_DATA_EDIT, "編集"},
        {ID_DATA_COLOR, "色の指定"},
        {ID_DATA_UNIT, "単位、少数桁"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.title);
        QString seen;
        const QWidget* owner = nullptr;
        OnNextModal([&](QDialog& dialog) {
            seen = dialog.windowTitle();
            owner = dialog.parentWidget();
            dialog.reject();
        });
        Frame()->FindAction(command.id)->trigger();
        EXPECT_EQ(seen, QString::fromUtf8(command.title));
        EXPECT_EQ(owner, View());
    }
    // Closed without OK, none of them changed the empty diary.
    EXPECT_EQ(Doc()->GetRecordCount(), 0);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("無題 - Tarelog"));
}

TEST_F(AppWindowTest, CutAndPaneKeysDoNothing)
{
    ASSERT_TRUE(StartAndSettle());
    Frame()->activateWindow();
    m_routed.clear();
    // Nothing in the graph is cut, and there is one pane. (Undo with
    // nothing to undo is grayed, so Ctrl+Z reaches no handler either.)
    QTest::keyClick(Frame(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(Frame(), Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(Frame(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Frame(), Qt::Key_F6);
    QTest::keyClick(Frame(), Qt::Key_F6, Qt::ShiftModifier);
    Settle();
    EXPECT_TRUE(m_routed.empty());
    EXPECT_TRUE(m_asked.empty());
    EXPECT_EQ(Doc()->GetRecordCount(), 0);

    // The file keys are live: Ctrl+N on a changed diary asks about saving.
    Doc()->SetDayWeight(60.0, 2024, 5, 1);
    Answer(IDNO);
    QTest::keyClick(Frame(), Qt::Key_N, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(m_routed, std::vector<int>{ID_FILE_NEW});
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(Doc()->GetRecordCount(), 0);
}

TEST_F(AppWindowTest, AboutBoxShowsVersionAndClosesByItsOkButton)
{
    ASSERT_TRUE(StartAndSettle());
    bool seen = false;
    OnNextModal([&](QDialog& dialog) {
        seen = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報 (Tarelog)"));
        auto* version = dialog.findChild<QLabel*>(QStringLiteral("aboutVersion"));
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->text(), QStringLiteral("Tarelog Version 1.11"));
        auto* icon = dialog.findChild<QLabel*>(QStringLiteral("aboutIcon"));
        ASSERT_NE(icon, nullptr);
        EXPECT_FALSE(icon->pixmap().isNull());
        auto* notice = dialog.findChild<QLabel*>(QStringLiteral("aboutNotice"));
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(notice->text().count(QLatin1Char('\n')), 1);
        // Both lines fit the label: nothing of the notice is cut off.
        const QFontMetrics metrics(notice->font());
        for (const QString& line : notice->text().split(QLatin1Char('\n')))
            EXPECT_LE(metrics.horizontalAdvance(line), notice->width()) << line.toStdString();
        EXPECT_LE(2 * metrics.height(), notice->height());
        EXPECT_LE(QFontMetrics(version->font()).horizontalAdvance(version->text()), version->width());
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"));
        ASSERT_NE(ok, nullptr);
        EXPECT_TRUE(ok->isVisible());
        // Top right, inside the dialog.
        EXPECT_GT(ok->geometry().center().x(), dialog.width() / 2);
        EXPECT_LT(ok->geometry().center().y(), dialog.height() / 4);
        EXPECT_LE(ok->geometry().right(), dialog.width());
        // Room for the whole caption in a bold face beside the window
        // manager's close box, and the content centred in the wider box.
        QFont caption = QApplication::font();
        caption.setBold(true);
        EXPECT_GE(dialog.width(), QFontMetrics(caption).horizontalAdvance(dialog.windowTitle()) + 64);
        EXPECT_NEAR(icon->geometry().center().x(), dialog.width() / 2, 3);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    Frame()->CommandBar()->actions()[1]->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(m_routed, std::vector<int>{ID_APP_ABOUT});
}

TEST_F(AppWindowTest, FirstStartGivesTwiceTheHandheldsWidthOnTheScreen)
{
    ASSERT_TRUE(StartAndSettle());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("無題 - Tarelog"));
    EXPECT_EQ(View()->width(), 2 * 240);
    EXPECT_GT(View()->height(), 320);
    const QRect available = Frame()->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(Frame()->frameGeometry())) << "the first window fits the screen";
    EXPECT_NEAR(Frame()->geometry().center().x(), available.center().x(), 2);
}

// Closing the window keeps its size and position in a group of its own;
// the next start comes back there, and the program's entries are untouched.
TEST_F(AppWindowTest, SizeAndPositionAreKeptBetweenRuns)
{
    ASSERT_TRUE(StartAndSettle());
    Frame()->setGeometry(QRect(30, 40, 600, 500));
    Settle();
    EXPECT_GT(View()->width(), 500);
    Frame()->close();
    Quit();
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"),
        QStringLiteral("Tarelog"));
    QStringList groups = settings.childGroups();
    groups.sort();
    EXPECT_EQ(groups, (QStringList{QStringLiteral("Window"), QStringLiteral("色")}));
    EXPECT_TRUE(settings.childKeys().isEmpty());
    EXPECT_EQ(settings.value(QStringLiteral("Window/geometry")).toByteArray().isEmpty(), false);

    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(Frame()->geometry(), QRect(30, 40, 600, 500));
}

// A message whose caller names no owner still belongs to the window: it
// is owned by it and appears over it, not wherever new windows go.
TEST_F(AppWindowTest, AMessageWithoutAnOwnerAppearsOverTheWindow)
{
    ASSERT_TRUE(StartAndSettle());
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    SetMessageBoxResponder(nullptr);
    QWidget* owner = nullptr;
    QPoint centre;
    OnNextModal([&](QDialog& box) {
        owner = box.parentWidget();
        centre = box.geometry().center();
        box.reject();
    });
    ShowMessageBox(QStringLiteral("テスト"), MB_OK);
    EXPECT_EQ(owner, Frame());
    EXPECT_TRUE(Frame()->geometry().contains(centre));
}

// However narrow the user makes the window, the description of every
// command fits the status bar.
TEST_F(AppWindowTest, NoWidthCutsAStatusBarPrompt)
{
    ASSERT_TRUE(StartAndSettle());
    Frame()->resize(100, 400);
    Settle();
    const QFontMetrics metrics(Frame()->statusBar()->font());
    int shown = 0;
    for (const QAction* action : Frame()->findChildren<QAction*>()) {
        if (action->statusTip().isEmpty())
            continue;
        ++shown;
        EXPECT_LT(metrics.horizontalAdvance(action->statusTip()), Frame()->statusBar()->width() - 16)
            << action->statusTip().toStdString();
    }
    EXPECT_GE(shown, 8);
}

} // namespace
