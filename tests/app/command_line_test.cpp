#include "app_fixture.h"
#include "platform/qt/command_line.h"
#include "tarelog_version.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace {

const QString kDescription = QStringLiteral("A diary.");

StandardOptions Read(const QStringList& options, bool strict = true)
{
    return ReadStandardOptions(QStringList{QStringLiteral("tarelog")} + options, kDescription, strict);
}

class StandardOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8"));
    }
};

TEST_F(StandardOptionsTest, HelpAndVersionEndTheProgramWithTheirText)
{
    for (const QString& help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const StandardOptions options = Read({QStringLiteral("diary.tlg"), help});
        EXPECT_EQ(options.action, StandardOptions::Exit);
        EXPECT_EQ(options.exitCode, 0);
        EXPECT_TRUE(options.output.contains(kDescription));
        EXPECT_TRUE(options.output.contains(QStringLiteral("--version")));
        EXPECT_TRUE(options.output.contains(QStringLiteral("[FILE]")));
    }
    const StandardOptions version = Read({QStringLiteral("--version")});
    EXPECT_EQ(version.action, StandardOptions::Exit);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, QStringLiteral("tarelog 9.8\n"));
}

TEST_F(StandardOptionsTest, AFileKeepsItsMeaningAndDoubleDashEndsTheOptions)
{
    EXPECT_EQ(Read({}).action, StandardOptions::Run);
    EXPECT_TRUE(Read({}).files.isEmpty());
    EXPECT_EQ(Read({QStringLiteral("diary.tlg")}).files, QStringList{QStringLiteral("diary.tlg")});
    const StandardOptions dashed = Read({QStringLiteral("--"), QStringLiteral("-x.tlg")});
    EXPECT_EQ(dashed.action, StandardOptions::Run);
    EXPECT_EQ(dashed.files, QStringList{QStringLiteral("-x.tlg")});
    EXPECT_EQ(Read({QStringLiteral("--"), QStringLiteral("--help")}).files, QStringList{QStringLiteral("--help")});
}

TEST_F(StandardOptionsTest, UnknownOptionsWaitForTheWindowSystemThenAreUsageErrors)
{
    // The first reading lets -platform and the like through to QApplication.
    EXPECT_EQ(Read({QStringLiteral("--frobnicate")}, false).action, StandardOptions::Run);
    const StandardOptions strict = Read({QStringLiteral("--frobnicate")});
    EXPECT_EQ(strict.action, StandardOptions::Exit);
    EXPECT_EQ(strict.exitCode, 2);
    EXPECT_TRUE(strict.error.contains(QStringLiteral("frobnicate")));
    EXPECT_TRUE(strict.output.isEmpty());
}

// The program itself, with no display at all: --help and --version answer
// and end without trying to open a window.
TEST(TarelogProgram, AnswersHelpAndVersionWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    auto run = [&environment](const QString& option) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TARELOG_GUI), {option});
        EXPECT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    EXPECT_EQ(run(QStringLiteral("--version")), QStringLiteral("tarelog " TARELOG_VERSION "\n"));
    const QString help = run(QStringLiteral("--help"));
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: "))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("[FILE]")));
}

} // namespace
