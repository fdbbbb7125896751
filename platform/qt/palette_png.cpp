#include "platform/qt/palette_png.h"

#include "platform/qt/palette_rows.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

// Rows are handed to zlib in batches of about this many bytes: few calls,
// and a buffer that stays in the cache.
constexpr std::size_t kBatchBytes = 64 * 1024;

constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kFilterUp = 2;

void AppendUint32(QByteArray& out, std::uint32_t value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void AppendChunk(QByteArray& out, const char (&type)[5], const char* data, std::size_t size)
{
    AppendUint32(out, static_cast<std::uint32_t>(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, static_cast<qsizetype>(size));
    const auto* checked = reinterpret_cast<const Bytef*>(out.constData() + start);
    AppendUint32(out, static_cast<std::uint32_t>(crc32(0, checked, static_cast<uInt>(size + 4))));
}

// One zlib stream whose output goes to a buffer sized for the worst case,
// so deflate never has to be called again for room.
class Deflater {
public:
    Deflater(const PngCompression& compression, std::size_t inputSize)
    {
        m_ok = deflateInit2(&m_stream, compression.level, Z_DEFLATED, 15, 8, compression.strategy) == Z_OK;
        // Not zero-filled: zlib writes only the front of it, so the rest
        // of a worst-case buffer costs neither time nor touched pages.
        if (m_ok) {
            m_capacity = deflateBound(&m_stream, static_cast<uLong>(inputSize)) + 64;
            m_out.reset(new (std::nothrow) char[m_capacity]);
            m_ok = m_out != nullptr;
        }
    }
    ~Deflater()
    {
        if (m_ok)
            deflateEnd(&m_stream);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    bool Add(const std::vector<std::uint8_t>& input, bool finish)
    {
        if (!m_ok)
            return false;
        m_stream.next_in = const_cast<Bytef*>(input.data());
        m_stream.avail_in = static_cast<uInt>(input.size());
        m_stream.next_out = reinterpret_cast<Bytef*>(m_out.get()) + m_stream.total_out;
        m_stream.avail_out = static_cast<uInt>(m_capacity - m_stream.total_out);
        const int result = deflate(&m_stream, finish ? Z_FINISH : Z_NO_FLUSH);
        m_ok = finish ? result == Z_STREAM_END : result == Z_OK && m_stream.avail_in == 0;
        return m_ok;
    }

    const char* Data() const { return m_out.get(); }
    std::size_t Size() const { return m_stream.total_out; }

private:
    z_stream m_stream{};
    std::unique_ptr<char[]> m_out;
    std::size_t m_capacity = 0;
    bool m_ok = false;
};

QByteArray Assemble(const QImage& image, const QList<QRgb>& palette, const Deflater& pixels)
{
    QByteArray png;
    png.reserve(static_cast<qsizetype>(pixels.Size() + palette.size() * 3 + 128));
    png.append("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendUint32(header, static_cast<std::uint32_t>(image.width()));
    AppendUint32(header, static_cast<std::uint32_t>(image.height()));
    header.append("\x08\x03\x00\x00\x00", 5); // 8 bits, palette, deflate, adaptive filters, no interlace
    AppendChunk(png, "IHDR", header.constData(), static_cast<std::size_t>(header.size()));
    QByteArray colours;
    for (const QRgb colour : palette) {
        colours.append(char(qRed(colour)));
        colours.append(char(qGreen(colour)));
        colours.append(char(qBlue(colour)));
    }
    AppendChunk(png, "PLTE", colours.constData(), static_cast<std::size_t>(colours.size()));
    // The physical size, as Qt's own writer records it.
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        QByteArray density;
        AppendUint32(density, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        AppendUint32(density, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        density.append('\x01'); // per metre
        AppendChunk(png, "pHYs", density.constData(), static_cast<std::size_t>(density.size()));
    }
    AppendChunk(png, "IDAT", pixels.Data(), pixels.Size());
    AppendChunk(png, "IEND", "", 0);
    return png;
}

} // namespace

QByteArray PalettePng(const QImage& image, const PngCompression& compression)
{
    if (image.format() != QImage::Format_RGB32 || image.isNull())
        return {};
    const int width = image.width();
    const int height = image.height();
    const std::size_t rowBytes = static_cast<std::size_t>(width) + 1;
    Deflater deflater(compression, rowBytes * static_cast<std::size_t>(height));
    PaletteRows rows;
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width)), above(static_cast<std::size_t>(width));
    std::vector<std::uint8_t> batch;
    batch.reserve(kBatchBytes + rowBytes);
    const std::size_t pixelBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    const QRgb* previousRow = nullptr;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        // A row like the one above (most rows, between the labels and the
        // bends of the lines) has the same indexes: no look-up at all, and
        // under the up filter it is a row of zeros.
        const bool repeat = previousRow && std::memcmp(row, previousRow, pixelBytes) == 0;
        if (!repeat && !rows.Convert(row, width, indexes.data()))
            return {};
        previousRow = row;
        const std::size_t start = batch.size();
        if (compression.upFilter) {
            batch.push_back(kFilterUp);
            batch.resize(start + rowBytes, 0);
            if (!repeat) {
                std::uint8_t* out = batch.data() + start + 1;
                for (int x = 0; x < width; ++x)
                    out[x] = static_cast<std::uint8_t>(indexes[x] - above[x]);
                std::swap(indexes, above);
            }
        } else {
            batch.push_back(kFilterNone);
            batch.insert(batch.end(), indexes.begin(), indexes.end());
        }
        if (batch.size() >= kBatchBytes) {
            if (!deflater.Add(batch, false))
                return {};
            batch.clear();
        }
    }
    if (!deflater.Add(batch, true))
        return {};
    return Assemble(image, rows.Palette(), deflater);
}
