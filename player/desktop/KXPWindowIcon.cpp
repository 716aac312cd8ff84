#include "player/desktop/KXPWindowIcon.h"

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "platform/CCFileLimits.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <sys/stat.h>

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

// The image an entry points at: a PNG (sizes in its header chunk) or a bitmap (sizes in its
// info header; the height counts the mask too).
bool acceptableImage(const std::vector<unsigned char>& bytes, size_t offset, size_t size) {
    if (offset >= bytes.size() || size > bytes.size() - offset || size < 24) {
        return false;
    }
    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::equal(kPngSignature, kPngSignature + 8, bytes.begin() + static_cast<long>(offset))) {
        return readBig32(bytes, offset + 16) <= kMaxIconSide && readBig32(bytes, offset + 20) <= kMaxIconSide;
    }
    const int32_t width = static_cast<int32_t>(readLittle(bytes, offset + 4, 4));
    const int32_t height = static_cast<int32_t>(readLittle(bytes, offset + 8, 4));
    return width > 0 && static_cast<uint32_t>(width) <= kMaxIconSide && height != INT32_MIN &&
           static_cast<uint32_t>(height < 0 ? -height : height) <= 2 * kMaxIconSide;
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
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = kDirectoryHeaderSize + i * kDirectoryEntrySize;
        if (!acceptableImage(bytes, readLittle(bytes, entry + 12, 4), readLittle(bytes, entry + 8, 4))) {
            return false;
        }
    }
    return true;
}

bool setWindowIcon(SDL_Window* window, const std::string& path) {
    if (window == nullptr) {
        return false;
    }
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        debugLog("[KXPWindowIcon] no %s: the window keeps the default icon", path.c_str());
        return false;
    }
    std::vector<unsigned char> bytes;
    if (!S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) > kMaxIconFileSize ||
        !cocos2d::CCFileUtils::sharedFileUtils()->readFile(path, bytes) || !isAcceptableIcon(bytes)) {
        debugLog("[KXPWindowIcon] %s is not a usable icon file", path.c_str());
        return false;
    }
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* icon = stream != nullptr ? IMG_LoadICO_RW(stream) : nullptr;
    if (stream != nullptr) {
        SDL_RWclose(stream);
    }
    if (icon == nullptr) {
        debugLog("[KXPWindowIcon] %s could not be decoded: %s", path.c_str(), IMG_GetError());
        return false;
    }
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
    return true;
}
