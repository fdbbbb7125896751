#include "app_fixture.h"

#include "platform/qt/framework_ids.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

using AppFilesTest = AppFixture;

TEST_F(AppFilesTest, SaveAsAddsTheExtensionAndNamesTheWindow)
{
    ASSERT_TRUE(StartAndSettle());
    Doc()->SetDayWeight(61.5, 2024, 3, 1);
    Doc()->SetDayWeight(61.0, 2024, 3, 2);
    Choose(FilePath(QStringLiteral("march")));
    Frame()->FindAction(ID_FILE_SAVE_AS)->trigger();

    const QString saved = FilePath(QStringLiteral("march.tlg"));
    ASSERT_EQ(m_fileDialogs.size(), 1u);
    EXPECT_EQ(m_fileDialogs[0].first, FileDialogKind::Save);
    EXPECT_EQ(WeightsIn(saved), (std::vector<double>{61.5, 61.0}));
    EXPECT_EQ(DocPath(), saved);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("march.tlg - Tarelog"));
    EXPECT_EQ(RecentFiles(), QStringList{saved});

    // Save writes to the same file without asking for a name.
    Doc()->SetDayWeight(60.5, 2024, 3, 3);
    Frame()->FindAction(ID_FILE_SAVE)->trigger();
    EXPECT_EQ(WeightsIn(saved), (std::vector<double>{61.5, 61.0, 60.5}));
    EXPECT_EQ(m_fileDialogs.size(), 1u);
}

TEST_F(AppFilesTest, OpeningAskedAboutChangesAnsweredYesSavesThemFirst)
{
    const QString first = WriteDiary(QStringLiteral("first.tlg"), {70.0});
    const QString second = WriteDiary(QStringLiteral("second.tlg"), {80.0, 81.0});
    ASSERT_TRUE(StartAndSettle({first}));
    Doc()->SetDayWeight(69.0, 2024, 2, 1);
    Choose(second);
    Answer(IDYES);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();

    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0].text, QStringLiteral("first.tlg への変更を保存しますか?"));
    EXPECT_EQ(m_asked[0].type & 0xF, MB_YESNOCANCEL);
    EXPECT_EQ(WeightsIn(first), (std::vector<double>{70.0, 69.0}));
    EXPECT_EQ(DocPath(), second);
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{80.0, 81.0}));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("second.tlg - Tarelog"));
}

TEST_F(AppFilesTest, AnsweringNoDiscardsAndCancelKeepsEverything)
{
    const QString first = WriteDiary(QStringLiteral("first.tlg"), {70.0});
    const QString second = WriteDiary(QStringLiteral("second.tlg"), {80.0});
    ASSERT_TRUE(StartAndSettle({first}));
    Doc()->SetDayWeight(69.0, 2024, 2, 1);
    Settle();

    Choose(second);
    Answer(IDCANCEL);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(DocPath(), first);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0, 69.0}));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("first.tlg* - Tarelog"));

    Choose(second);
    Answer(IDNO);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(DocPath(), second);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(WeightsIn(first), (std::vector<double>{70.0}));
}

TEST_F(AppFilesTest, NewOnAnUntitledChangeAsksForANameWhenSaved)
{
    ASSERT_TRUE(StartAndSettle());
    Doc()->SetDayWeight(55.0, 2024, 1, 1);
    Answer(IDYES);
    Choose(FilePath(QStringLiteral("kept.tlg")));
    Frame()->FindAction(ID_FILE_NEW)->trigger();
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0].text, QStringLiteral("無題 への変更を保存しますか?"));
    EXPECT_EQ(WeightsIn(FilePath(QStringLiteral("kept.tlg"))), std::vector<double>{55.0});
    EXPECT_EQ(Doc()->GetRecordCount(), 0);
    EXPECT_TRUE(DocPath().isEmpty());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("無題 - Tarelog"));

    // Cancelling the name dialog cancels the New as well.
    Doc()->SetDayWeight(56.0, 2024, 1, 2);
    Answer(IDYES);
    Choose(QString());
    Frame()->FindAction(ID_FILE_NEW)->trigger();
    EXPECT_EQ(Doc()->GetRecordCount(), 1);
    EXPECT_TRUE(Doc()->IsModified());
    Doc()->SetModifiedFlag(false);
}

TEST_F(AppFilesTest, ClosingTheWindowAsksAboutChanges)
{
    const QString diary = WriteDiary(QStringLiteral("close.tlg"), {70.0});
    ASSERT_TRUE(StartAndSettle({diary}));
    Doc()->SetDayWeight(71.0, 2024, 1, 2);
    Answer(IDCANCEL);
    EXPECT_FALSE(Frame()->close());
    EXPECT_TRUE(Frame()->isVisible());

    Answer(IDYES);
    Frame()->FindAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 71.0}));
    EXPECT_EQ(m_asked.size(), 2u);
}

