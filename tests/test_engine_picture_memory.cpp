// What pictures take in memory: a picture is believed only as far as its data could fill its
// decoded size, it is decoded into one buffer, and the pictures alive together stay within a
// budget.
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "support/png_bytes.h"
#include "support/state_guards.h"
#include "support/temp_folder.h"
#include "textures/CCImageCodec.h"
#include "textures/CCPictureBudget.h"

using namespace cocos2d;
using namespace kxtest;

namespace {

bool decode(const std::string& png, CCDecodedImage* image, std::string* log = nullptr) {
    ::testing::internal::CaptureStderr();
    const bool decoded =
        ccDecodeImage(reinterpret_cast<const unsigned char*>(png.data()), png.size(), true, image, "picture");
    const std::string lines = ::testing::internal::GetCapturedStderr();
    if (log)
        *log = lines;
    return decoded;
}

// A 1-bit grey picture of the given sides, all of it white.
std::string whiteBits(uint32_t width, uint32_t height) {
    return pngFile(width, height, 1, kPngGrey, pngSameRows((width + 7) / 8, height, '\xff'));
}

// An opaque RGBA picture, every pixel (r, 0, 0).
std::string redRgba(uint32_t width, uint32_t height, char red = '\xff') {
    std::string row;
    for (uint32_t x = 0; x < width; ++x)
        row += std::string{red, 0, 0, '\xff'};
    std::string raw;
    for (uint32_t y = 0; y < height; ++y)
        raw += '\0' + row;
    return pngFile(width, height, 8, kPngRgba, raw);
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// Every picture is decoded to 4 bytes a pixel, whatever its bit depth: a 1-bit picture's data
// packs 32 times more pixels than an RGBA one's, so its data is weighed against the decoded size.
// Up to 4096 x 4096 pixels a picture is decoded whatever its data (a solid background packs to
// almost nothing).
TEST(PictureData, APictureIsWeighedByItsDecodedSizeWhateverItsDepth) {
    CCDecodedImage image;
    std::string log;
    // 20 KB declaring 8192 x 8192 pixels, every row there: 256 MiB decoded.
    const std::string bomb = whiteBits(8192, 8192);
    ASSERT_LT(bomb.size(), 32768u);
    EXPECT_FALSE(decode(bomb, &image, &log));
    EXPECT_EQ(log, "image refused: picture claims 8192x8192 pixels but holds too little data for them\n");
    EXPECT_TRUE(image.rgba.empty());

    ASSERT_TRUE(decode(whiteBits(4096, 4096), &image));
    EXPECT_EQ(image.rgba.size(), size_t(4096) * 4096 * 4);
    EXPECT_EQ(image.rgba.data()[0], 255);
    EXPECT_EQ(image.rgba.data()[image.rgba.size() - 1], 255);
    EXPECT_FALSE(decode(whiteBits(4097, 4096), &image, &log));
    EXPECT_NE(log.find("holds too little data"), std::string::npos) << log;
}

// The decoder writes the pixels straight into the picture's buffer: no surface of the file's own
// format beside it, and no second copy.
TEST(PictureData, APictureIsDecodedIntoOneBuffer) {
    const std::string picture = whiteBits(4096, 4096); // 64 MiB decoded
    EXPECT_EXIT(
        {
            const long before = peakResidentKilobytes();
            CCDecodedImage image;
            const bool decoded = ccDecodeImage(reinterpret_cast<const unsigned char*>(picture.data()),
                                               picture.size(), true, &image);
            const long grown = peakResidentKilobytes() - before;
            std::exit(decoded && grown < 80 * 1024 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

class PictureBudget : public ::testing::Test {
protected:
    std::string file(const std::string& name, const std::string& bytes) {
        folder.write(name, bytes);
        return folder.file(name);
    }

    TempFolder folder;
};

// Decoded images and textures hold their pixels' share until they go; a picture that would pass
// the budget is refused with one line, and the game goes on without it.
TEST_F(PictureBudget, PicturesAliveTogetherStayWithinIt) {
    ScopedPictureRoom room(3 << 20);
    const uint64_t held = ccPictureBytesHeld();
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    const std::string small = file("small.png", redRgba(16, 16));
    const std::string big = file("big.png", redRgba(1024, 512));
    {
        CCDecodedImage image;
        ASSERT_TRUE(decode(redRgba(512, 512), &image)); // 1 MiB
        EXPECT_EQ(ccPictureBytesHeld(), held + (1 << 20));
        CCTexture2D* texture = cache->addImage(big.c_str()); // 2 MiB
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(ccPictureBytesHeld(), held + (3 << 20));

        ::testing::internal::CaptureStderr();
        EXPECT_EQ(cache->addImage(small.c_str()), nullptr);
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(log.find("image refused: " + small + ": "), 0u) << log;
        EXPECT_NE(log.find("1024 bytes decoded"), std::string::npos) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }
    // The decoded image went: its share came back.
    EXPECT_EQ(ccPictureBytesHeld(), held + (2 << 20));
    EXPECT_NE(cache->addImage(small.c_str()), nullptr);
    cache->removeTextureForKey(small.c_str());
    cache->removeTextureForKey(big.c_str());
    EXPECT_EQ(ccPictureBytesHeld(), held);
}
