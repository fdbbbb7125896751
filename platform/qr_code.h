#pragma once

#include <optional>
#include <string>
#include <vector>

// A QR code as a square of modules, for a phone's camera to read a link
// from a terminal or a window.
class QrCode {
public:
    // The code for `text` in byte mode at the lowest error correction and
    // the smallest version that holds it, as the qrencode program makes
    // it; nothing when the text is too long for any version.
    static std::optional<QrCode> Encode(const std::string& text);

    // Modules per side, without the quiet zone around them.
    int Size() const { return m_size; }
    // True for a dark module; coordinates outside the square are light.
    bool Dark(int x, int y) const;

    // The code with a quiet zone of `margin` modules, two rows of modules
    // to a line of Unicode blocks, light modules drawn and dark ones left
    // blank, as `qrencode -t UTF8` draws it for a dark terminal.
    std::string Blocks(int margin = 4) const;

private:
    QrCode(int size, std::vector<bool> modules);

    int m_size = 0;
    std::vector<bool> m_modules; // row by row
};
