#include "../diary/temp_dir.h"
#include "diary/diary_file.h"
#include "platform/format.h"
#include "platform/memory_profile_store.h"
#include "platform/qt/qpainter_surface.h"
#include "platform/qt/qsettings_profile_store.h"
#include "platform/recording_surface.h"
#include "view/draw_graph.h"

#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct ToolRun {
    int status = -1;
    std::string err;
};

class RenderVerb : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.m_digits = 1;
        doc.m_unit = u"kg";
        const double weights[] = {68.2, 67.9, 68.4, 67.5, 67.0, 66.8, 67.1, 66.2};
        for (int i = 0; i < 8; ++i)
            doc.AppendRecord({weights[i], 2001, 3, static_cast<std::int16_t>(1 + 3 * i), {0, 0}});
        ASSERT_TRUE(SaveDiaryFile(doc, diary));
    }

    // Runs the built tool with its own configuration folder, so the user's
    // profile is never read or written.
    ToolRun Render(const QStringList& args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.Path().string()));
        env.insert("HOME", QString::fromStdString(config.Path().string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(TARELOG_CLI, QStringList{"render", QString::fromStdString(diary)} + args);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError().toStdString()};
    }

    std::string Out(const char* name) const { return dir.File(name); }

    std::string OpsInProcess(const GraphViewState& state, const ProfileStore& profile, Rect client = {0, 0, 240, 268})
    {
        GraphFontMeasurer measurer;
        RecordingSurface surface(measurer);
        DrawGraph(surface, client, doc, state, profile);
        return OpsText(client, surface.Ops());
    }

    TempDir dir;
    TempDir config;
    std::string diary = dir.File("diary.tlg");
    CTarelogDoc doc;
};

TEST_F(RenderVerb, OpsListIsTheWindowsDrawing)
{
    ASSERT_EQ(Render({"-o", QString::fromStdString(Out("g.ops")), "--no-profile"}).status, 0);
    MemoryProfileStore empty;
    EXPECT_EQ(ReadBytes(Out("g.ops")), OpsInProcess(GraphViewState{}, empty));
}

TEST_F(RenderVerb, OptionsReachTheDrawing)
{
    const ToolRun run = Render({"-o", QString::fromStdString(Out("g.ops")), "--no-profile", "--size", "400x300",
        "--style", "3", "--avg", "wide,narrow", "--color", "0=0x0000FF", "--color", "6=0x123456"});
    ASSERT_EQ(run.status, 0) << run.err;
    GraphViewState state;
    state.m_avgNarrow = state.m_avgWide = true;
    state.m_colorSlots[0] = 0x0000FF;
    state.m_colorSlots[6] = 0x123456;
    MemoryProfileStore profile;
    profile.WriteProfileInt("SHOW", "X", 3);
    const std::string ops = ReadBytes(Out("g.ops"));
    EXPECT_EQ(ops, OpsInProcess(state, profile, {0, 0, 400, 300}));
    EXPECT_NE(ops.find("\"010301\""), std::string::npos) << "style 3 labels";
    EXPECT_NE(ops.find("pen 0x00123456"), std::string::npos);
}

TEST_F(RenderVerb, ViewOptionsDrawAsTheWindowsViewMenu)
{
    const ToolRun run = Render({"-o", QString::fromStdString(Out("v.ops")), "--no-profile", "--size", "640x300",
        "--range", "10", "--fill", "--trend", "--goal", "65.5", "--color", "7=0x0000C0", "--color", "8=0x00C000"});
    ASSERT_EQ(run.status, 0) << run.err;
    GraphViewState state;
    state.m_rangeDays = 10;
    state.m_fill = true;
    state.m_trend = true;
    state.m_goal = 65.5;
    state.m_colorSlots[7] = 0x0000C0;
    state.m_colorSlots[8] = 0x00C000;
    MemoryProfileStore profile;
    const std::string ops = ReadBytes(Out("v.ops"));
    EXPECT_EQ(ops, OpsInProcess(state, profile, {0, 0, 640, 300}));
    EXPECT_NE(ops.find("pen 0x000000C0"), std::string::npos) << "the trend line";
    EXPECT_NE(ops.find("pen 0x0000C000"), std::string::npos) << "the goal line";
    EXPECT_NE(ops.find("\"65.5kg\""), std::string::npos) << "the scale stretched down to the goal";
    EXPECT_EQ(ops.find("\"3/1\""), std::string::npos) << "the first days are outside the range";

    for (const QStringList& bad :
        {QStringList{"--range", "0"}, QStringList{"--range", "-7"}, QStringList{"--range", "abc"},
            QStringList{"--goal", "abc"}, QStringList{"--goal", "0"}, QStringList{"--goal", "nan"}}) {
        const ToolRun refused = Render(QStringList{"-o", QString::fromStdString(Out("bad.ops"))} + bad);
        EXPECT_EQ(refused.status, 2) << bad.join(' ').toStdString();
        EXPECT_NE(refused.err.find(bad[0].toStdString()), std::string::npos) << refused.err;
    }
    EXPECT_FALSE(std::filesystem::exists(Out("bad.ops")));
}

