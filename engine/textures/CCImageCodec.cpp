#include "textures/CCImageCodec.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "platform/CCFileLimits.h"
#include "textures/CCPngRead.h"

namespace cocos2d {

namespace {

uint32_t bigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

bool startsWith(const unsigned char* data, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

// What a refused picture looks like, for the log line.
const char* formatName(const unsigned char* data, size_t size) {
    if (startsWith(data, size, "\x89PNG", 4))
        return "a PNG without a readable header";
    if (startsWith(data, size, "qoif", 4))
        return "QOI";
    if (startsWith(data, size, "GIF8", 4))
        return "GIF";
    if (startsWith(data, size, "BM", 2))
        return "BMP";
    if (startsWith(data, size, "\xff\xd8\xff", 3))
        return "JPEG";
    if (startsWith(data, size, "RIFF", 4))
        return "WEBP";
    if (startsWith(data, size, "<", 1) || startsWith(data, size, "\xef\xbb\xbf<", 4))
        return "SVG or XML";
    return "of no known format";
}

// Bytes of pixel data the PNG carries: the lengths of its IDAT chunks, walked without reading
// them. A chunk counts only as far as the file holds it: a length that runs past the end would
// make a few bytes pass for a large picture's data.
uint64_t pngDataBytes(const unsigned char* data, size_t size) {
    uint64_t total = 0;
    size_t at = 8;
    while (size - at >= 12) {
        const uint64_t length = bigEndian32(data + at);
        const uint64_t held = std::min<uint64_t>(length, size - at - 12);
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0)
            total += held;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0 || held < length)
            break;
        at += 12 + static_cast<size_t>(length);
    }
    return total;
}

// Bits a pixel of the PNG's rows takes, from its header's depth and colour type (a pair PNG has,
// checked first). A header too short to say is weighed as the widest pixel there is.
uint32_t pngBitsPerPixel(const unsigned char* data, size_t size) {
    const uint32_t widest = 64;
    if (size < 29)
        return widest;
    const uint32_t depth = data[24];
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)
        return widest;
    switch (data[25]) {
    case 0: // grey
    case 3: // palette
        return depth;
    case 2: // RGB
        return depth * 3;
    case 4: // grey and alpha
        return depth * 2;
    case 6: // RGBA
        return depth * 4;
    default:
        return widest;
    }
}

// Whether the header's bit depth and colour type are a pair PNG has; else, in *problem, what is
// wrong with them. A header too short to say is left to the data check.
bool pngDepthAndColourKnown(const unsigned char* data, size_t size, std::string* problem) {
    if (size < 26)
        return true;
    const unsigned depth = data[24];
    const unsigned colour = data[25];
    const bool depthKnown = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    const bool colourKnown = colour == 0 || colour == 2 || colour == 3 || colour == 4 || colour == 6;
    if (!depthKnown) {
        *problem = "its bit depth " + std::to_string(depth) + " is not a PNG bit depth (1, 2, 4, 8 or 16)";
        return false;
    }
    if (!colourKnown) {
        *problem =
            "its colour type " + std::to_string(colour) + " is not a PNG colour type (0, 2, 3, 4 or 6)";
        return false;
    }
    // Grey takes every depth, a palette up to 8 bits, the other types 8 or 16 only.
    const bool pairKnown = colour == 0 || (colour == 3 ? depth <= 8 : depth >= 8);
    if (!pairKnown) {
        *problem = "its colour type " + std::to_string(colour) + " does not come at bit depth " +
                   std::to_string(depth);
        return false;
    }
    return true;
}

} // namespace

bool ccReadPngSize(const unsigned char* data, size_t size, uint32_t* width, uint32_t* height) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    // Signature, then the header chunk first: its length (13), type, width and height.
    if (!data || size < 24 || std::memcmp(data, kSignature, sizeof kSignature) != 0 ||
        bigEndian32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    *width = bigEndian32(data + 16);
    *height = bigEndian32(data + 20);
    return true;
}

void ccPremultiplyAlpha(unsigned char* rgba, size_t pixelCount) {
    for (size_t i = 0; i < pixelCount; ++i) {
        unsigned char* p = rgba + i * 4;
        const unsigned a = p[3];
        if (a == 255)
            continue;
        // Rounded division by 255.
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<unsigned char>((p[c] * a + 127) / 255);
    }
}

bool CCPixelBytes::allocate(size_t size) {
    clear();
    m_bytes.reset(size ? new (std::nothrow) unsigned char[size] : nullptr);
    if (!m_bytes)
        return false;
    m_size = size;
    return true;
}

void CCPixelBytes::clear() {
    m_bytes.reset();
    m_size = 0;
}

