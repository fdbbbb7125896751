#include "platform/qt/qsettings_profile_store.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class QSettingsProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // The default store must land in the test folder, never the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    QString IniPath() const { return m_dir.filePath(QStringLiteral("profile.ini")); }

    QTemporaryDir m_dir;
};

TEST_F(QSettingsProfileStoreTest, MissingEntriesGiveTheDefault)
{
    QSettingsProfileStore store(IniPath());
    EXPECT_EQ(store.GetProfileInt("色", "3", 0), 0);
    EXPECT_EQ(store.GetProfileInt("SHOW", "X", 1), 1);
    EXPECT_EQ(store.GetProfileInt("SHOW", "X", -7), -7);
}

TEST_F(QSettingsProfileStoreTest, ValuesSurviveIntoANewStore)
{
    {
        QSettingsProfileStore store(IniPath());
        store.WriteProfileInt("色", "0", 0x00FF8040);
        store.WriteProfileInt("色", "9", -1);
        store.WriteProfileInt("SHOW", "X", 3);
    }
    QSettingsProfileStore reread(IniPath());
    EXPECT_EQ(reread.GetProfileInt("色", "0", 0), 0x00FF8040);
    EXPECT_EQ(reread.GetProfileInt("色", "9", 0), -1);
    EXPECT_EQ(reread.GetProfileInt("SHOW", "X", 1), 3);
    // Sections keep their entries apart.
    EXPECT_EQ(reread.GetProfileInt("SHOW", "0", 42), 42);
}

TEST_F(QSettingsProfileStoreTest, WritesAreOnDiskWithoutDestroyingTheStore)
{
    QSettingsProfileStore writer(IniPath());
    writer.WriteProfileInt("色", "5", 1234);
    QSettings raw(IniPath(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("色/5")).toInt(), 1234);
}

TEST_F(QSettingsProfileStoreTest, HandWrittenValuesAreReadSafely)
{
    {
        QSettings raw(IniPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("色/1"), QStringLiteral("not a number"));
        raw.setValue(QStringLiteral("色/2"), QStringLiteral("4294967295"));
        raw.setValue(QStringLiteral("色/3"), QStringLiteral("99999999999"));
        raw.setValue(QStringLiteral("色/4"), QStringLiteral(" 17 "));
    }
    QSettingsProfileStore store(IniPath());
    EXPECT_EQ(store.GetProfileInt("色", "1", 5), 5);
    // A full 32-bit colour pattern is kept as its bits.
    EXPECT_EQ(static_cast<unsigned>(store.GetProfileInt("色", "2", 0)), 0xFFFFFFFFu);
    EXPECT_EQ(store.GetProfileInt("色", "3", 6), 6);
    EXPECT_EQ(store.GetProfileInt("色", "4", 0), 17);
}

TEST_F(QSettingsProfileStoreTest, TheUserStoreIsKeptUnderOstrel)
{
    {
        QSettingsProfileStore store;
        store.WriteProfileInt("SHOW", "X", 2);
        EXPECT_TRUE(store.Settings().fileName().startsWith(m_dir.path()));
        EXPECT_TRUE(store.Settings().fileName().contains(QStringLiteral("Ostrel")));
    }
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"), QStringLiteral("Tarelog"));
    EXPECT_EQ(raw.value(QStringLiteral("SHOW/X")).toInt(), 2);
    QSettingsProfileStore reread;
    EXPECT_EQ(reread.GetProfileInt("SHOW", "X", 1), 2);
}

} // namespace
