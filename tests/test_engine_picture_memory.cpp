// What pictures take in memory: a picture is believed only as far as its data could unpack to its
// rows, it is decoded into one buffer, and the pictures alive together stay within a budget.
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "support/png_bytes.h"
#include "support/scene_test_support.h"
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

bool admit(const std::string& png, CCPictureShare* share, std::string* log) {
    uint32_t width = 0, height = 0;
    ::testing::internal::CaptureStderr();
    const bool admitted = ccAdmitPicture(reinterpret_cast<const unsigned char*>(png.data()), png.size(),
                                         "picture", &width, &height, share);
    *log = ::testing::internal::GetCapturedStderr();
    return admitted;
}

// A picture is believed as far as its data could unpack to the rows its depth packs: a 1-bit
// picture of 20 KB can be a solid 8192 x 8192 one (256 MiB decoded, within the sides a picture
// may have), and so can a sparse palette atlas; the data of four rows cannot, and neither can a
// data chunk that claims more bytes than the file holds.
TEST(PictureData, APictureIsWeighedByTheRowsItsDepthPacks) {
    ScopedPictureRoom room(uint64_t(1) << 30);
    CCPictureShare share;
    std::string log;
    const std::string bits = whiteBits(8192, 8192);
    ASSERT_LT(bits.size(), 32768u);
    EXPECT_TRUE(admit(bits, &share, &log)) << log;
    EXPECT_EQ(share.bytes(), uint64_t(8192) * 8192 * 4);
    const std::string palette = pngFile(8192, 4096, 8, kPngPalette, pngSameRows(8192, 4096),
                                        pngChunkBytes("PLTE", std::string(3, '\0')));
    EXPECT_TRUE(admit(palette, &share, &log)) << log;
    share.giveBack();

    const std::string fourRows = pngFile(8192, 8192, 8, kPngRgba, pngSameRows(8192 * 4, 4));
    EXPECT_FALSE(admit(fourRows, &share, &log));
    EXPECT_EQ(log, "image refused: picture claims 8192x8192 pixels but holds too little data for them\n");

    // The same data behind a chunk length that claims 64 MiB, the file ending after it.
    std::string cut = fourRows;
    const size_t type = cut.find("IDAT");
    ASSERT_NE(type, std::string::npos);
    cut.replace(type - 4, 4, pngBig32(64u << 20));
    cut.resize(cut.size() - 16); // its check sum and the end chunk
    EXPECT_FALSE(admit(cut, &share, &log));
    EXPECT_NE(log.find("holds too little data"), std::string::npos) << log;
}

// An interlaced picture is held whole beside its texture while it decodes: it may have half the
// pixels of another, and takes a second share of the budget for that time.
TEST(PictureData, AnInterlacedPictureHasHalfThePixelsAndTwoSharesWhileItDecodes) {
    CCPictureShare share;
    std::string log;
    const std::string raw = pngSameRows(1024, 8192, '\xff'); // not the passes' rows: never decoded
    EXPECT_FALSE(admit(pngFile(8192, 8192, 1, kPngGrey, raw, "", true), &share, &log));
    EXPECT_EQ(log, "image refused: picture claims 8192x8192 interlaced pixels, above the 33554432 an "
                   "interlaced picture may have in all\n");
    EXPECT_TRUE(admit(pngFile(4096, 8192, 1, kPngGrey, raw, "", true), &share, &log)) << log;
    share.giveBack();

    std::vector<std::string> rows(64, std::string(64 * 4, '\x7f'));
    const std::string interlaced = pngFile(64, 64, 8, kPngRgba, pngInterlacedRows(rows, 64, 4), "", true);
    const uint64_t held = ccPictureBytesHeld();
    {
        ScopedPictureRoom room(64 * 64 * 4 * 2 - 1);
        CCTexture2D* texture = new CCTexture2D();
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(texture->initWithImageData(reinterpret_cast<const unsigned char*>(interlaced.data()),
                                                interlaced.size(), "rows"));
        log = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("image refused: rows: its interlaced rows take 16384 bytes beside its texture"),
                  std::string::npos)
            << log;
        EXPECT_EQ(ccPictureBytesHeld(), held);
        texture->release();
    }
    ScopedPictureRoom room(64 * 64 * 4 * 2);
    CCTexture2D* texture = new CCTexture2D();
    EXPECT_TRUE(texture->initWithImageData(reinterpret_cast<const unsigned char*>(interlaced.data()),
                                           interlaced.size(), "rows"));
    EXPECT_EQ(ccPictureBytesHeld(), held + 64 * 64 * 4);
    texture->release();
    EXPECT_EQ(ccPictureBytesHeld(), held);
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

class PictureBudgetScenes : public kxtest::SceneTest {
protected:
    TempFolder folder;

    CCTexture2D* picture(const std::string& name) {
        folder.write(name, redRgba(256, 256)); // 256 KiB decoded
        return CCTextureCache::sharedTextureCache()->addImage(folder.file(name).c_str());
    }
};

// Pictures no screen uses any more go with the screen that leaves once the pictures alive hold
// half the budget; those the next screen shows stay, and below half nothing is let go.
TEST_F(PictureBudgetScenes, PicturesNoScreenUsesGoWithAScreenChangeOnceHalfTheBudgetIsHeld) {
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    // What earlier cases left unused would go with the first change as well; what they left in
    // use stays, and the budget is set so that half of it lies between one picture more and three.
    cache->removeUnusedTextures();
    const uint64_t held = ccPictureBytesHeld();
    ScopedPictureRoom room(held + (1 << 20));
    director()->runWithScene(CCScene::create());
    CCTexture2D* first = picture("first.png");
    ASSERT_NE(first, nullptr);
    director()->replaceScene(CCScene::create());
    frames(1);
    EXPECT_EQ(ccPictureBytesHeld(), held + (256 << 10)) << "a quarter held: nothing let go";

    CCTexture2D* second = picture("second.png");
    CCTexture2D* third = picture("third.png");
    ASSERT_NE(third, nullptr);
    CCScene* next = CCScene::create();
    next->addChild(CCSprite::createWithTexture(second));
    director()->replaceScene(next);
    frames(1);
    EXPECT_EQ(ccPictureBytesHeld(), held + (256 << 10));
    EXPECT_EQ(cache->textureForKey(folder.file("second.png").c_str()), second);
    EXPECT_EQ(cache->textureForKey(folder.file("third.png").c_str()), nullptr);
    cache->removeTextureForKey(folder.file("second.png").c_str());
}
