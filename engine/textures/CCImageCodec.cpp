#include "textures/CCImageCodec.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/CCFileLimits.h"

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

// Bytes of pixel data the PNG carries: the lengths of its IDAT chunks, walked without reading them.
uint64_t pngDataBytes(const unsigned char* data, size_t size) {
    uint64_t total = 0;
    size_t at = 8;
    while (size - at >= 12) {
        const uint64_t length = bigEndian32(data + at);
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0)
            total += length;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0 || length > size - at - 12)
            break;
        at += 12 + static_cast<size_t>(length);
    }
    return total;
}

// Deflate packs at most about 1032 bytes into one: a picture whose data could not unpack to the
// rows its header declares is a bomb (the decoder would clear the whole surface first).
bool pngDataCanFill(const unsigned char* data, size_t size, uint32_t width, uint32_t height) {
    static const unsigned kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    const unsigned depth = data[24];
    const unsigned colour = data[25];
    const unsigned channels = colour < 7 ? kChannels[colour] : 0;
    if (channels == 0 || depth == 0)
        return true; // the decoder refuses it on its own
    const uint64_t rowBytes = (uint64_t(width) * channels * depth + 7) / 8 + 1;
    return pngDataBytes(data, size) * 1100 >= rowBytes * height;
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

bool ccDecodeImage(const unsigned char* data, size_t size, bool premultiply, CCDecodedImage* out,
                   const char* name) {
    *out = CCDecodedImage();
    if (!name)
        name = "picture";
    if (!data || size == 0 || size > 0x7fffffff)
        return false;
    // Only PNG is decoded, and only after its header says it fits: the decoder allocates the
    // whole surface from the header before it reads a pixel.
    uint32_t width = 0, height = 0;
    if (!ccReadPngSize(data, size, &width, &height)) {
        std::fprintf(stderr, "image refused: %s: only PNG pictures are read, this is %s\n", name,
                     formatName(data, size));
        return false;
    }
    if (!ccPictureSizeAllowed(width, height)) {
        std::fprintf(stderr, "image refused: %s claims %ux%u pixels, above %ux%u or %llu in all\n", name,
                     width, height, kCCMaxPictureSide, kCCMaxPictureSide,
                     static_cast<unsigned long long>(kCCMaxPicturePixels));
        return false;
    }
    if (size < 26 || !pngDataCanFill(data, size, width, height)) {
        std::fprintf(stderr, "image refused: %s claims %ux%u pixels but holds too little data for them\n",
                     name, width, height);
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw)
        return false;
    SDL_Surface* loaded = IMG_LoadPNG_RW(rw);
    SDL_RWclose(rw);
    if (!loaded) {
        std::fprintf(stderr, "image decode failed: %s: %s\n", name, IMG_GetError());
        return false;
    }
    if (loaded->w <= 0 || loaded->h <= 0 || uint32_t(loaded->w) != width || uint32_t(loaded->h) != height) {
        SDL_FreeSurface(loaded);
        return false;
    }
    // ABGR8888 is R, G, B, A in memory order on little-endian machines; a picture already in that
    // order is not copied once more.
    SDL_Surface* converted = loaded;
    if (loaded->format->format != SDL_PIXELFORMAT_RGBA32) {
        converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(loaded);
    }
    if (!converted)
        return false;
    out->width = converted->w;
    out->height = converted->h;
    const size_t rowBytes = static_cast<size_t>(out->width) * 4;
    try {
        out->rgba.resize(rowBytes * static_cast<size_t>(out->height));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "image refused: %s: no memory for its %dx%d pixels\n", name, out->width,
                     out->height);
        SDL_FreeSurface(converted);
        *out = CCDecodedImage();
        return false;
    }
    SDL_LockSurface(converted);
    for (int y = 0; y < out->height; ++y)
        std::memcpy(out->rgba.data() + rowBytes * y,
                    static_cast<unsigned char*>(converted->pixels) + converted->pitch * y, rowBytes);
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    if (premultiply)
        ccPremultiplyAlpha(out->rgba.data(), static_cast<size_t>(out->width) * out->height);
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
