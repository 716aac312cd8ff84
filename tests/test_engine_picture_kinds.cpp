// Every kind of PNG a tool writes decodes to the same 8-bit RGBA pixels: grey and colour at
// every depth, palettes, transparent colours, alpha channels and interlaced rows.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/png_bytes.h"
#include "textures/CCImageCodec.h"

using namespace cocos2d;
using namespace kxtest;

namespace {

using Pixels = std::vector<std::vector<int>>; // one {r, g, b, a} a pixel, rows top first

Pixels decoded(const std::string& png, bool premultiply = false) {
    CCDecodedImage image;
    EXPECT_TRUE(
        ccDecodeImage(reinterpret_cast<const unsigned char*>(png.data()), png.size(), premultiply, &image));
    Pixels pixels;
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        const unsigned char* p = image.rgba.data() + i;
        pixels.push_back({p[0], p[1], p[2], p[3]});
    }
    return pixels;
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

} // namespace

TEST(PictureKinds, GreyAndColourAtEveryDepth) {
    // 1 bit: one row of white then black; 4 bits: 0x8 spreads to 0x88; 16 bits keep the high byte.
    EXPECT_EQ(decoded(pngFile(2, 1, 1, kPngGrey, bytes({0, 0x80}))),
              (Pixels{{255, 255, 255, 255}, {0, 0, 0, 255}}));
    EXPECT_EQ(decoded(pngFile(2, 1, 4, kPngGrey, bytes({0, 0x8f}))),
              (Pixels{{136, 136, 136, 255}, {255, 255, 255, 255}}));
    EXPECT_EQ(decoded(pngFile(1, 1, 16, kPngGrey, bytes({0, 0x12, 0x34}))), (Pixels{{18, 18, 18, 255}}));
    EXPECT_EQ(decoded(pngFile(1, 1, 8, kPngGreyAlpha, bytes({0, 0x40, 0x80}))), (Pixels{{64, 64, 64, 128}}));
    EXPECT_EQ(decoded(pngFile(1, 1, 16, kPngRgb, bytes({0, 1, 2, 3, 4, 5, 6}))), (Pixels{{1, 3, 5, 255}}));
    EXPECT_EQ(decoded(pngFile(1, 1, 8, kPngRgba, bytes({0, 200, 100, 50, 128})), true),
              (Pixels{{100, 50, 25, 128}}));
}

// A transparent colour (tRNS) becomes alpha 0; a palette's entries may carry their own alpha.
TEST(PictureKinds, TransparentColoursAndPalettes) {
    const std::string greyKey = pngChunkBytes("tRNS", bytes({0, 7}));
    EXPECT_EQ(decoded(pngFile(2, 1, 8, kPngGrey, bytes({0, 7, 8}), greyKey)),
              (Pixels{{7, 7, 7, 0}, {8, 8, 8, 255}}));
    const std::string rgbKey = pngChunkBytes("tRNS", bytes({0, 1, 0, 2, 0, 3}));
    EXPECT_EQ(decoded(pngFile(2, 1, 8, kPngRgb, bytes({0, 1, 2, 3, 1, 2, 4}), rgbKey)),
              (Pixels{{1, 2, 3, 0}, {1, 2, 4, 255}}));
    const std::string palette = pngChunkBytes("PLTE", bytes({10, 20, 30, 40, 50, 60, 70, 80, 90})) +
                                pngChunkBytes("tRNS", bytes({0, 128}));
    // 2-bit indices 0, 1, 2: the first clear, the second half clear, the third (no tRNS entry) opaque.
    EXPECT_EQ(decoded(pngFile(3, 1, 2, kPngPalette, bytes({0, 0x18}), palette)),
              (Pixels{{10, 20, 30, 0}, {40, 50, 60, 128}, {70, 80, 90, 255}}));
}

// Adam7 spreads the rows over seven passes; a 9 x 9 picture has pixels in each of them.
TEST(PictureKinds, InterlacedRowsComeTogether) {
    std::vector<std::string> rows;
    Pixels expected;
    for (int y = 0; y < 9; ++y) {
        std::string row;
        for (int x = 0; x < 9; ++x) {
            row += bytes({x * 20, y * 20, x + y, 255});
            expected.push_back({x * 20, y * 20, x + y, 255});
        }
        rows.push_back(row);
    }
    EXPECT_EQ(decoded(pngFile(9, 9, 8, kPngRgba, pngInterlacedRows(rows, 9, 4), "", true)), expected);
}

// A header whose bit depth or colour type PNG does not have, or a pair of them it does not allow,
// is refused for that, before its data is weighed against its sides.
TEST(PictureKinds, DepthsAndColourTypesPngDoesNotHaveAreRefusedAsSuch) {
    struct Case {
        uint8_t depth;
        int colour;
        const char* why;
    };
    const Case cases[] = {
        {7, kPngGrey, "its bit depth 7 is not a PNG bit depth (1, 2, 4, 8 or 16)"},
        {0, kPngRgba, "its bit depth 0 is not a PNG bit depth (1, 2, 4, 8 or 16)"},
        {8, 5, "its colour type 5 is not a PNG colour type (0, 2, 3, 4 or 6)"},
        {8, 1, "its colour type 1 is not a PNG colour type (0, 2, 3, 4 or 6)"},
        {4, kPngRgb, "its colour type 2 does not come at bit depth 4"},
        {16, kPngPalette, "its colour type 3 does not come at bit depth 16"},
    };
    for (const Case& c : cases) {
        // Sides far larger than the few rows of data.
        const std::string png =
            pngFile(2048, 2048, c.depth, static_cast<PngColour>(c.colour), pngSameRows(64, 4));
        CCDecodedImage image;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(ccDecodeImage(reinterpret_cast<const unsigned char*>(png.data()), png.size(), true,
                                   &image, "picture"));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  std::string("image refused: picture: ") + c.why + "\n");
    }
}
