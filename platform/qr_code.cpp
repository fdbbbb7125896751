#include "platform/qr_code.h"

#include <qrencode.h>

#include <memory>

QrCode::QrCode(int size, std::vector<bool> modules)
    : m_size(size)
    , m_modules(std::move(modules))
{
}

std::optional<QrCode> QrCode::Encode(const std::string& text)
{
    // Version 0 lets the library choose the smallest; case-sensitive byte
    // mode keeps a link's secret exactly as written.
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_L, QR_MODE_8, 1), &QRcode_free);
    if (!code)
        return std::nullopt;
    std::vector<bool> modules(static_cast<std::size_t>(code->width) * code->width);
    for (std::size_t i = 0; i < modules.size(); ++i)
        modules[i] = (code->data[i] & 1) != 0; // the lowest bit is the module's colour
    return QrCode(code->width, std::move(modules));
}

bool QrCode::Dark(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_size || y >= m_size)
        return false;
    return m_modules[static_cast<std::size_t>(y) * m_size + x];
}

std::string QrCode::Blocks(int margin) const
{
    // Indexed by (upper dark, lower dark): a block shows what is light.
    static const char* const kCells[2][2] = {{"\u2588", "\u2580"}, {"\u2584", " "}};
    const int side = m_size + 2 * margin;
    std::string text;
    for (int row = 0; row < side; row += 2) {
        for (int column = 0; column < side; ++column) {
            const bool upper = Dark(column - margin, row - margin);
            const bool lower = Dark(column - margin, row + 1 - margin);
            text += kCells[upper][lower];
        }
        text += '\n';
    }
    return text;
}
