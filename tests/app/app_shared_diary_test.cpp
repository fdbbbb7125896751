// The window and a diary that other programs write too: changes on disk
// are read or merged, conflicts are asked about, unsaved entries survive a
// killed window, and a start that died opening a file does not repeat it.
#include "app_fixture.h"

#include "app/diary_files.h"
#include "platform/qt/framework_ids.h"

#include <QAction>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <csignal>

namespace {

class AppSharedDiaryTest : public AppFixture {
protected:
    // Another program's write: a whole new file renamed into place.
    void WriteFromElsewhere(const QString& path, const std::function<void(CTarelogDoc&)>& change)
    {
        CTarelogDoc doc;
        ASSERT_TRUE(LoadDiaryFile(path.toStdString(), doc));
        change(doc);
        ASSERT_TRUE(SaveDiaryFile(doc, path.toStdString()));
    }
    QString Status() const { return Frame()->statusBar()->currentMessage(); }
    QString StateFolder() const { return FilePath(QStringLiteral("state/tarelog")); }
    QStringList RecoveryFiles() const
    {
        return QDir(StateFolder()).entryList({QStringLiteral("*.tlg")}, QDir::Files, QDir::Name);
    }
    void Save() { Frame()->FindAction(ID_FILE_SAVE)->trigger(); }
};

TEST_F(AppSharedDiaryTest, AnUnchangedWindowReadsTheFileAgainWhenItChanges)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    WriteFromElsewhere(diary, [](CTarelogDoc& d) { d.SetDayWeight(72.0, 2024, 1, 3); });
    // The file watcher notices on its own.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Doc()->GetRecordCount() == 3; }, 10000));
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0, 71.0, 72.0}));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Status().contains(QStringLiteral("読み込み直しました"))) << Status().toStdString();

    // Opening the file shown reads it again when it changed, and only then.
    WriteFromElsewhere(diary, [](CTarelogDoc& d) { d.SetDayWeight(73.0, 2024, 1, 4); });
    EXPECT_TRUE(m_app->OpenDocumentFile(diary));
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0, 71.0, 72.0, 73.0}));
    EXPECT_TRUE(m_app->OpenDocumentFile(diary));
    EXPECT_TRUE(m_asked.empty());
}

TEST_F(AppSharedDiaryTest, SavingMergesDaysOtherProgramsAddedWithoutAsking)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    Doc()->SetDayWeight(69.0, 2024, 1, 5);
    // A script adds a day, then a sync tool brings one from another device.
    WriteFromElsewhere(diary, [](CTarelogDoc& d) { d.SetDayWeight(72.0, 2024, 1, 3); });
    WriteFromElsewhere(diary, [](CTarelogDoc& d) { d.SetDayWeight(68.0, 2024, 1, 4); });
    m_app->DocTemplate()->CheckFileOnDisk();
    EXPECT_TRUE(Status().contains(QStringLiteral("まとめます"))) << Status().toStdString();
    EXPECT_EQ(Doc()->GetRecordCount(), 3); // not read over the window's changes

    Save();
    EXPECT_TRUE(m_asked.empty());
    const std::vector<double> merged{70.0, 71.0, 72.0, 68.0, 69.0};
    EXPECT_EQ(WeightsIn(diary), merged);
    EXPECT_EQ(WeightsOf(*Doc()), merged);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Status().contains(QStringLiteral("2 日分"))) << Status().toStdString();
}

TEST_F(AppSharedDiaryTest, ADayBothChangedIsAskedAboutAndEnterKeepsTheFile)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    for (const int answer : {IDCANCEL, IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
        m_asked.clear();
        ASSERT_TRUE(StartAndSettle({diary}));
        Doc()->SetDayWeight(65.0, 2024, 1, 1);
        Doc()->SetDayWeight(64.0, 2024, 1, 9);
        WriteFromElsewhere(diary, [](CTarelogDoc& d) { d.SetDayWeight(66.0, 2024, 1, 1); });
        Answer(answer);
        Save();
        ASSERT_EQ(m_asked.size(), 1u);
        EXPECT_EQ(m_asked[0].type, MB_YESNOCANCEL | MB_ICONWARNING);
        EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("2024/01/01　ファイル: 66　この画面: 65")))
            << m_asked[0].text.toStdString();
        if (answer == IDCANCEL) {
            // Nothing saved, the window as it was.
            EXPECT_EQ(WeightsIn(diary), (std::vector<double>{66.0, 71.0}));
            EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{65.0, 71.0, 64.0}));
            EXPECT_TRUE(Doc()->IsModified());
        } else {
            const double kept = answer == IDYES ? 66.0 : 65.0;
            EXPECT_EQ(WeightsIn(diary), (std::vector<double>{kept, 71.0, 64.0}));
            EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{kept, 71.0, 64.0}));
            EXPECT_FALSE(Doc()->IsModified());
        }
        Quit();
    }
}

