// Sprites drawn into the offscreen frame: placement, orientation, tint, opacity, the
// premultiplied blend of PNG alpha, and the 16-bit colour textures made from raw bytes.
#include "support/render_test_support.h"

#include <sys/resource.h>

#include <cstdlib>

#include "support/png_bytes.h"
#include "textures/CCImageCodec.h"

using namespace cocos2d;
using kxtest::Rgba;

namespace {

class SpriteRender : public kxtest::RenderTest {};

CCSprite* colourSprite(const unsigned char bytes[4], float w, float h) {
    CCTexture2D* texture = new CCTexture2D();
    const bool ok = texture->initWithData(bytes, kCCTexture2DPixelFormat_RGB5A1, 1, 1, CCSize(1, 1));
    EXPECT_TRUE(ok);
    CCSprite* sprite = CCSprite::createWithTexture(texture);
    texture->release();
    sprite->setTextureRect(CCRect(0, 0, w, h));
    return sprite;
}

// An RGBA PNG whose header claims width x height and whose data holds `rows` rows of 4
// opaque white pixels each.
std::string pngClaiming(uint32_t width, uint32_t height, int rows) {
    return kxtest::pngFile(width, height, 8, kxtest::kPngRgba,
                           kxtest::pngSameRows(16, static_cast<uint32_t>(rows), '\xff'));
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(ImageDecode, WellFormedPngDecodesToItsSize) {
    const std::string png = pngClaiming(4, 4, 4);
    CCDecodedImage image;
    ASSERT_TRUE(ccDecodeImage(reinterpret_cast<const unsigned char*>(png.data()), png.size(), true, &image));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.rgba.size(), 64u);
}

// A few hundred bytes claiming 16385 x 8192 pixels would have the decoder clear half a
// gigabyte before it noticed the missing rows.
TEST(ImageDecode, HugeHeaderIsRefusedBeforeAnyPixelMemory) {
    const std::string png = pngClaiming(16385, 8192, 4);
    EXPECT_EXIT(
        {
            const long before = peakResidentKilobytes();
            CCDecodedImage image;
            const bool decoded =
                ccDecodeImage(reinterpret_cast<const unsigned char*>(png.data()), png.size(), true, &image);
            const long grownKilobytes = peakResidentKilobytes() - before;
            std::exit(!decoded && grownKilobytes < 64 * 1024 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SpriteRender, SpriteCoversItsRectangleAroundTheAnchor) {
    CCSprite* sprite = CCSprite::create(solidPng("red.png", 4, 4, {255, 0, 0, 255}).c_str());
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getContentSize(), CCSize(4, 4));
    EXPECT_EQ(sprite->getAnchorPoint(), CCPoint(0.5f, 0.5f));
    sprite->setPosition(CCPoint(20, 30));
    render({sprite});
    // Centre (20, 30), 4 x 4: pixels 18..21 by 28..31.
    EXPECT_PIXEL(pixel(18, 28), 255, 0, 0);
    EXPECT_PIXEL(pixel(21, 31), 255, 0, 0);
    EXPECT_PIXEL(pixel(17, 30), 0, 0, 0);
    EXPECT_PIXEL(pixel(22, 30), 0, 0, 0);
    EXPECT_PIXEL(pixel(20, 27), 0, 0, 0);
    EXPECT_PIXEL(pixel(20, 32), 0, 0, 0);
}

TEST_F(SpriteRender, ImageTopRowIsDrawnAtTheTopAndRotationIsClockwise) {
    kxtest::PixelImage image(4, 4, {0, 0, 255, 255});
    image.fillRect(0, 0, 4, 2, {255, 0, 0, 255}); // upper half red, lower half blue
    ASSERT_TRUE(image.savePng(folder.file("halves.png")));
    CCSprite* sprite = CCSprite::create(folder.file("halves.png").c_str());
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(CCPoint(50, 50));
    sprite->setScale(4); // 16 x 16 around (50, 50)
    render({sprite});
    EXPECT_PIXEL(pixel(50, 55), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 44), 0, 0, 255);

    // A quarter turn clockwise brings the upper half to the right.
    sprite->setRotation(90);
    render({sprite});
    EXPECT_PIXEL(pixel(55, 50), 255, 0, 0);
    EXPECT_PIXEL(pixel(44, 50), 0, 0, 255);

    sprite->setRotation(0);
    sprite->setFlipY(true);
    render({sprite});
    EXPECT_PIXEL(pixel(50, 55), 0, 0, 255);
    EXPECT_PIXEL(pixel(50, 44), 255, 0, 0);
}

TEST_F(SpriteRender, TintScalesTheColourChannels) {
    CCSprite* sprite = CCSprite::create(solidPng("white.png", 8, 8, {255, 255, 255, 255}).c_str());
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(CCPoint(50, 50));
    sprite->setColor(ccc3(128, 128, 128));
    render({sprite});
    EXPECT_PIXEL(pixel(50, 50), 128, 128, 128);

    sprite->setColor(ccc3(60, 255, 0));
    render({sprite});
    EXPECT_PIXEL(pixel(50, 50), 60, 255, 0);
}

TEST_F(SpriteRender, OpacityBlendsOverWhatIsBehind) {
    CCSprite* back = CCSprite::create(solidPng("white.png", 20, 20, {255, 255, 255, 255}).c_str());
    CCSprite* front = CCSprite::create(solidPng("red.png", 8, 8, {255, 0, 0, 255}).c_str());
    ASSERT_TRUE(back && front);
    back->setPosition(CCPoint(30, 30));
    front->setPosition(CCPoint(30, 30));
    front->setOpacity(128);
    EXPECT_EQ(front->getOpacity(), 128);
    render({back, front});
    // Premultiplied red at 128/255 over white: R = 128 + 255 * 127/255, G = B = 255 * 127/255.
    EXPECT_PIXEL(pixel(30, 30), 255, 127, 127);
    // Over black only the source remains.
    front->setPosition(CCPoint(70, 70));
    render({back, front});
    EXPECT_PIXEL(pixel(70, 70), 128, 0, 0);
}

TEST_F(SpriteRender, PngAlphaIsPremultipliedOnLoad) {
    CCSprite* back = CCSprite::create(solidPng("white.png", 20, 20, {255, 255, 255, 255}).c_str());
    CCSprite* glass = CCSprite::create(solidPng("glass.png", 8, 8, {255, 0, 0, 128}).c_str());
    ASSERT_TRUE(back && glass);
    EXPECT_TRUE(glass->getTexture()->hasPremultipliedAlpha());
    ccBlendFunc blend = glass->getBlendFunc();
    EXPECT_EQ(blend.src, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(blend.dst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    back->setPosition(CCPoint(30, 30));
    glass->setPosition(CCPoint(30, 30));
    render({back, glass});
    // Stored as (128, 0, 0, 128): over white (255, 127, 127). Over black only the stored colour
    // remains, which tells premultiplied (128) from straight (255) storage.
    EXPECT_PIXEL(pixel(30, 30), 255, 127, 127);
    glass->setPosition(CCPoint(70, 70));
    render({glass});
    EXPECT_PIXEL(pixel(70, 70), 128, 0, 0);
}

TEST_F(SpriteRender, Rgb5a1ColourSpriteReadsTwoBytesAsOnePixel) {
    const unsigned char white[4] = {255, 255, 255, 255};
    const unsigned char blackOpaque[4] = {0, 0, 0, 255};
    const unsigned char zero[4] = {0, 0, 0, 0};
    CCSprite* green = CCSprite::create(solidPng("green.png", 40, 40, {0, 255, 0, 255}).c_str());
    ASSERT_NE(green, nullptr);
    green->setPosition(CCPoint(50, 50));

    CCSprite* solid = colourSprite(white, 10, 10);
    EXPECT_EQ(solid->getContentSize(), CCSize(10, 10));
    solid->setPosition(CCPoint(50, 50));
    render({green, solid});
    EXPECT_PIXEL(pixel(50, 50), 255, 255, 255);
    EXPECT_PIXEL(pixel(54, 54), 255, 255, 255);
    EXPECT_PIXEL(pixel(56, 56), 0, 255, 0);

    // (0, 0, 0, 255) starts with two zero bytes: alpha bit 0, so nothing shows.
    CCSprite* clear = colourSprite(blackOpaque, 10, 10);
    clear->setPosition(CCPoint(50, 50));
    render({green, clear});
    EXPECT_PIXEL(pixel(50, 50), 0, 255, 0);

    CCSprite* none = colourSprite(zero, 10, 10);
    none->setPosition(CCPoint(50, 50));
    render({green, none});
    EXPECT_PIXEL(pixel(50, 50), 0, 255, 0);
}

TEST_F(SpriteRender, TextureRectShowsPartOfTheImage) {
    kxtest::PixelImage image(8, 4, {255, 0, 0, 255});
    image.fillRect(4, 0, 4, 4, {0, 0, 255, 255}); // right half blue
    ASSERT_TRUE(image.savePng(folder.file("two.png")));
    CCSprite* sprite = CCSprite::create(folder.file("two.png").c_str(), CCRect(4, 0, 4, 4));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getContentSize(), CCSize(4, 4));
    sprite->setPosition(CCPoint(10, 10));
    sprite->setScale(2);
    render({sprite});
    EXPECT_PIXEL(pixel(7, 7), 0, 0, 255);
    EXPECT_PIXEL(pixel(12, 12), 0, 0, 255);
    EXPECT_GT(g_uNumberOfDraws, 0u);
}

TEST_F(SpriteRender, MissingImageGivesNoSprite) {
    EXPECT_EQ(CCSprite::create(folder.file("absent.png").c_str()), nullptr);
    folder.write("broken.png", "\x89PNG\r\n\x1a\n not really");
    EXPECT_EQ(CCSprite::create(folder.file("broken.png").c_str()), nullptr);
    EXPECT_EQ(CCSprite::createWithSpriteFrameName("no such frame"), nullptr);
}

TEST_F(SpriteRender, MenuItemSpriteDrawsOnlyTheImageOfItsState) {
    CCSprite* normal = CCSprite::create(solidPng("red.png", 10, 10, {255, 0, 0, 255}).c_str());
    CCSprite* selected = CCSprite::create(solidPng("blue.png", 10, 10, {0, 0, 255, 255}).c_str());
    CCSprite* disabled = CCSprite::create(solidPng("grey.png", 10, 10, {255, 255, 255, 255}).c_str());
    ASSERT_TRUE(normal && selected && disabled);
    disabled->setColor(ccc3(60, 60, 60));
    CCMenuItemSprite* item = CCMenuItemSprite::create(normal, selected, disabled);
    ASSERT_NE(item, nullptr);
    item->setPosition(CCPoint(50, 50));
    render({item});
    EXPECT_PIXEL(pixel(50, 50), 255, 0, 0);
    item->selected();
    render({item});
    EXPECT_PIXEL(pixel(50, 50), 0, 0, 255);
    item->unselected();
    item->setEnabled(false);
    render({item});
    EXPECT_PIXEL(pixel(50, 50), 60, 60, 60);
    item->setEnabled(true);
    item->setOpacity(128); // forwarded to the images
    render({item});
    EXPECT_PIXEL(pixel(50, 50), 128, 0, 0);
}
