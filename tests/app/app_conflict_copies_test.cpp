// The window and the conflict copies a sync engine leaves beside its diary:
// found when the diary opens and whenever one appears in its folder, folded
// in and saved at once, or into unsaved changes for the next save.
#include "app_fixture.h"

#include "platform/qt/framework_ids.h"

#include <QAction>
#include <QFile>
#include <QStatusBar>
#include <QTest>

namespace {

class AppConflictCopiesTest : public AppFixture {
protected:
    QString Status() const { return Frame()->statusBar()->currentMessage(); }
    QString Copy() const { return FilePath(QStringLiteral("diary.sync-conflict-20261209-140853-ABCDEFG.tlg")); }
    QString KeptFolder() const { return FilePath(QStringLiteral("state/tarelog/conflict-copies")); }
};

TEST_F(AppConflictCopiesTest, ACopyArrivingBesideAnUnchangedDiaryIsFoldedInAndSaved)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    WriteDiary(QFileInfo(Copy()).fileName(), {70.0, 71.0, 72.0});
    // The folder watch notices on its own.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Doc()->GetRecordCount() == 3; }, 10000));
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 71.0, 72.0}));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_FALSE(QFile::exists(Copy()));
    EXPECT_EQ(QDir(KeptFolder()).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(Status().contains(QStringLiteral("1 件から 1 日分を取り込んで保存しました"))) << Status().toStdString();
    EXPECT_TRUE(m_asked.empty());
}

TEST_F(AppConflictCopiesTest, ACopyJoinsUnsavedChangesAndTheNextSaveWritesBoth)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    Doc()->SetDayWeight(69.0, 2024, 1, 5);
    WriteDiary(QFileInfo(Copy()).fileName(), {70.0, 71.0, 72.0});
    m_app->DocTemplate()->CheckFileOnDisk();
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0, 71.0, 72.0, 69.0}));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 71.0}));
    EXPECT_TRUE(QFile::exists(Copy()));
    EXPECT_TRUE(Status().contains(QStringLiteral("保存すると書き込まれます"))) << Status().toStdString();

    Frame()->FindAction(ID_FILE_SAVE)->trigger();
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 71.0, 72.0, 69.0}));
    EXPECT_FALSE(QFile::exists(Copy()));
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppConflictCopiesTest, OpeningADiaryFoldsTheCopiesBesideIt)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    WriteDiary(QFileInfo(Copy()).fileName(), {70.0, 71.0, 72.0, 73.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0, 71.0, 72.0, 73.0}));
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 71.0, 72.0, 73.0}));
    EXPECT_FALSE(QFile::exists(Copy()));
}

// A day two machines changed differently is asked about; Enter leaves the
// copy alone, so that neither weight is discarded.
TEST_F(AppConflictCopiesTest, ADayChangedOnTwoMachinesIsAskedAboutAndEnterLeavesTheCopy)
{
    const QString diary = WriteDiary(QStringLiteral("diary.tlg"), {70.0, 71.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    WriteDiary(QFileInfo(Copy()).fileName(), {75.0, 71.0});
    Answer(IDNO);
    m_app->DocTemplate()->CheckFileOnDisk();
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0].type, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("2024/01/01"))) << m_asked[0].text.toStdString();
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("75"))) << m_asked[0].text.toStdString();
    EXPECT_TRUE(QFile::exists(Copy()));
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 71.0}));
    // Not asked again until the copy changes.
    m_app->DocTemplate()->CheckFileOnDisk();
    EXPECT_EQ(m_asked.size(), 1u);

    // Keeping the later change: the copy is younger than the diary here.
    WriteDiary(QFileInfo(Copy()).fileName(), {75.0, 71.0, 72.0});
    Answer(IDYES);
    m_app->DocTemplate()->CheckFileOnDisk();
    ASSERT_EQ(m_asked.size(), 2u);
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{75.0, 71.0, 72.0}));
    EXPECT_FALSE(QFile::exists(Copy()));
}

} // namespace
