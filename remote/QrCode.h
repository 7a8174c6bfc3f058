#pragma once

#include <QByteArray>

#include <vector>

// A QR code as a square of modules, made with libqrencode (error correction level M).
class QrCode {
public:
    // The code for text; empty (size 0) when the text cannot be encoded.
    static QrCode encode(const QByteArray& text);

    // Modules per side, without the quiet zone around the code.
    int size() const { return m_size; }
    // The module at column x, row y is dark.
    bool dark(int x, int y) const { return m_modules[static_cast<std::size_t>(y * m_size + x)]; }

private:
    int m_size = 0;
    std::vector<bool> m_modules;
};
