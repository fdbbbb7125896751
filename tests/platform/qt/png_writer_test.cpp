#include "platform/qt/palette_png.h"
#include "platform/qt/png_writer.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

QByteArray Png(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WritePng(image, buffer));
    return buffer.data();
}

// The colour type in the PNG header: 3 is a palette, 2 true colour.
int ColourType(const QByteArray& png)
{
    return png.size() > 25 ? static_cast<unsigned char>(png[25]) : -1;
}

QImage ImageWithColours(int colours)
{
    QImage image(64, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int i = 0; i < colours - 1; ++i)
        image.setPixel(i % 64, i / 64, qRgb(i & 0xFF, (i >> 8) * 40, 7));
    return image;
}

TEST(PngWriter, FewColoursGoAsAPaletteWithTheSamePixels)
{
    for (const int colours : {1, 2, 200, 256}) {
        const QImage image = ImageWithColours(colours);
        const QByteArray png = Png(image);
        EXPECT_EQ(ColourType(png), 3) << colours;
        EXPECT_EQ(QImage::fromData(png).convertToFormat(QImage::Format_RGB32), image) << colours;
    }
}

TEST(PngWriter, MoreThan256ColoursGoAsTrueColour)
{
    const QImage image = ImageWithColours(257);
    EXPECT_TRUE(PalettePng(image).isEmpty());
    const QByteArray png = Png(image);
    EXPECT_EQ(ColourType(png), 2);
    EXPECT_EQ(QImage::fromData(png).convertToFormat(QImage::Format_RGB32), image);
}

QImage Decoded(const QByteArray& png)
{
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

// Every filter, level and strategy the writer can be set to.
std::vector<PngCompression> AllCompressions()
{
    std::vector<PngCompression> all;
    for (const bool up : {true, false})
        for (const int strategy : {0, 1, 2, 3})
            for (const int level : {1, 6, 9})
                all.push_back({level, strategy, up});
    return all;
}

TEST(PngWriter, PaletteKeepsEveryPixelOfNoisyImages)
{
    // Colours in random order and runs, so every slot of the look-up is used
    // and collisions happen.
    std::mt19937 random(8);
    for (int trial = 0; trial < 20; ++trial) {
        QImage image(97, 61, QImage::Format_RGB32);
        std::vector<QRgb> colours;
        for (int i = 0; i < 256; ++i)
            colours.push_back(qRgb(random() & 0xFF, random() & 0xFF, random() & 0xFF));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, colours[random() % (trial + 1 == 20 ? 256 : 8 * (trial + 1))]);
        const QByteArray png = PalettePng(image);
        ASSERT_FALSE(png.isEmpty()) << trial;
        EXPECT_EQ(ColourType(png), 3) << trial;
        ASSERT_EQ(Decoded(png), image) << trial;
    }
}

TEST(PngWriter, RepeatedRowsKeepTheirPixelsUnderEveryCompression)
{
    // Rows drawn from a few patterns, so a row repeats the one above, comes
    // back after others, or differs from it in one pixel only: the cases
    // where the writer skips a row, filters it against the row above, or
    // meets a new colour late.
    std::mt19937 random(16);
    const int width = 131;
    std::vector<std::vector<QRgb>> patterns(5, std::vector<QRgb>(width, qRgb(255, 255, 255)));
    for (std::size_t p = 1; p < patterns.size(); ++p)
        for (int x = 0; x < width; x += 1 + static_cast<int>(random() % 7))
            patterns[p][x] = qRgb(random() % 4 * 60, random() % 3 * 90, 30 * static_cast<int>(p));
    patterns[4] = patterns[3];
    patterns[4][width - 1] = qRgb(1, 2, 3);
    QImage image(width, 300, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto& pattern = patterns[random() % 3 == 0 ? random() % patterns.size() : (y / 40) % patterns.size()];
        std::copy(pattern.begin(), pattern.end(), reinterpret_cast<QRgb*>(image.scanLine(y)));
    }
    for (const PngCompression& compression : AllCompressions()) {
        const QByteArray png = PalettePng(image, compression);
        ASSERT_FALSE(png.isEmpty());
        EXPECT_EQ(Decoded(png), image) << compression.level << " " << compression.strategy << " "
                                       << compression.upFilter;
    }
}

