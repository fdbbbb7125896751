#include "platform/qt/png_writer.h"

#include "platform/qt/palette_png.h"

#include <QImageWriter>
#include <QIODevice>

bool WritePng(const QImage& image, QIODevice& device)
{
    const QByteArray palette = PalettePng(image);
    if (!palette.isEmpty())
        return device.write(palette) == palette.size();
    QImageWriter writer(&device, "PNG");
    return writer.write(image);
}
