#pragma once

#include "platform/file_failure.h"
#include "platform/result.h"
#include "platform/surface.h"

#include <optional>
#include <string>

class CTarelogDoc;
class GraphViewState;
class ProfileStore;

// The picture kinds the graph is saved as: a PNG painted like the window,
// an SVG drawing, or the list of drawing calls.
enum class GraphImageKind { Png, Svg, Ops };

// The kind a file name asks for by its extension (any case); none for
// another extension.
std::optional<GraphImageKind> GraphImageKindOf(const std::string& path);

// Draws the graph into a client area of width x height and writes it to
// `path` through the crash-safe replacement of diaries: a full disk or a
// failed write leaves the old file, and links to devices are refused. The
// window's "グラフを画像で保存..." and tarelog-cli render both come here.
struct GraphImageError {
    std::optional<FileFailure> failure; // the write that failed; none when no picture could be made
    std::string english;                // why nothing was written
};
// The picture's bytes without writing them: what the file would hold, for
// the clipboard's copy of the graph.
Result<std::string, GraphImageError> GraphImageBytes(GraphImageKind kind, int width, int height, const CTarelogDoc& doc,
    const GraphViewState& state, const ProfileStore& profile);

Status<GraphImageError> WriteGraphImage(const std::string& path, GraphImageKind kind, int width, int height,
    const CTarelogDoc& doc, const GraphViewState& state, const ProfileStore& profile);
