#include "platform/CCFileLimits.h"

#include <cctype>

namespace cocos2d {

namespace {

constexpr std::uint64_t kMiB = std::uint64_t(1) << 20;

std::string lowerExtension(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return std::string();
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

} // namespace

CCFileKind ccFileKindForPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name == "Default.png")
        return CCFileKind::LoadingPicture;
    const std::string extension = lowerExtension(name);
    if (extension == "ico")
        return CCFileKind::Icon;
    // Whatever a picture is called, it is read as a picture (and decoding then refuses all but PNG).
    if (extension == "png" || extension == "jpg" || extension == "jpeg" || extension == "gif" ||
        extension == "bmp" || extension == "qoi" || extension == "svg" || extension == "webp" ||
        extension == "tga" || extension == "pvr" || extension == "ccz")
        return CCFileKind::Picture;
    if (extension == "mp3" || extension == "wav" || extension == "ogg")
        return CCFileKind::Sound;
    if (extension == "fnt")
        return CCFileKind::Font;
    if (extension == "plist")
        return CCFileKind::Plist;
    if (extension == "fsh" || extension == "vsh")
        return CCFileKind::Shader;
    return CCFileKind::Other;
}

const char* ccFileKindName(CCFileKind kind) {
    switch (kind) {
    case CCFileKind::Picture:
        return "picture";
    case CCFileKind::LoadingPicture:
        return "loading picture";
    case CCFileKind::Icon:
        return "icon";
    case CCFileKind::Sound:
        return "sound";
    case CCFileKind::Font:
        return "font";
    case CCFileKind::Plist:
        return "plist";
    case CCFileKind::Shader:
        return "shader";
    case CCFileKind::Other:
        break;
    }
    return "data file";
}

std::uint64_t ccFileSizeCap(CCFileKind kind) {
    switch (kind) {
    case CCFileKind::Picture:
        return 64 * kMiB;
    case CCFileKind::LoadingPicture:
        return 32 * kMiB;
    case CCFileKind::Icon:
        return 8 * kMiB;
    case CCFileKind::Sound:
        return 32 * kMiB;
    case CCFileKind::Font:
        return 8 * kMiB;
    case CCFileKind::Plist:
        return 16 * kMiB;
    case CCFileKind::Shader:
        return 1 * kMiB;
    case CCFileKind::Other:
        break;
    }
    return 256 * kMiB;
}

bool ccPictureSizeAllowed(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= kCCMaxPictureSide && height <= kCCMaxPictureSide &&
           width * height <= kCCMaxPicturePixels;
}

bool ccPictureDataCanFill(std::uint64_t width, std::uint64_t height, std::uint32_t bitsPerPixel,
                          std::uint64_t dataBytes) {
    if (!ccPictureSizeAllowed(width, height) || bitsPerPixel == 0 || bitsPerPixel > 64)
        return false;
    const std::uint64_t rows = ((width * bitsPerPixel + 7) / 8 + 1) * height;
    return dataBytes * kCCPictureBytesPerDataByte >= rows;
}

} // namespace cocos2d
