#include "platform/qt/png_writer.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <random>

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
    EXPECT_TRUE(ExactPaletteImage(image).isNull());
    const QByteArray png = Png(image);
    EXPECT_EQ(ColourType(png), 2);
    EXPECT_EQ(QImage::fromData(png).convertToFormat(QImage::Format_RGB32), image);
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
        const QImage palette = ExactPaletteImage(image);
        ASSERT_FALSE(palette.isNull()) << trial;
        ASSERT_LE(palette.colorCount(), 256);
        ASSERT_EQ(palette.convertToFormat(QImage::Format_RGB32), image) << trial;
    }
}

TEST(PngWriter, OtherFormatsAreWrittenAsTheyAre)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 40));
    EXPECT_TRUE(ExactPaletteImage(image).isNull());
    const QImage back = QImage::fromData(Png(image));
    EXPECT_EQ(back.pixel(3, 3), qRgba(10, 20, 30, 40));
}

} // namespace