bool ccAdmitPicture(const unsigned char* data, size_t size, const char* name, uint32_t* width,
                    uint32_t* height, CCPictureShare* share) {
    if (!name)
        name = "picture";
    if (!data || size == 0)
        return false;
    // Only PNG is decoded, and only after its header says it fits.
    if (!ccReadPngSize(data, size, width, height)) {
        std::fprintf(stderr, "image refused: %s: only PNG pictures are read, this is %s\n", name,
                     formatName(data, size));
        return false;
    }
    std::string problem;
    if (!pngDepthAndColourKnown(data, size, &problem)) {
        std::fprintf(stderr, "image refused: %s: %s\n", name, problem.c_str());
        return false;
    }
    if (!ccPictureSizeAllowed(*width, *height)) {
        std::fprintf(stderr, "image refused: %s claims %ux%u pixels, above %ux%u or %llu in all\n", name,
                     *width, *height, kCCMaxPictureSide, kCCMaxPictureSide,
                     static_cast<unsigned long long>(kCCMaxPicturePixels));
        return false;
    }
    if (ccPngInterlaced(data, size) && uint64_t(*width) * *height > kCCMaxInterlacedPixels) {
        std::fprintf(stderr,
                     "image refused: %s claims %ux%u interlaced pixels, above the %llu an interlaced picture "
                     "may have in all\n",
                     name, *width, *height, static_cast<unsigned long long>(kCCMaxInterlacedPixels));
        return false;
    }
    if (!ccPictureDataCanFill(*width, *height, pngBitsPerPixel(data, size), pngDataBytes(data, size))) {
        std::fprintf(stderr, "image refused: %s claims %ux%u pixels but holds too little data for them\n",
                     name, *width, *height);
        return false;
    }
    const size_t bytes = static_cast<size_t>(*width) * *height * 4;
    if (!share->take(bytes)) {
        std::fprintf(stderr,
                     "image refused: %s: its %ux%u pixels take %zu bytes decoded, and the pictures alive "
                     "hold %llu of the %llu bytes they may hold together\n",
                     name, *width, *height, bytes, static_cast<unsigned long long>(ccPictureBytesHeld()),
                     static_cast<unsigned long long>(ccPictureBudget()));
        return false;
    }
    return true;
}

bool ccDecodePictureRows(const unsigned char* data, size_t size, uint32_t width, uint32_t height,
                         bool premultiply, const char* name, bool whole, CCPixelBytes* band,
                         const CCPngRows& rows) {
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    if (ccPngInterlaced(data, size))
        whole = true;
    const uint32_t bandRows = whole ? height
                                    : static_cast<uint32_t>(std::min<size_t>(
                                          height, std::max<size_t>(1, kCCPictureBandBytes / rowBytes)));
    if (!band->allocate(rowBytes * bandRows)) {
        std::fprintf(stderr, "image refused: %s: no memory for its %ux%u pixels\n", name ? name : "picture",
                     width, height);
        return false;
    }
    std::string error;
    const bool read = ccReadPngRgba(
        data, size, width, height, band->data(), bandRows,
        [&](unsigned char* rgba, uint32_t first, uint32_t count) {
            if (premultiply)
                ccPremultiplyAlpha(rgba, static_cast<size_t>(width) * count);
            rows(rgba, first, count);
        },
        &error);
    if (!read)
        std::fprintf(stderr, "image decode failed: %s: %s\n", name ? name : "picture", error.c_str());
    return read;
}

bool ccDecodeImage(const unsigned char* data, size_t size, bool premultiply, CCDecodedImage* out,
                   const char* name) {
    *out = CCDecodedImage();
    uint32_t width = 0, height = 0;
    if (!ccAdmitPicture(data, size, name, &width, &height, &out->share))
        return false;
    // The whole picture is one band, decoded in place.
    if (!ccDecodePictureRows(data, size, width, height, premultiply, name, true, &out->rgba,
                             [](unsigned char*, uint32_t, uint32_t) {})) {
        *out = CCDecodedImage();
        return false;
    }
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    return true;
}

bool ccSaveRGBAToPNG(const std::string& path, const unsigned char* rgba, int width, int height,
                     bool bottomUp) {
    if (!rgba || width <= 0 || height <= 0)
        return false;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return false;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    SDL_LockSurface(surface);
    for (int y = 0; y < height; ++y) {
        const int sourceRow = bottomUp ? height - 1 - y : y;
        std::memcpy(static_cast<unsigned char*>(surface->pixels) + surface->pitch * y,
                    rgba + rowBytes * sourceRow, rowBytes);
    }
    SDL_UnlockSurface(surface);
    const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

} // namespace cocos2d
