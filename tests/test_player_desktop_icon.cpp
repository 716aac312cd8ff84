// The window icon from the game's "icon.ico": its images may be bitmaps or PNG pictures (the
// usual kind in today's icon files); either kind is decoded and installed on the window.
#include <cstdint>
#include <string>
#include <vector>

#include "player/desktop/KXPWindowIcon.h"
#include "support/png_bytes.h"
#include "support/render_test_support.h"

namespace {

std::string little(uint32_t value, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
    return out;
}

// A 2 x 2 bitmap image of an icon file: 32-bit pixels, bottom row first, (b, g, r, a) each
// pixel, then the mask (rows of 4 bytes); its height counts the mask too.
std::string bitmapImage(uint8_t red) {
    std::string image =
        little(40, 4) + little(2, 4) + little(4, 4) + little(1, 2) + little(32, 2) + std::string(24, '\0');
    for (int i = 0; i < 4; ++i)
        image += std::string{0, 0, static_cast<char>(red), '\xff'};
    return image + std::string(8, '\0');
}

// A side x side PNG picture, every pixel (0, green, 0) opaque.
std::string pngImage(uint32_t side, uint8_t green) {
    std::string row;
    for (uint32_t x = 0; x < side; ++x)
        row += std::string{0, static_cast<char>(green), 0, '\xff'};
    std::string raw;
    for (uint32_t y = 0; y < side; ++y)
        raw += '\0' + row;
    return kxtest::pngFile(side, side, 8, kxtest::kPngRgba, raw);
}

// The icon file holding these images, each with its side in the directory.
std::string iconFile(const std::vector<std::pair<uint8_t, std::string>>& images) {
    std::string directory = little(0, 2) + little(1, 2) + little(static_cast<uint32_t>(images.size()), 2);
    std::string data;
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const auto& image : images) {
        directory += std::string{static_cast<char>(image.first), static_cast<char>(image.first), 0, 0} +
                     little(1, 2) + little(32, 2) + little(static_cast<uint32_t>(image.second.size()), 4) +
                     little(offset, 4);
        offset += static_cast<uint32_t>(image.second.size());
        data += image.second;
    }
    return directory + data;
}

class WindowIcon : public kxtest::RenderTest {};

// Each kind decodes to its own pixels; of several images the largest is the one shown.
TEST_F(WindowIcon, BitmapAndPngImagesAreInstalled) {
    SDL_Window* window = view->getSDLWindow();
    ASSERT_NE(window, nullptr);
    const struct {
        const char* name;
        std::string bytes;
        int side;
        Uint8 red, green;
    } icons[] = {
        {"bitmap.ico", iconFile({{2, bitmapImage(200)}}), 2, 200, 0},
        {"png.ico", iconFile({{8, pngImage(8, 100)}}), 8, 0, 100},
        {"both.ico", iconFile({{2, bitmapImage(200)}, {16, pngImage(16, 100)}}), 16, 0, 100},
        {"bitmap-largest.ico", iconFile({{1, pngImage(1, 100)}, {2, bitmapImage(200)}}), 2, 200, 0},
    };
    for (const auto& icon : icons) {
        SDL_Surface* surface =
            decodeIcon(std::vector<unsigned char>(icon.bytes.begin(), icon.bytes.end()), icon.name);
        ASSERT_NE(surface, nullptr) << icon.name;
        EXPECT_EQ(surface->w, icon.side) << icon.name;
        EXPECT_EQ(surface->h, icon.side) << icon.name;
        Uint8 r = 0, g = 0, b = 0, a = 0;
        SDL_LockSurface(surface);
        SDL_GetRGBA(*static_cast<Uint32*>(surface->pixels), surface->format, &r, &g, &b, &a);
        SDL_UnlockSurface(surface);
        EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({icon.red, icon.green, 0, 255}))
            << icon.name;
        SDL_FreeSurface(surface);

        folder.write(icon.name, icon.bytes);
        EXPECT_TRUE(setWindowIcon(window, folder.file(icon.name))) << icon.name;
    }
}

// A PNG image goes through the picture checks and decoder: one holding four of its 1024 rows is
// refused with the checks' line, one whose data is damaged with the decoder's, and the window keeps
// the icon it has.
TEST_F(WindowIcon, APngImageIsDecodedAsAnyPicture) {
    const std::string damaged = kxtest::pngFile(1024, 1024, 1, kxtest::kPngGrey, kxtest::pngSameRows(128, 4));
    const std::string bytes = iconFile({{0, damaged}});
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(decodeIcon(std::vector<unsigned char>(bytes.begin(), bytes.end()), "icon.ico"), nullptr);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("image refused: icon.ico claims 1024x1024 pixels but holds too little data"),
              std::string::npos)
        << log;

    std::string broken = kxtest::pngFile(64, 64, 8, kxtest::kPngRgba, kxtest::pngSameRows(256, 64, '\x40'));
    broken[broken.find("IDAT") + 6] ^= 0x55; // inside the deflate stream
    const std::string brokenIcon = iconFile({{0, broken}});
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(decodeIcon(std::vector<unsigned char>(brokenIcon.begin(), brokenIcon.end()), "icon.ico"),
              nullptr);
    const std::string decodeLog = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(decodeLog.find("image decode failed: icon.ico"), std::string::npos) << decodeLog;
}

} // namespace
