// The floor under `tarelog-cli render` to PNG, timed beside it by
// bench/compare: a bare offscreen Qt program that draws the same labels in
// the same font into an image of the same size and saves the same kind of
// PNG the same crash-safe way, and does nothing else (no diary, no lines,
// no profile, no runtime folder).
//
//     tarelog_render_floor LABELS.ops OUT.png WIDTHxHEIGHT
//
// LABELS.ops is `tarelog-cli render DIARY -o LABELS.ops` of the same size:
// only its `text X Y "..."` lines are used.
#include "platform/qt/offscreen_gui.h"
#include "platform/qt/palette_png.h"
#include "platform/safe_file.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStaticText>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Label {
    int x = 0;
    int y = 0;
    QString text;
};

// `text X Y "..."`, with \" and \\ unescaped (labels hold nothing else).
bool ParseLabel(const std::string& line, Label& label)
{
    int consumed = 0;
    if (std::sscanf(line.c_str(), "text %d %d %n", &label.x, &label.y, &consumed) != 2 || line[consumed] != '"')
        return false;
    std::string text;
    for (std::size_t i = consumed + 1; i < line.size() && line[i] != '"'; ++i)
        text += line[i] == '\\' && i + 1 < line.size() ? line[++i] : line[i];
    label.text = QString::fromStdString(text);
    return true;
}

std::vector<Label> ReadLabels(const char* path)
{
    std::vector<Label> labels;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        Label label;
        if (ParseLabel(line, label))
            labels.push_back(label);
    }
    return labels;
}

} // namespace

int main(int argc, char** argv)
{
    int width = 0, height = 0;
    if (argc != 4 || std::sscanf(argv[3], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
        std::fputs("usage: tarelog_render_floor LABELS.ops OUT.png WIDTHxHEIGHT\n", stderr);
        return 2;
    }
    const std::vector<Label> labels = ReadLabels(argv[1]);
    PreferOffscreenPlatform();
    QGuiApplication application(argc, argv);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Label& label : labels)
        painter.drawStaticText(QPoint(label.x, label.y), QStaticText(label.text));
    painter.end();
    const QByteArray png = PalettePng(image);
    if (png.isEmpty()
        || !ReplaceFileSafely(argv[2], std::string_view(png.constData(), static_cast<std::size_t>(png.size())))) {
        std::fputs("tarelog_render_floor: cannot write the PNG\n", stderr);
        return 1;
    }
    return 0;
}