TEST_F(RenderVerb, ProfileGivesColoursAndStyleUnlessIgnored)
{
    const std::filesystem::path ini = config.Path() / "Ostrel" / "Tarelog.conf";
    std::filesystem::create_directories(ini.parent_path());
    {
        QSettingsProfileStore profile(QString::fromStdString(ini.string()));
        profile.WriteProfileInt("色", "3", 0x00ABCDEF);
        profile.WriteProfileInt("SHOW", "X", 2);
    }
    ASSERT_EQ(Render({"-o", QString::fromStdString(Out("p.ops"))}).status, 0);
    const std::string withProfile = ReadBytes(Out("p.ops"));
    EXPECT_NE(withProfile.find("pen 0x00ABCDEF"), std::string::npos);
    EXPECT_NE(withProfile.find("\"01/03/01\""), std::string::npos);

    ASSERT_EQ(Render({"-o", QString::fromStdString(Out("n.ops")), "--no-profile"}).status, 0);
    const std::string without = ReadBytes(Out("n.ops"));
    EXPECT_EQ(without.find("0x00ABCDEF"), std::string::npos);
    EXPECT_NE(without.find("\"3/1\""), std::string::npos);
    // Rendering never writes the profile back.
    QSettingsProfileStore after(QString::fromStdString(ini.string()));
    EXPECT_EQ(after.GetProfileInt("色", "0", -7), -7);
}

TEST_F(RenderVerb, PngIsPaintedLikeTheWindow)
{
    ASSERT_EQ(
        Render({"-o", QString::fromStdString(Out("g.png")), "--no-profile", "--avg", "normal", "--color", "0=0x0000FF"})
            .status,
        0);
    const QImage fromTool(QString::fromStdString(Out("g.png")));
    ASSERT_EQ(fromTool.size(), QSize(240, 268));

    QImage expected(240, 268, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        QPainterSurface surface(painter);
        GraphViewState state;
        state.m_avgNormal = true;
        state.m_colorSlots[0] = 0x0000FF;
        MemoryProfileStore profile;
        DrawGraph(surface, {0, 0, 240, 268}, doc, state, profile);
    }
    EXPECT_EQ(fromTool.convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(RenderVerb, SvgMeasuresWithTheWindowsFont)
{
    ASSERT_EQ(Render({"-o", QString::fromStdString(Out("g.svg")), "--no-profile"}).status, 0);
    const std::string svg = ReadBytes(Out("g.svg"));
    EXPECT_NE(svg.find("font-family=\"" + GraphFont().family().toStdString() + "\""), std::string::npos);
    // The first date label sits at max(0, L - w / 2), with L from the widest
    // (topmost) scale label, all in the font's own widths.
    GraphFontMeasurer measurer;
    const std::size_t label = svg.find(">3/1</text>");
    ASSERT_NE(label, std::string::npos);
    const std::size_t element = svg.rfind("<text", label);
    const std::size_t lastScale = svg.rfind("kg</text>", element);
    ASSERT_NE(lastScale, std::string::npos);
    const std::size_t scaleStart = svg.rfind('>', lastScale) + 1;
    const std::string topLabel = svg.substr(scaleStart, lastScale + 2 - scaleStart);
    const int left = measurer.Measure(topLabel).width + 3;
    const int x = std::max(0, left - measurer.Measure("3/1").width / 2);
    EXPECT_EQ(svg.substr(element, label - element).find(FormatString(" x=\"%d\" ", x)),
        std::string("<text xml:space=\"preserve\"").size())
        << topLabel << "\n"
        << svg.substr(element, label - element);
}

TEST_F(RenderVerb, RefusesWhatItCannotDo)
{
    EXPECT_EQ(Render({"-o", QString::fromStdString(Out("g.jpg"))}).status, 2);
    EXPECT_EQ(Render({}).status, 2);
    EXPECT_EQ(Render({"-o", QString::fromStdString(Out("g.png")), "--size", "0x100"}).status, 2);
    EXPECT_EQ(Render({"-o", QString::fromStdString(Out("g.ops")), "--size", "240"}).status, 2);
    EXPECT_EQ(Render({"-o", QString::fromStdString(Out("g.ops")), "--style", "4"}).status, 2);
    EXPECT_EQ(Render({"-o", QString::fromStdString(Out("g.ops")), "--color", "10=0x0"}).status, 2);
    EXPECT_EQ(Render({"-o", QString::fromStdString(Out("g.ops")), "--avg", "narrow,thin"}).status, 2);
    EXPECT_EQ(Render({"-o", QString::fromStdString(Out("g.ops")), "--frobnicate"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(Out("g.ops")));

    const ToolRun missing = Render({"-o", QString::fromStdString(Out("g.ops")), "--no-profile"});
    EXPECT_EQ(missing.status, 0);
    diary = dir.File("absent.tlg");
    const ToolRun absent = Render({"-o", QString::fromStdString(Out("h.ops")), "--no-profile"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_NE(absent.err.find("absent.tlg"), std::string::npos) << absent.err;
    EXPECT_FALSE(std::filesystem::exists(Out("h.ops")));
    diary = dir.File("diary.tlg");
    const ToolRun unwritable = Render({"-o", QString::fromStdString(dir.File("no/such/dir/g.ops")), "--no-profile"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

} // namespace
