// PNG files put together byte by byte, for tests of the picture decoder: any colour type, bit
// depth and interlacing, with the pixel data given as raw rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <zlib.h>

namespace kxtest {

enum PngColour : uint8_t { kPngGrey = 0, kPngRgb = 2, kPngPalette = 3, kPngGreyAlpha = 4, kPngRgba = 6 };

inline std::string pngBig32(uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xff),
                       static_cast<char>((v >> 8) & 0xff), static_cast<char>(v & 0xff)};
}

inline std::string pngChunkBytes(const std::string& type, const std::string& body) {
    const std::string typed = type + body;
    return pngBig32(static_cast<uint32_t>(body.size())) + typed +
           pngBig32(static_cast<uint32_t>(
               crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

// The file: raw is the unpacked data (each row its filter byte, then its packed samples; for an
// interlaced picture the rows of the seven passes in turn), packed as tightly as deflate can.
// chunks (PLTE, tRNS...) go between the header and the data.
inline std::string pngFile(uint32_t width, uint32_t height, uint8_t depth, PngColour colour,
                           const std::string& raw, const std::string& chunks = "", bool interlaced = false) {
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);
    const std::string header = pngBig32(width) + pngBig32(height) +
                               std::string{static_cast<char>(depth), static_cast<char>(colour), 0, 0,
                                           static_cast<char>(interlaced ? 1 : 0)};
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunkBytes("IHDR", header) + chunks +
           pngChunkBytes("IDAT", packed) + pngChunkBytes("IEND", "");
}

// height rows of rowBytes bytes, all `fill`, each behind filter byte 0.
inline std::string pngSameRows(uint32_t rowBytes, uint32_t height, char fill = '\0') {
    std::string row = std::string(1, '\0') + std::string(rowBytes, fill);
    std::string raw;
    raw.reserve(row.size() * height);
    for (uint32_t y = 0; y < height; ++y)
        raw += row;
    return raw;
}

// The raw rows of an interlaced picture of whole-byte pixels (pixelBytes each, rows top first).
inline std::string pngInterlacedRows(const std::vector<std::string>& rows, uint32_t width,
                                     size_t pixelBytes) {
    static const uint32_t kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::string raw;
    for (const auto& pass : kPasses) {
        if (pass[0] >= width)
            continue; // a pass without columns has no rows either
        for (uint32_t y = pass[1]; y < rows.size(); y += pass[3]) {
            raw += '\0';
            for (uint32_t x = pass[0]; x < width; x += pass[2])
                raw += rows[y].substr(x * pixelBytes, pixelBytes);
        }
    }
    return raw;
}

} // namespace kxtest
