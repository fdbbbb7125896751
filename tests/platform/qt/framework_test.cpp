#include "platform/qt/cmd_target.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/recent_file_list.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(WithDefaultExtension, AddsTheExtensionOnlyWhereThereIsNone)
{
    const QString tlg = QStringLiteral(".tlg");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/d/diary"), tlg), QStringLiteral("/d/diary.tlg"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/d/diary.tlg"), tlg), QStringLiteral("/d/diary.tlg"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/d/diary.bak"), tlg), QStringLiteral("/d/diary.bak"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/d/diary."), tlg), QStringLiteral("/d/diary.tlg"));
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/d.old/diary"), tlg), QStringLiteral("/d.old/diary.tlg"));
    EXPECT_EQ(WithDefaultExtension(QString(), tlg), QString());
}

class RecentFileListTest : public ::testing::Test {
protected:
    QString Ini() const { return m_dir.filePath(QStringLiteral("recent.ini")); }
    QTemporaryDir m_dir;
};

TEST_F(RecentFileListTest, KeepsTheNewestFourWithoutDuplicates)
{
    QSettings settings(Ini(), QSettings::IniFormat);
    CRecentFileList list(settings, 4);
    for (const char* path : {"/a.tlg", "/b.tlg", "/c.tlg", "/d.tlg", "/e.tlg", "/c.tlg"})
        list.Add(QString::fromLatin1(path));
    ASSERT_EQ(list.GetSize(), 4);
    EXPECT_EQ(list[0], QStringLiteral("/c.tlg"));
    EXPECT_EQ(list[1], QStringLiteral("/e.tlg"));
    EXPECT_EQ(list[2], QStringLiteral("/d.tlg"));
    EXPECT_EQ(list[3], QStringLiteral("/b.tlg"));

    list.Remove(1);
    list.Remove(7); // out of range: ignored
    QSettings reread(Ini(), QSettings::IniFormat);
    CRecentFileList again(reread, 4);
    again.ReadList();
    ASSERT_EQ(again.GetSize(), 3);
    EXPECT_EQ(again[1], QStringLiteral("/d.tlg"));
    EXPECT_FALSE(reread.contains(QStringLiteral("Recent File List/File4")));
}

TEST_F(RecentFileListTest, AHandEditedListIsReadWithoutGapsOrRepeats)
{
    {
        QSettings settings(Ini(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("/x.tlg"));
        settings.setValue(QStringLiteral("Recent File List/File3"), QStringLiteral("/y.tlg"));
        settings.setValue(QStringLiteral("Recent File List/File4"), QStringLiteral("/x.tlg"));
        settings.setValue(QStringLiteral("Recent File List/File9"), QStringLiteral("/z.tlg"));
    }
    QSettings settings(Ini(), QSettings::IniFormat);
    CRecentFileList list(settings, 4);
    list.ReadList();
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list[0], QStringLiteral("/x.tlg"));
    EXPECT_EQ(list[1], QStringLiteral("/y.tlg"));
}

TEST_F(RecentFileListTest, MenuTextsNumberTheEntriesAndTellSameNamesApart)
{
    QSettings settings(Ini(), QSettings::IniFormat);
    CRecentFileList list(settings, 4);
    list.Add(QStringLiteral("/home/a/diary.tlg"));
    list.Add(QStringLiteral("/home/b/diary.tlg"));
    list.Add(QStringLiteral("/home/a/R&D.tlg"));
    EXPECT_EQ(list.MenuText(0), QStringLiteral("&1 R&&D.tlg"));
    EXPECT_EQ(list.MenuText(1), QStringLiteral("&2 /home/b/diary.tlg"));
    EXPECT_EQ(list.MenuText(2), QStringLiteral("&3 /home/a/diary.tlg"));
}

class Target : public CCmdTarget {
public:
    Target()
    {
        OnCommand(1, [this] { ++m_runs; });
        OnUpdateCommand(1, [this](CCmdUI& ui) {
            ui.Enable(m_enabled);
            ui.SetCheck(m_runs % 2 == 1);
        });
        OnCommandRange(10, 12, [this](int id) { m_lastRange = id; });
    }
    int m_runs = 0;
    int m_lastRange = 0;
    bool m_enabled = true;
};

TEST(CCmdTarget, RunsHandlersAndReportsTheirState)
{
    Target target;
    EXPECT_TRUE(target.OnCmdMsg(1));
    EXPECT_FALSE(target.OnCmdMsg(2));
    EXPECT_EQ(target.m_runs, 1);
    EXPECT_TRUE(target.OnCmdMsg(11));
    EXPECT_EQ(target.m_lastRange, 11);
    EXPECT_FALSE(target.OnCmdMsg(13));

    CCmdUI checked(1);
    ASSERT_TRUE(target.OnUpdateCmdUI(checked));
    EXPECT_TRUE(checked.IsChecked());
    target.m_enabled = false;
    CCmdUI disabled(1);
    ASSERT_TRUE(target.OnUpdateCmdUI(disabled));
    EXPECT_FALSE(disabled.IsEnabled());
    // A handler without an update handler is enabled and unchecked.
    CCmdUI plain(10);
    ASSERT_TRUE(target.OnUpdateCmdUI(plain));
    EXPECT_TRUE(plain.IsEnabled());
    EXPECT_FALSE(plain.IsChecked());
    CCmdUI unknown(99);
    EXPECT_FALSE(target.OnUpdateCmdUI(unknown));
}

} // namespace
