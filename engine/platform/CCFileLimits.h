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

// Decoded, every picture takes 4 bytes a pixel whatever its bit depth. Deflate packs at most
// about 1032 bytes into one, so a picture is believed only when its pixel data (dataBytes) could
// unpack to its decoded size at kCCPictureBytesPerDataByte to one; up to kCCPictureFreeBytes
// decoded (4096 x 4096) it is believed whatever its data, as a solid background packs to almost
// nothing. So a picture takes at most the larger of the two in memory.
constexpr std::uint64_t kCCPictureBytesPerDataByte = 1100;
constexpr std::uint64_t kCCPictureFreeBytes = std::uint64_t(4096) * 4096 * 4;
bool ccPictureDataCanFill(std::uint64_t width, std::uint64_t height, std::uint64_t dataBytes);

} // namespace cocos2d
