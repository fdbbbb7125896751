#include "app_fixture.h"

#include "platform/qt/framework_ids.h"
#include "platform/qt/qpainter_surface.h"
#include "platform/qt/qsettings_profile_store.h"
#include "platform/qt/recent_file_list.h"
#include "view/draw_graph.h"
#include "view/view_command_ids.h"

#include <QAction>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include <algorithm>

namespace {

using AppStartupTest = AppFixture;

int CountOf(const std::vector<int>& ids, int id)
{
    return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

QSettings UserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"),
        QStringLiteral("Tarelog"));
}

TEST_F(AppStartupTest, WithoutRecentFilesAnEmptyDiaryStaysShown)
{
    ASSERT_TRUE(StartAndSettle());
    EXPECT_TRUE(DocPath().isEmpty());
    EXPECT_EQ(Doc()->GetRecordCount(), 0);
    // The reopen request was made, found the list empty and did nothing.
    EXPECT_EQ(CountOf(m_routed, ID_FILE_MRU_FILE1), 0);
    EXPECT_FALSE(m_app->TakeReopen()) << "asked for once";
    EXPECT_TRUE(m_asked.empty());
}

// Qt's own parts (standard buttons, file dialogs) speak the window's
// language once the application has started, whatever the system's.
TEST_F(AppStartupTest, QtsOwnTextsAreJapanese)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(Start());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_EQ(QLocale().language(), QLocale::Japanese) << "file dialogs show dates in Japanese";
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Save As"));
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
    ASSERT_EQ(shown.size(), View()->size());
    ASSERT_GE(shown.width(), 240);
    EXPECT_TRUE(shown == expected);
    // Not a blank window compared with a blank picture.
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            inked += shown.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 500);
}

TEST_F(AppStartupTest, TheWindowShowsWhatTheCommandLineRendererDraws)
{
    const QString diary = FilePath(QStringLiteral("render.tlg"));
    {
        CTarelogDoc doc;
        // Two months, so the date labels change month.
        for (int i = 0; i < 28; ++i)
            doc.SetDayWeight(80.0 - 0.05 * i + ((i * 7) % 11) * 0.2, 2023, 12, 1 + i);
        for (int i = 0; i < 30; ++i)
            doc.SetDayWeight(78.0 + (i % 4) * 0.3, 2024, 1, 1 + i);
        doc.m_digits = 1;
        ASSERT_TRUE(SaveDiaryFile(doc, diary.toStdString()));
    }
    const int colours[7] = {0xC03000, 0xC8C8C8, 0x404040, 0x606060, 0x00A000, 0x0080FF, 0xC000C0};
    {
        QSettings settings = UserSettings();
        for (int i = 0; i < 7; ++i)
            settings.setValue(QStringLiteral("色/%1").arg(i), colours[i]);
        settings.setValue(QStringLiteral("SHOW/X"), 2);
    }
    ASSERT_TRUE(StartAndSettle({diary}));
    for (int id : {ID_AVG_NARROW, ID_AVG_NORMAL, ID_AVG_WIDE})
        Frame()->FindAction(id)->trigger();
    Settle();
    const QImage shown = View()->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The renderer is told everything on its command line and reads no
    // profile; its environment points at the test folder all the same.
    const QString png = FilePath(QStringLiteral("render.png"));
    QStringList arguments{QStringLiteral("render"), diary, QStringLiteral("-o"), png, QStringLiteral("--no-profile"),
        QStringLiteral("--size"), QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()),
        QStringLiteral("--avg"), QStringLiteral("narrow,normal,wide"), QStringLiteral("--style"), QStringLiteral("2")};
    for (int i = 0; i < 7; ++i)
        arguments << QStringLiteral("--color")
                  << QStringLiteral("%1=0x%2").arg(i).arg(colours[i], 6, 16, QLatin1Char('0'));
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), FilePath(QStringLiteral("cli-config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(TARELOG_CLI), arguments);
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    const QImage rendered = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), shown.size());
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing += shown.pixel(x, y) != rendered.pixel(x, y);
    EXPECT_EQ(differing, 0);
    // Each average colour is on screen: the switches reached the paint.
    for (int slot : {4, 5, 6}) {
        const QRgb wanted = qRgb(colours[slot] & 0xFF, (colours[slot] >> 8) & 0xFF, (colours[slot] >> 16) & 0xFF);
        bool found = false;
        for (int y = 0; y < shown.height() && !found; ++y)
            for (int x = 0; x < shown.width() && !found; ++x)
                found = shown.pixel(x, y) == wanted;
        EXPECT_TRUE(found) << "slot " << slot;
    }
}

} // namespace
