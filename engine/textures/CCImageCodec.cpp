#include "textures/CCImageCodec.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace cocos2d {

namespace {
// Guards memory use against absurd headers; GL cannot hold larger textures anyway.
constexpr int kMaxImageSide = 16384;

uint32_t bigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// The decoder allocates (and clears) the whole surface from the header before it reads a
// pixel, so a tiny PNG claiming huge sides must be turned away before decoding.
bool pngHeaderTooLarge(const unsigned char* data, size_t size) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    // Signature, IHDR length and type, then width and height.
    if (size < 24 || std::memcmp(data, kSignature, sizeof kSignature) != 0 ||
        std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    const uint32_t width = bigEndian32(data + 16);
    const uint32_t height = bigEndian32(data + 20);
    return width > uint32_t(kMaxImageSide) || height > uint32_t(kMaxImageSide);
}
} // namespace

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

bool ccDecodeImage(const unsigned char* data, size_t size, bool premultiply, CCDecodedImage* out) {
    *out = CCDecodedImage();
    if (!data || size == 0 || size > 0x7fffffff)
        return false;
    if (pngHeaderTooLarge(data, size)) {
        std::fprintf(stderr, "image decode refused: sides above %d pixels\n", kMaxImageSide);
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw)
        return false;
    SDL_Surface* loaded = IMG_Load_RW(rw, 1);
    if (!loaded) {
        std::fprintf(stderr, "image decode failed: %s\n", IMG_GetError());
        return false;
    }
    if (loaded->w <= 0 || loaded->h <= 0 || loaded->w > kMaxImageSide || loaded->h > kMaxImageSide) {
        SDL_FreeSurface(loaded);
        return false;
    }
    // ABGR8888 is R, G, B, A in memory order on little-endian machines.
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!converted)
        return false;
    out->width = converted->w;
    out->height = converted->h;
    const size_t rowBytes = static_cast<size_t>(out->width) * 4;
    out->rgba.resize(rowBytes * static_cast<size_t>(out->height));
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