TEST(PngWriter, ExtremeShapesKeepTheirPixels)
{
    for (const QSize size : {QSize(1, 1), QSize(1, 500), QSize(4096, 3), QSize(240, 268)}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(size.width() - 1, size.height() - 1, qRgb(200, 0, 0));
        image.setPixel(0, size.height() / 2, qRgb(0, 0, 200));
        const QByteArray png = Png(image);
        EXPECT_EQ(ColourType(png), 3);
        const QImage back = QImage::fromData(png, "PNG");
        EXPECT_EQ(back.size(), size);
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image) << size.width() << "x" << size.height();
    }
}

TEST(PngWriter, The257thColourOnTheLastPixelFallsBackToTrueColour)
{
    QImage image = ImageWithColours(256);
    image.setPixel(63, 39, qRgb(1, 2, 3));
    EXPECT_TRUE(PalettePng(image).isEmpty());
    const QByteArray png = Png(image);
    EXPECT_EQ(ColourType(png), 2);
    EXPECT_EQ(Decoded(png), image);
}

TEST(PngWriter, PaletteImageKeepsThePhysicalSize)
{
    QImage image = ImageWithColours(3);
    image.setDotsPerMeterX(5000);
    image.setDotsPerMeterY(4000);
    const QImage back = QImage::fromData(PalettePng(image), "PNG");
    EXPECT_EQ(back.dotsPerMeterX(), 5000);
    EXPECT_EQ(back.dotsPerMeterY(), 4000);
}

TEST(PngWriter, OtherFormatsAreWrittenAsTheyAre)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 40));
    EXPECT_TRUE(PalettePng(image).isEmpty());
    const QImage back = QImage::fromData(Png(image));
    EXPECT_EQ(back.pixel(3, 3), qRgba(10, 20, 30, 40));
}

struct Chunk {
    std::string type;
    QByteArray data;
};

std::vector<Chunk> Chunks(const QByteArray& png)
{
    std::vector<Chunk> chunks;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto* p = reinterpret_cast<const unsigned char*>(png.constData() + at);
        const qsizetype length = qsizetype(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        chunks.push_back({png.mid(at + 4, 4).toStdString(), png.mid(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

// The filter byte in front of each row of the inflated pixel data.
std::vector<int> RowFilters(const QByteArray& idat, int width, int height)
{
    const qsizetype size = qsizetype(width + 1) * height;
    QByteArray sized;
    for (const int shift : {24, 16, 8, 0})
        sized.append(char(size >> shift)); // qUncompress wants the size in front
    const QByteArray raw = qUncompress(sized + idat);
    std::vector<int> filters;
    for (qsizetype at = 0; at < raw.size(); at += width + 1)
        filters.push_back(static_cast<unsigned char>(raw[at]));
    return filters;
}

// The layout the benchmark chose: one PLTE, the physical size, all the
// pixels in one IDAT, and every row under the filter asked for.
TEST(PngWriter, OnePaletteOneIdatAndTheChosenRowFilter)
{
    QImage image(1000, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < image.width(); ++x)
        for (int y = 100 + x % 300; y < 500; y += 3)
            image.setPixel(x, y, qRgb(x % 5 * 50, 0, 90));
    for (const bool up : {true, false}) {
        const QByteArray png = PalettePng(image, {1, 3, up});
        const std::vector<Chunk> chunks = Chunks(png);
        std::string types;
        for (const Chunk& chunk : chunks)
            types += chunk.type + " ";
        ASSERT_EQ(types, "IHDR PLTE pHYs IDAT IEND ");
        EXPECT_EQ(chunks[1].data.size(), 6 * 3);
        const std::vector<int> filters = RowFilters(chunks[3].data, image.width(), image.height());
        ASSERT_EQ(filters.size(), std::size_t(image.height()));
        EXPECT_EQ(std::count(filters.begin(), filters.end(), up ? 2 : 0), image.height()) << up;
        EXPECT_EQ(Decoded(png), image);
    }
}

} // namespace
