// Other programs' exports dropped on the real window (offscreen) are merged
// into the open diary after a Japanese summary, through the same code as
// tarelog-cli import.
#include "app_fixture.h"

#include "platform/qt/framework_ids.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace {

class AppImportTest : public AppFixture {
protected:
    static QString Export(const char* name)
    {
        return QString::fromUtf8(TARELOG_TEST_DATA) + QStringLiteral("/import/") + QString::fromUtf8(name);
    }

    // Drags `path` over the window and drops it; returns whether the drag was accepted.
    bool Drop(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QCoreApplication::sendEvent(Frame(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Frame(), &drop);
        Settle();
        return true;
    }
};

TEST_F(AppImportTest, ADroppedExportIsMergedAfterTheSummaryAndNotSaved)
{
    ASSERT_TRUE(StartAndSettle());
    Answer(IDYES);
    ASSERT_TRUE(Drop(Export("garmin_weight.csv")));
    ASSERT_EQ(m_asked.size(), 1u);
    const QString summary = m_asked[0].text;
    EXPECT_TRUE(summary.contains(QStringLiteral("「garmin_weight.csv」(garmin) を読み込みます。")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("追加: 2 日"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("読み飛ばし: 1 行"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("単位: kg"))) << summary.toStdString();
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{80.5, 80.0}));
    EXPECT_EQ(Doc()->m_unit, u"kg");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Frame()->windowTitle().contains(QLatin1Char('*'))) << Frame()->windowTitle().toStdString();
}

TEST_F(AppImportTest, NoLeavesTheDiaryAsItWas)
{
    const QString diary = WriteDiary(QStringLiteral("d.tlg"), {70.0});
    ASSERT_TRUE(StartAndSettle());
    Choose(diary);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();
    Settle();
    Answer(IDNO);
    ASSERT_TRUE(Drop(Export("trale_backup.txt")));
    EXPECT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0}));
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppImportTest, AnotherUnitIsConvertedOnlyWhenAgreed)
{
    const QString diary = WriteDiary(QStringLiteral("d.tlg"), {70.0});
    ASSERT_TRUE(StartAndSettle());
    Choose(diary);
    Frame()->FindAction(ID_FILE_OPEN)->trigger();
    Settle();
    Doc()->m_unit = u"kg";

    Answer(IDNO);
    ASSERT_TRUE(Drop(Export("garmin_weight_day_first.csv")));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("換算して読み込みますか"))) << m_asked[0].text.toStdString();
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{70.0}));

    Answer(IDYES);
    Answer(IDYES);
    ASSERT_TRUE(Drop(Export("garmin_weight_day_first.csv")));
    ASSERT_EQ(m_asked.size(), 3u);
    EXPECT_TRUE(m_asked[2].text.contains(QStringLiteral("2 件を換算"))) << m_asked[2].text.toStdString();
    EXPECT_EQ(WeightsOf(*Doc()), (std::vector<double>{179.5 * 0.45359237, 70.0})); // 2023-09-21 comes first
    EXPECT_EQ(Doc()->m_unit, u"kg");
}

TEST_F(AppImportTest, ADamagedExportIsRefusedInJapaneseWithItsDetail)
{
    const QString broken = FilePath(QStringLiteral("export.xml"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?>\n<HealthData>\n<Record type=\"HKQuantityTypeIdentifierBodyMass\">\n");
    file.close();
    ASSERT_TRUE(StartAndSettle());
    Answer(IDOK);
    ASSERT_TRUE(Drop(broken));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_TRUE(m_asked[0].text.startsWith(
        QStringLiteral("「export.xml」は壊れているため読み込めません。\n\n詳細: the XML is damaged at line 4")))
        << m_asked[0].text.toStdString();
    EXPECT_TRUE(Doc()->Records().empty());
    EXPECT_FALSE(Doc()->IsModified());
}

// A file that reads but holds no weighing is no failure of the read, yet
// still refused, with its first unreadable row.
TEST_F(AppImportTest, AnExportWithoutAReadableWeighingIsRefusedWithItsFirstBadRow)
{
    const QString unreadable = FilePath(QStringLiteral("weights.csv"));
    QFile file(unreadable);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("date,weight\n2024-01-01,heavy\n2024-01-02,x\n");
    file.close();
    ASSERT_TRUE(StartAndSettle());
    Answer(IDOK);
    ASSERT_TRUE(Drop(unreadable));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0].text,
        QStringLiteral("「weights.csv」には読める体重の記録がありません。\n\n詳細: line 2: 'heavy' is not a number"));
    EXPECT_TRUE(Doc()->Records().empty());
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppImportTest, FilesThatAreNoExportAreNotTaken)
{
    ASSERT_TRUE(StartAndSettle());
    EXPECT_FALSE(Drop(Export("README.md")));
    EXPECT_FALSE(Drop(FilePath(QStringLiteral("missing.csv"))));
    EXPECT_TRUE(m_asked.empty());
}

} // namespace