TEST_F(AppFilesTest, AFailedOpenKeepsTheDocumentThatWasOpen)
{
    const QString good = WriteDiary(QStringLiteral("good.tlg"), {65.0, 64.5});
    const QString damaged = FilePath(QStringLiteral("damaged.tlg"));
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x65\x00\x00\x00\xff\xff\xff\x7f", 8);
    }
    ASSERT_TRUE(StartAndSettle({good}));
    Doc()->SetDayWeight(64.0, 2024, 1, 3);
    // Keep the change: the question is answered No, then the open fails.
    Answer(IDNO);
    Answer(IDOK);
    Choose(damaged);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();

    ASSERT_EQ(m_asked.size(), 2u);
    EXPECT_EQ(m_asked[1].type & 0xF0, MB_ICONERROR);
    EXPECT_TRUE(m_asked[1].text.contains(QStringLiteral("damaged.tlg")));
    EXPECT_EQ(DocPath(), good);
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{65.0, 64.5, 64.0}));
    EXPECT_EQ(RecentFiles(), QStringList{good});
    EXPECT_TRUE(Doc()->IsModified());
    Doc()->SetModifiedFlag(false);
}

TEST_F(AppFilesTest, AFailedSaveKeepsTheDocumentModified)
{
    ASSERT_TRUE(StartAndSettle());
    Doc()->SetDayWeight(50.0, 2024, 1, 1);
    Choose(FilePath(QStringLiteral("no-such-folder/diary.tlg")));
    Answer(IDOK);
    Frame()->FindAction(ID_FILE_SAVE_AS)->trigger();
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0].type & 0xF0, MB_ICONERROR);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(DocPath().isEmpty());
    EXPECT_TRUE(RecentFiles().isEmpty());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("無題* - Tarelog"));
    Doc()->SetModifiedFlag(false);
}

TEST_F(AppFilesTest, RecentFilesAreShownNewestFirstUpToFour)
{
    QStringList paths;
    for (const char* name : {"a.tlg", "b.tlg", "c.tlg", "d.tlg", "e.tlg"})
        paths << WriteDiary(QString::fromLatin1(name), {60.0});
    ASSERT_TRUE(StartAndSettle());
    QMenu* file = Frame()->FindPopup(QStringLiteral("ﾌｧｲﾙ"));
    emit file->aboutToShow();
    QAction* placeholder = Frame()->FindAction(ID_FILE_MRU_FILE1);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->text(), QStringLiteral("最新のファイル"));
    EXPECT_FALSE(placeholder->isEnabled());

    for (const QString& path : paths) {
        Choose(path);
        Frame()->FindAction(ID_FILE_OPEN)->trigger();
    }
    // Opening b again moves it to the head.
    Choose(paths[1]);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(RecentFiles(), (QStringList{paths[1], paths[4], paths[3], paths[2]}));

    emit file->aboutToShow();
    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        QAction* item = Frame()->FindAction(ID_FILE_MRU_FILE1 + i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_TRUE(item->isEnabled());
        shown << item->text();
    }
    EXPECT_EQ(shown,
        (QStringList{QStringLiteral("&1 b.tlg"), QStringLiteral("&2 e.tlg"), QStringLiteral("&3 d.tlg"),
            QStringLiteral("&4 c.tlg")}));
    EXPECT_FALSE(placeholder->isVisible());

    Frame()->FindAction(ID_FILE_MRU_FILE1 + 2)->trigger();
    EXPECT_EQ(DocPath(), paths[3]);
    EXPECT_EQ(RecentFiles().first(), paths[3]);
}

TEST_F(AppFilesTest, AMissingRecentFileIsReportedAndRemoved)
{
    const QString kept = WriteDiary(QStringLiteral("kept.tlg"), {60.0});
    const QString gone = WriteDiary(QStringLiteral("gone.tlg"), {61.0});
    ASSERT_TRUE(StartAndSettle({kept}));
    Choose(gone);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();
    Choose(kept);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();
    ASSERT_EQ(RecentFiles(), (QStringList{kept, gone}));
    ASSERT_TRUE(QFile::remove(gone));

    Answer(IDOK);
    QMenu* file = Frame()->FindPopup(QStringLiteral("ﾌｧｲﾙ"));
    emit file->aboutToShow();
    Frame()->FindAction(ID_FILE_MRU_FILE1 + 1)->trigger();
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("gone.tlg")));
    EXPECT_EQ(RecentFiles(), QStringList{kept});
    EXPECT_EQ(DocPath(), kept);
}

TEST_F(AppFilesTest, DroppingADiaryOpensItAfterTheQuestion)
{
    const QString dropped = WriteDiary(QStringLiteral("dropped.tlg"), {90.0});
    ASSERT_TRUE(StartAndSettle());
    Doc()->SetDayWeight(1.0, 2024, 1, 1);
    Answer(IDNO);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(FilePath(QStringLiteral("notes.txt"))), QUrl::fromLocalFile(dropped)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Frame(), &drop);
    Settle();
    EXPECT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(DocPath(), dropped);

    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(FilePath(QStringLiteral("notes.txt")))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QCoreApplication::sendEvent(Frame(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

} // namespace
