#include "player/desktop/KXPWindowIcon.h"

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "platform/CCFileLimits.h"
#include "textures/CCImageCodec.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

const size_t kMaxIconFileSize = static_cast<size_t>(cocos2d::ccFileSizeCap(cocos2d::CCFileKind::Icon));
constexpr uint32_t kMaxIconSide = 1024;
constexpr size_t kDirectoryHeaderSize = 6;
constexpr size_t kDirectoryEntrySize = 16;

uint32_t readLittle(const std::vector<unsigned char>& bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<size_t>(i)];
    }
    return value;
}

uint32_t readBig32(const std::vector<unsigned char>& bytes, size_t at) {
    return (static_cast<uint32_t>(bytes[at]) << 24) | (static_cast<uint32_t>(bytes[at + 1]) << 16) |
           (static_cast<uint32_t>(bytes[at + 2]) << 8) | bytes[at + 3];
}

struct Entry {
    size_t offset = 0;
    size_t size = 0;
};

Entry entryAt(const std::vector<unsigned char>& bytes, size_t index) {
    const size_t at = kDirectoryHeaderSize + index * kDirectoryEntrySize;
    return Entry{readLittle(bytes, at + 12, 4), readLittle(bytes, at + 8, 4)};
}

bool isPng(const std::vector<unsigned char>& bytes, const Entry& entry) {
    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return std::equal(kPngSignature, kPngSignature + 8, bytes.begin() + static_cast<long>(entry.offset));
}

// Whether an entry's image fits the icon's bounds, and the pixels it claims: a PNG (sides in its
// header chunk) or a bitmap (sides in its info header; the height counts the mask too).
bool claimedPixels(const std::vector<unsigned char>& bytes, const Entry& entry, uint64_t* pixels) {
    if (entry.offset >= bytes.size() || entry.size > bytes.size() - entry.offset || entry.size < 24) {
        return false;
    }
    if (isPng(bytes, entry)) {
        const uint32_t width = readBig32(bytes, entry.offset + 16);
        const uint32_t height = readBig32(bytes, entry.offset + 20);
        *pixels = uint64_t(width) * height;
        return width <= kMaxIconSide && height <= kMaxIconSide;
    }
    const int32_t width = static_cast<int32_t>(readLittle(bytes, entry.offset + 4, 4));
    const int32_t height = static_cast<int32_t>(readLittle(bytes, entry.offset + 8, 4));
    const uint32_t rows =
        height == INT32_MIN ? UINT32_MAX : static_cast<uint32_t>(height < 0 ? -height : height);
    *pixels = uint64_t(width > 0 ? width : 0) * rows / 2;
    return width > 0 && static_cast<uint32_t>(width) <= kMaxIconSide && rows <= 2 * kMaxIconSide;
}

// A PNG image through the picture decoder, into a surface of its own.
SDL_Surface* decodePng(const std::vector<unsigned char>& bytes, const Entry& entry, const std::string& name) {
    cocos2d::CCDecodedImage image;
    if (!cocos2d::ccDecodeImage(bytes.data() + entry.offset, entry.size, false, &image, name.c_str())) {
        return nullptr;
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        return nullptr;
    }
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(static_cast<unsigned char*>(surface->pixels) + static_cast<size_t>(surface->pitch) * y,
                    image.rgba.data() + rowBytes * static_cast<size_t>(y), rowBytes);
    }
    return surface;
}

// A bitmap image through SDL2_image's icon loader, given an icon file of that image alone (the
// loader picks its own image from a file of several, and cannot read a PNG one).
SDL_Surface* decodeBitmap(const std::vector<unsigned char>& bytes, size_t index, const Entry& entry) {
    std::vector<unsigned char> single = {0, 0, 1, 0, 1, 0};
    const size_t at = kDirectoryHeaderSize + index * kDirectoryEntrySize;
    single.insert(single.end(), bytes.begin() + static_cast<long>(at),
                  bytes.begin() + static_cast<long>(at + 12));
    const uint32_t offset = kDirectoryHeaderSize + kDirectoryEntrySize;
    for (int i = 0; i < 4; ++i) {
        single.push_back(static_cast<unsigned char>(offset >> (8 * i)));
    }
    single.insert(single.end(), bytes.begin() + static_cast<long>(entry.offset),
                  bytes.begin() + static_cast<long>(entry.offset + entry.size));
    SDL_RWops* stream = SDL_RWFromConstMem(single.data(), static_cast<int>(single.size()));
    SDL_Surface* icon = stream != nullptr ? IMG_LoadICO_RW(stream) : nullptr;
    if (stream != nullptr) {
        SDL_RWclose(stream);
    }
    return icon;
}

} // namespace

bool isAcceptableIcon(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < kDirectoryHeaderSize || bytes.size() > kMaxIconFileSize) {
        return false;
    }
    if (readLittle(bytes, 0, 2) != 0 || readLittle(bytes, 2, 2) != 1) {
        return false;
    }
    const size_t count = readLittle(bytes, 4, 2);
    if (count == 0 || kDirectoryHeaderSize + count * kDirectoryEntrySize > bytes.size()) {
        return false;
    }
    uint64_t pixels = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!claimedPixels(bytes, entryAt(bytes, i), &pixels)) {
            return false;
        }
    }
    return true;
}

SDL_Surface* decodeIcon(const std::vector<unsigned char>& bytes, const std::string& name) {
    if (!isAcceptableIcon(bytes)) {
        debugLog("[KXPWindowIcon] %s is not a usable icon file", name.c_str());
        return nullptr;
    }
    // The largest image: window managers scale an icon down to the sizes they show.
    size_t best = 0;
    uint64_t bestPixels = 0;
    const size_t count = readLittle(bytes, 4, 2);
    for (size_t i = 0; i < count; ++i) {
        uint64_t pixels = 0;
        claimedPixels(bytes, entryAt(bytes, i), &pixels);
        if (i == 0 || pixels > bestPixels) {
            best = i;
            bestPixels = pixels;
        }
    }
    const Entry entry = entryAt(bytes, best);
    SDL_Surface* icon =
        isPng(bytes, entry) ? decodePng(bytes, entry, name) : decodeBitmap(bytes, best, entry);
    if (icon == nullptr) {
        debugLog("[KXPWindowIcon] %s could not be decoded: %s", name.c_str(),
                 isPng(bytes, entry) ? "its PNG image was refused" : IMG_GetError());
    }
    return icon;
}

bool setWindowIcon(SDL_Window* window, const std::string& path) {
    if (window == nullptr) {
        return false;
    }
    // Opened once: a regular file within the icon's cap, read from what was checked.
    cocos2d::CCFileUtils* files = cocos2d::CCFileUtils::sharedFileUtils();
    const cocos2d::CCOpenedFile file = files->openFile(files->fullPathForFilename(path.c_str()));
    if (!file && file.error() == ENOENT) {
        debugLog("[KXPWindowIcon] no %s: the window keeps the default icon", path.c_str());
        return false;
    }
    std::vector<unsigned char> bytes;
    if (!file || !file.readAll(bytes)) {
        debugLog("[KXPWindowIcon] %s is not a usable icon file", path.c_str());
        return false;
    }
    SDL_Surface* icon = decodeIcon(bytes, path);
    if (icon == nullptr) {
        return false;
    }
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
    return true;
}
