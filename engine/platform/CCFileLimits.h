// The bounds put on files a game brings: a size cap per kind of file, checked before a byte is
// read, and the picture sizes decoding accepts.
#pragma once

#include <cstdint>
#include <string>

namespace cocos2d {

enum class CCFileKind { Picture, LoadingPicture, Icon, Sound, Font, Plist, Shader, Other };

// The kind a file is read as, from its name: "Default.png" is the loading picture, other names
// go by extension; anything else (model packs, the archive, key files) is Other.
CCFileKind ccFileKindForPath(const std::string& path);
const char* ccFileKindName(CCFileKind kind);
// Largest file of the kind, in bytes.
std::uint64_t ccFileSizeCap(CCFileKind kind);

// Pictures: no side above kCCMaxPictureSide and no more than kCCMaxPicturePixels in all (an
// 8192 x 8192 atlas, 256 MiB decoded).
constexpr std::uint32_t kCCMaxPictureSide = 16384;
constexpr std::uint64_t kCCMaxPicturePixels = std::uint64_t(8192) * 8192;
bool ccPictureSizeAllowed(std::uint64_t width, std::uint64_t height);

// Deflate unpacks one byte into at most about 1032, so a picture is believed only when its pixel
// data (dataBytes) could unpack, at kCCPictureBytesPerDataByte to one, to the rows its header
// declares: a filter byte and width x bitsPerPixel bits a row. Any picture a tool writes passes;
// what a file of N bytes may unpack to therefore grows as its depth shrinks (4 bytes a pixel
// decoded): about 1,100 x N at 32 bits a pixel, 4,400 x N at 8 and 35,000 x N at 1, and never
// more than kCCMaxPicturePixels pixels.
constexpr std::uint64_t kCCPictureBytesPerDataByte = 1100;
bool ccPictureDataCanFill(std::uint64_t width, std::uint64_t height, std::uint32_t bitsPerPixel,
                          std::uint64_t dataBytes);
// An interlaced picture's rows come together only at its end, so its texture and its decoded
// rows are held at once: it may have half the pixels, which keeps both within 256 MiB.
constexpr std::uint64_t kCCMaxInterlacedPixels = kCCMaxPicturePixels / 2;

} // namespace cocos2d
