// PNG pixel data unpacked straight into an RGBA buffer (libpng): every colour type and bit depth
// becomes 8-bit R, G, B, A rows, top row first, with no other copy of the picture on the way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace cocos2d {

// Receives decoded rows: count rows of RGBA from row first on, at rgba (which it may change).
using CCPngRows = std::function<void(unsigned char* rgba, std::uint32_t first, std::uint32_t count)>;

// Whether the PNG's rows are interlaced (spread over seven passes): they come together only
// when the whole picture is there.
bool ccPngInterlaced(const unsigned char* data, size_t size);

// Decodes the picture of the sides its header declares (width x height) into band, bandRows rows
// of width * 4 bytes, handing each band on to rows when full and at the end. An interlaced
// picture needs a band of every row. False, with the decoder's reason in *error, for a damaged
// or truncated file (some bands may have been handed on).
bool ccReadPngRgba(const unsigned char* data, size_t size, std::uint32_t width, std::uint32_t height,
                   unsigned char* band, std::uint32_t bandRows, const CCPngRows& rows, std::string* error);

} // namespace cocos2d
