#include "view/qt/graph_image.h"

#include "diary/tarelog_doc.h"
#include "platform/qt/png_writer.h"
#include "platform/qt/qpainter_surface.h"
#include "platform/recording_surface.h"
#include "platform/safe_file.h"
#include "platform/svg_surface.h"
#include "view/draw_graph.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <cctype>

namespace {

bool EndsWith(const std::string& text, const char* suffix)
{
    const std::string s(suffix);
    if (text.size() < s.size())
        return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - s.size() + i])) != s[i])
            return false;
    return true;
}

Status<GraphImageError> WriteAtomically(const std::string& path, std::string_view bytes)
{
    if (const Status<FileFailure> written = ReplaceFileSafely(path, bytes); !written)
        return Failed{GraphImageError{written.error(), DescribeFileFailure(written.error())}};
    return {};
}

} // namespace

std::optional<GraphImageKind> GraphImageKindOf(const std::string& path)
{
    if (EndsWith(path, ".png"))
        return GraphImageKind::Png;
    if (EndsWith(path, ".svg"))
        return GraphImageKind::Svg;
    if (EndsWith(path, ".ops"))
        return GraphImageKind::Ops;
    return std::nullopt;
}

Result<std::string, GraphImageError> GraphImageBytes(GraphImageKind kind, int width, int height, const CTarelogDoc& doc,
    const GraphViewState& state, const ProfileStore& profile)
{
    const Rect client{0, 0, width, height};
    if (kind == GraphImageKind::Png) {
        QImage image(width, height, QImage::Format_RGB32);
        if (image.isNull())
            return Failed{GraphImageError{std::nullopt, "not enough memory for the image"}};
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterSurface surface(painter);
        DrawGraph(surface, client, doc, state, profile);
        painter.end();
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !WritePng(image, buffer))
            return Failed{GraphImageError{std::nullopt, "cannot encode the PNG image"}};
        return std::string(png.constData(), static_cast<std::size_t>(png.size()));
    }
    GraphFontMeasurer measurer;
    if (kind == GraphImageKind::Svg) {
        const QFont font = GraphFont();
        SvgSurface surface(measurer, width, height, font.family().toStdString(), font.pixelSize());
        DrawGraph(surface, client, doc, state, profile);
        return surface.Document();
    }
    RecordingSurface surface(measurer);
    DrawGraph(surface, client, doc, state, profile);
    return OpsText(client, surface.Ops());
}

Status<GraphImageError> WriteGraphImage(const std::string& path, GraphImageKind kind, int width, int height,
    const CTarelogDoc& doc, const GraphViewState& state, const ProfileStore& profile)
{
    const Result<std::string, GraphImageError> bytes = GraphImageBytes(kind, width, height, doc, state, profile);
    if (!bytes)
        return Failed{bytes.error()};
    return WriteAtomically(path, *bytes);
}
