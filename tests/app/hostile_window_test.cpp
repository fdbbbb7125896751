// Every damaged, odd and fuzz-found diary opened in the real window, one
// after the other, and painted at sizes from a sliver to very wide: a file
// that is refused leaves the open diary as it was, and nothing crashes or
// hangs (the test's timeout catches a hang).
#include "app_fixture.h"

#include "platform/qt/framework_ids.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace {

QStringList DiariesIn(const QString& folder)
{
    QStringList files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files, QDir::Name))
        if (info.suffix() == QStringLiteral("tlg") || !info.fileName().contains(QLatin1Char('.')))
            files << info.absoluteFilePath();
    return files;
}

bool HasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Qt::white)
                return true;
    return false;
}

class HostileWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        // Refused files each bring one error box; nothing else is asked.
        SetMessageBoxResponder([this](const QString& text, unsigned type) {
            m_asked.push_back({text, type});
            return IDOK;
        });
    }

    // Opens each file through the File menu and paints the window at every
    // size; returns how many files were refused.
    int OpenAndPaintEach(const QStringList& files)
    {
        const QSize sizes[] = {{1, 1}, {60, 40}, {240, 320}, {1000, 240}, {240, 1000}, {4096, 200}};
        int refused = 0;
        for (const QString& file : files) {
            const std::string before = StoreDiaryBytes(*Doc());
            const std::size_t asked = m_asked.size();
            Choose(file);
            Frame()->FindAction(ID_FILE_OPEN)->trigger();
            Settle();
            if (m_asked.size() > asked) {
                ++refused;
                EXPECT_EQ(StoreDiaryBytes(*Doc()), before)
                    << "a refused file changed the open diary: " << file.toStdString();
            } else {
                EXPECT_EQ(DocPath(), file);
            }
            for (const QSize& size : sizes) {
                View()->resize(size);
                const QImage image = View()->grab().toImage();
                EXPECT_EQ(image.size(), size) << file.toStdString();
                if (size == QSize(240, 320) && Doc()->GetRecordCount() > 0)
                    m_paintedGraphs += HasInk(image);
            }
            Doc()->SetModifiedFlag(false); // no save question between files
        }
        return refused;
    }

    int m_paintedGraphs = 0; // diaries with records whose window showed a graph
};

TEST_F(HostileWindowTest, DamagedAndOddFilesNeitherCrashNorChangeTheOpenDiary)
{
    ASSERT_TRUE(StartAndSettle());
    const QStringList files = DiariesIn(QStringLiteral(TARELOG_TEST_DATA "/bad"));
    ASSERT_GE(files.size(), 30);
    const int refused = OpenAndPaintEach(files);
    EXPECT_GT(refused, 0);
    EXPECT_LT(refused, files.size()) << "some odd files are valid and must open";
    EXPECT_GT(m_paintedGraphs, 0);
}

TEST_F(HostileWindowTest, WellFormedAndFuzzCorpusFilesPaintAtEverySize)
{
    ASSERT_TRUE(StartAndSettle());
    const QStringList good = DiariesIn(QStringLiteral(TARELOG_TEST_DATA "/good"));
    ASSERT_GE(good.size(), 10);
    EXPECT_EQ(OpenAndPaintEach(good), 0) << "every well-formed file opens";
    EXPECT_GE(m_paintedGraphs, 10);

    // What the fuzzers kept: many of these files are refused, all must survive.
    QStringList found = DiariesIn(QStringLiteral(TARELOG_FUZZ_CORPUS "/load"));
    found << DiariesIn(QStringLiteral(TARELOG_FUZZ_CORPUS "/../crashes/load"));
    ASSERT_GE(found.size(), 9);
    OpenAndPaintEach(found);
}

} // namespace
