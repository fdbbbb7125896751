#include "app_fixture.h"

#include "app/command_ids.h"
#include "platform/qt/qpainter_surface.h"
#include "platform/qt/qsettings_profile_store.h"
#include "platform/qt/recent_file_list.h"
#include "view/draw_graph.h"

#include <QAction>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

using AppStartupTest = AppFixture;

int CountOf(const std::vector<int>& ids, int id)
{
    return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

QSettings UserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"), QStringLiteral("Tarelog"));
}

TEST_F(AppStartupTest, WithoutRecentFilesAnEmptyDiaryStaysShown)
{
    ASSERT_TRUE(StartAndSettle());
    EXPECT_TRUE(DocPath().isEmpty());
    EXPECT_EQ(Doc()->GetRecordCount(), 0);
    // The reopen request was made, found the list empty and did nothing.
    EXPECT_EQ(CountOf(m_routed, ID_FILE_MRU_FILE1), 0);
    EXPECT_FALSE(CTarelogView::s_reopenPending);
    EXPECT_TRUE(m_asked.empty());
}

TEST_F(AppStartupTest, TheMostRecentFileIsReopenedOnceTheLoopRuns)
{
    const QString last = WriteDiary(QStringLiteral("last.tlg"), {72.0, 71.5});
    {
        UserSettings().setValue(QStringLiteral("Recent File List/File1"), last);
    }
    ASSERT_TRUE(Start());
    // Start-up itself made an empty document; the reopen waits for the loop.
    EXPECT_TRUE(DocPath().isEmpty());
    Settle();
    EXPECT_EQ(DocPath(), last);
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{72.0, 71.5}));
    EXPECT_EQ(CountOf(m_routed, ID_FILE_MRU_FILE1), 1);

    // Later initial updates of the same process ask for nothing.
    Frame()->FindAction(ID_FILE_NEW)->trigger();
    Settle();
    EXPECT_TRUE(DocPath().isEmpty());
    EXPECT_EQ(CountOf(m_routed, ID_FILE_MRU_FILE1), 1);
}

TEST_F(AppStartupTest, AFileNamedOnTheCommandLineStaysShown)
{
    const QString older = WriteDiary(QStringLiteral("older.tlg"), {50.0});
    const QString named = WriteDiary(QStringLiteral("named.tlg"), {52.0});
    {
        UserSettings().setValue(QStringLiteral("Recent File List/File1"), older);
    }
    ASSERT_TRUE(Start({named}));
    EXPECT_EQ(DocPath(), named);
    EXPECT_EQ(RecentFiles(), (QStringList{named, older}));
    // A change made before the reopen runs must survive it: the reopen names
    // the file already shown, which is neither read again nor questioned.
    Doc()->SetDayWeight(53.0, 2024, 1, 2);
    Settle();
    EXPECT_EQ(CountOf(m_routed, ID_FILE_MRU_FILE1), 1);
    EXPECT_EQ(DocPath(), named);
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{52.0, 53.0}));
    EXPECT_TRUE(m_asked.empty());
    Doc()->SetModifiedFlag(false);
}

TEST_F(AppStartupTest, AFileThatCannotBeOpenedEndsTheStart)
{
    Answer(IDOK);
    EXPECT_FALSE(Start({FilePath(QStringLiteral("missing.tlg"))}));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("missing.tlg")));
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_EQ(Doc(), nullptr);
}

TEST_F(AppStartupTest, ColoursWrittenAtExitAreReadAtTheNextStart)
{
    {
        QSettings settings = UserSettings();
        settings.setValue(QStringLiteral("色/0"), 0x0000FF);
        settings.setValue(QStringLiteral("色/8"), static_cast<int>(0xFF123456u));
    }
    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(View()->State().m_colorSlots[0], 0x0000FFu);
    EXPECT_EQ(View()->State().m_colorSlots[8], 0xFF123456u);
    EXPECT_EQ(View()->State().m_colorSlots[3], 0u);
    // The profile changes behind the view's back; the view's own slots win
    // at exit, all ten of them.
    m_app->GetProfileStore().WriteProfileInt("色", "0", 0x00FF00);
    Quit();
    {
        QSettings settings = UserSettings();
        EXPECT_EQ(settings.value(QStringLiteral("色/0")).toInt(), 0x0000FF);
        EXPECT_EQ(static_cast<unsigned>(settings.value(QStringLiteral("色/8")).toInt()), 0xFF123456u);
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(settings.contains(QStringLiteral("色/%1").arg(i))) << i;
    }
    CTarelogView::s_reopenPending = true;
    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(View()->State().m_colorSlots[0], 0x0000FFu);
    EXPECT_EQ(View()->State().m_colorSlots[8], 0xFF123456u);
}

TEST_F(AppStartupTest, TheWindowShowsWhatDrawGraphDraws)
{
    {
        QSettings settings = UserSettings();
        settings.setValue(QStringLiteral("色/0"), 0x0000C0);
        settings.setValue(QStringLiteral("色/4"), 0x00A000);
        settings.setValue(QStringLiteral("色/5"), 0xA00000);
        settings.setValue(QStringLiteral("色/6"), 0x00A0A0);
    }
    std::vector<double> weights;
    for (int i = 0; i < 40; ++i)
        weights.push_back(70.0 - 0.1 * i + (i % 5) * 0.3);
    const QString diary = WriteDiary(QStringLiteral("graph.tlg"), weights);
    ASSERT_TRUE(StartAndSettle({diary}));
    for (int id : {ID_AVG_NARROW, ID_AVG_NORMAL, ID_AVG_WIDE})
        Frame()->FindAction(id)->trigger();
    Settle();

    const QImage shown = View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage expected(shown.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        QPainterSurface surface(painter);
        DrawGraph(surface, Rect{0, 0, expected.width(), expected.height()}, *Doc(), View()->State(),
                  m_app->GetProfileStore());
    }
    ASSERT_EQ(shown.size(), QSize(240, 320));
    EXPECT_TRUE(shown == expected);
    // Not a blank window compared with a blank picture.
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            inked += shown.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 500);
}

} // namespace