TEST_F(AppSharedDiaryTest, RecoveryCopyComesAndGoesWithUnsavedChanges)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    EXPECT_TRUE(RecoveryFiles().isEmpty());
    Doc()->SetDayWeight(69.0, 2024, 1, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecoveryFiles().size() == 2; }, 10000));
    Save();
    EXPECT_TRUE(RecoveryFiles().isEmpty());

    // Letting the changes go drops the copy too.
    Doc()->SetDayWeight(68.0, 2024, 1, 3);
    m_app->Files().KeepRecoveryNow();
    EXPECT_EQ(RecoveryFiles().size(), 2);
    Answer(IDNO);
    Frame()->FindAction(ID_FILE_NEW)->trigger();
    EXPECT_TRUE(RecoveryFiles().isEmpty());

    // A new diary's copy outlives a save that fails and goes with the one
    // that names the diary.
    Doc()->SetDayWeight(67.0, 2024, 1, 4);
    m_app->Files().KeepRecoveryNow();
    EXPECT_FALSE(RecoveryFiles().isEmpty());
    Choose(FilePath(QStringLiteral("no-such-folder/new.tlg")));
    Answer(IDOK);
    Frame()->FindAction(ID_FILE_SAVE_AS)->trigger();
    EXPECT_FALSE(RecoveryFiles().isEmpty());
    Choose(FilePath(QStringLiteral("new.tlg")));
    Frame()->FindAction(ID_FILE_SAVE_AS)->trigger();
    EXPECT_EQ(DocPath(), FilePath(QStringLiteral("new.tlg")));
    EXPECT_TRUE(RecoveryFiles().isEmpty());
}

TEST_F(AppSharedDiaryTest, AKilledWindowsEntriesAreOfferedBackAndMergeWithTheFile)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    auto startChild = [&](QProcess& child) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), FilePath(QStringLiteral("state")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), FilePath(QStringLiteral("child-config")));
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(TARELOG_UNSAVED_CHILD), {diary});
        ASSERT_TRUE(child.waitForReadyRead(30000)) << child.readAllStandardError().toStdString();
        ASSERT_EQ(child.readAllStandardOutput().trimmed(), QByteArray("ready"));
    };
    QProcess child;
    startChild(child);
    // While that window lives, its copy is its own: nobody else is asked.
    ASSERT_TRUE(StartAndSettle({diary}));
    EXPECT_TRUE(m_asked.empty());
    Quit();

    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(10000));
    // Meanwhile a script records another day.
    WriteFromElsewhere(diary, [](CTarelogDoc& d) { d.SetDayWeight(72.0, 2024, 1, 10); });

    Answer(IDYES);
    ASSERT_TRUE(StartAndSettle({diary}));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("復元しますか")));
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0, 71.0, 55.5, 55.0}));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Frame()->windowTitle().contains(QLatin1Char('*')));
    Save();
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 71.0, 72.0, 55.5, 55.0}));
    EXPECT_TRUE(RecoveryFiles().isEmpty());
    Quit();

    // Declined, the copy is kept aside and not offered again.
    WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    QProcess second;
    startChild(second);
    ::kill(static_cast<pid_t>(second.processId()), SIGKILL);
    ASSERT_TRUE(second.waitForFinished(10000));
    m_asked.clear();
    Answer(IDNO);
    ASSERT_TRUE(StartAndSettle({diary}));
    EXPECT_EQ(m_asked.size(), 1u);
    EXPECT_FALSE(Doc()->IsModified());
    const QStringList kept = RecoveryFiles();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept[0].contains(QStringLiteral(".discarded-")));
    Quit();
    m_asked.clear();
    ASSERT_TRUE(StartAndSettle({diary}));
    EXPECT_TRUE(m_asked.empty());
}

TEST_F(AppSharedDiaryTest, AStartThatDiedOpeningTheLastDiaryIsNotRepeated)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    Quit();
    ASSERT_EQ(RecentFiles(), QStringList{diary});
    // What a start leaves when it is killed before its first paint.
    QDir().mkpath(StateFolder());
    QFile(StateFolder() + QStringLiteral("/starting")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(StartAndSettle());
    EXPECT_TRUE(DocPath().isEmpty());
    EXPECT_TRUE(Status().contains(QStringLiteral("自動では開きませんでした"))) << Status().toStdString();
    Quit();
    // That start ended in order: the next one (a new process) reopens as usual.
    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(DocPath(), diary);
}

// What a start writes into its marker, with the process id of `pid`.
QByteArray MarkerNaming(qint64 pid, const QString& scratch)
{
    QLockFile probe(scratch);
    EXPECT_TRUE(probe.tryLock(0));
    QFile written(scratch);
    EXPECT_TRUE(written.open(QIODevice::ReadOnly));
    QByteArray content = written.readAll();
    written.close();
    probe.unlock();
    return QByteArray::number(pid) + content.mid(content.indexOf('\n'));
}

TEST_F(AppSharedDiaryTest, AMarkerWhoseProcessIdNowBelongsToAnotherProgramIsAnInterruptedStart)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    Quit();
    // After a restart the crashed start's id went to a program that is no
    // window; it is alive, but the marker is still dead.
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(other.waitForStarted(10000));
    QDir().mkpath(StateFolder());
    const QString marker = StateFolder() + QStringLiteral("/starting");
    const QByteArray naming = MarkerNaming(other.processId(), FilePath(QStringLiteral("probe.lock")));
    QFile stale(marker);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(naming);
    stale.close();
    ASSERT_TRUE(StartAndSettle());
    EXPECT_TRUE(DocPath().isEmpty());
    EXPECT_TRUE(Status().contains(QStringLiteral("自動では開きませんでした"))) << Status().toStdString();
    EXPECT_FALSE(QFile::exists(marker)) << "taken over, then removed after the first paint";
    other.kill();
    other.waitForFinished(10000);
    Quit();

    // A marker held by a live start of this program (two windows started
    // at once) is no crash: the last diary is reopened.
    QLockFile starting(marker);
    ASSERT_TRUE(starting.tryLock(0));
    ASSERT_TRUE(StartAndSettle());
    EXPECT_EQ(DocPath(), diary);
    EXPECT_FALSE(Status().contains(QStringLiteral("自動では開きませんでした"))) << Status().toStdString();
    EXPECT_TRUE(QFile::exists(marker)) << "the other start's marker is left to it";
}

} // namespace
