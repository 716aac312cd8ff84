// Sprite-frame atlases: plist formats 0 to 3 read into frames, trimmed and rotated frames
// drawn at the right place, the texture found next to the plist, and bad plists skipped.
#include "support/render_test_support.h"

using namespace cocos2d;
using kxtest::Rgba;

namespace {

const Rgba kRed = {255, 0, 0, 255};
const Rgba kGreen = {0, 255, 0, 255};
const Rgba kBlue = {0, 0, 255, 255};
const Rgba kYellow = {255, 255, 0, 255};

std::string plist(const std::string& frames, const std::string& metadata) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
           "version=\"1.0\"><dict>\n<key>frames</key><dict>" +
           frames + "</dict>\n<key>metadata</key><dict>" + metadata + "</dict></dict></plist>\n";
}

class AtlasTest : public kxtest::RenderTest {
protected:
    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped())
            return;
        CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
        // 16 x 16 atlas: a red 4x2 frame at (0,0); a 4x2 frame stored rotated at (8,0) whose
        // left half is green and right half blue; a yellow 4x2 frame at (0,4).
        kxtest::PixelImage atlas(16, 16);
        atlas.fillRect(0, 0, 4, 2, kRed);
        atlas.fillRect(8, 0, 2, 2, kGreen); // turned clockwise: the frame's left half is on top
        atlas.fillRect(8, 2, 2, 2, kBlue);
        atlas.fillRect(0, 4, 4, 2, kYellow);
        ASSERT_TRUE(atlas.savePng(folder.file("sheet.png")));
    }
    void TearDown() override {
        CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
        kxtest::RenderTest::TearDown();
    }
};

} // namespace

TEST_F(AtlasTest, Format2TrimmedFrameIsOffsetInsideItsOriginalSize) {
    folder.write(
        "a.plist",
        plist("<key>trim</key><dict><key>frame</key><string>{{0,0},{4,2}}</string>"
              "<key>offset</key><string>{1,-1}</string><key>rotated</key><false/>"
              "<key>sourceSize</key><string>{8,6}</string></dict>",
              "<key>format</key><integer>2</integer><key>textureFileName</key><string>sheet.png</string>"));
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(folder.file("a.plist").c_str());
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("trim");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getRect(), CCRect(0, 0, 4, 2));
    EXPECT_EQ(frame->getOffset(), CCPoint(1, -1));
    EXPECT_EQ(frame->getOriginalSize(), CCSize(8, 6));

    CCSprite* sprite = CCSprite::createWithSpriteFrameName("trim");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getContentSize(), CCSize(8, 6));
    sprite->setPosition(CCPoint(50, 50));
    render({sprite});
    // Node origin (46, 47); quad at (1 + 2, -1 + 2) = (3, 1) size 4 x 2: pixels x 49..52, y 48..49.
    EXPECT_PIXEL(pixel(49, 48), 255, 0, 0);
    EXPECT_PIXEL(pixel(52, 49), 255, 0, 0);
    EXPECT_PIXEL(pixel(48, 48), 0, 0, 0);
    EXPECT_PIXEL(pixel(53, 49), 0, 0, 0);
    EXPECT_PIXEL(pixel(50, 50), 0, 0, 0);
    EXPECT_PIXEL(pixel(50, 47), 0, 0, 0);
}

TEST_F(AtlasTest, Format2RotatedFrameIsTurnedBack) {
    folder.write(
        "b.plist",
        plist("<key>turned</key><dict><key>frame</key><string>{{8,0},{4,2}}</string>"
              "<key>offset</key><string>{0,0}</string><key>rotated</key><true/>"
              "<key>sourceSize</key><string>{4,2}</string></dict>",
              "<key>format</key><integer>2</integer><key>textureFileName</key><string>sheet.png</string>"));
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(folder.file("b.plist").c_str());
    CCSprite* sprite = CCSprite::createWithSpriteFrameName("turned");
    ASSERT_NE(sprite, nullptr);
    EXPECT_TRUE(sprite->isTextureRectRotated());
    EXPECT_EQ(sprite->getContentSize(), CCSize(4, 2));
    sprite->setPosition(CCPoint(30, 70));
    render({sprite});
    // Covers x 28..31, y 69..70: green on the left, blue on the right.
    EXPECT_PIXEL(pixel(28, 69), 0, 255, 0);
    EXPECT_PIXEL(pixel(29, 70), 0, 255, 0);
    EXPECT_PIXEL(pixel(30, 69), 0, 0, 255);
    EXPECT_PIXEL(pixel(31, 70), 0, 0, 255);
    EXPECT_PIXEL(pixel(32, 69), 0, 0, 0);
}

TEST_F(AtlasTest, Format3FramesWithAliases) {
    folder.write(
        "c.plist",
        plist("<key>three</key><dict><key>aliases</key><array><string>other name</string></array>"
              "<key>spriteOffset</key><string>{-1,1}</string><key>spriteSize</key><string>{4,2}</string>"
              "<key>spriteSourceSize</key><string>{6,4}</string>"
              "<key>textureRect</key><string>{{0,4},{4,2}}</string><key>textureRotated</key><false/></dict>",
              "<key>format</key><integer>3</integer><key>textureFileName</key><string>sheet.png</string>"));
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    cache->addSpriteFramesWithFile(folder.file("c.plist").c_str());
    ASSERT_NE(cache->spriteFrameByName("three"), nullptr);
    EXPECT_EQ(cache->spriteFrameByName("other name"), cache->spriteFrameByName("three"));
    CCSprite* sprite = CCSprite::createWithSpriteFrameName("three");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getContentSize(), CCSize(6, 4));
    sprite->setPosition(CCPoint(70, 20));
    render({sprite});
    // Origin (67, 18); quad at (-1 + 1, 1 + 1) = (0, 2) size 4 x 2: x 67..70, y 20..21.
    EXPECT_PIXEL(pixel(67, 20), 255, 255, 0);
    EXPECT_PIXEL(pixel(70, 21), 255, 255, 0);
    EXPECT_PIXEL(pixel(71, 20), 0, 0, 0);
    EXPECT_PIXEL(pixel(67, 19), 0, 0, 0);
    EXPECT_PIXEL(pixel(67, 22), 0, 0, 0);
}

TEST_F(AtlasTest, Formats0And1AreRead) {
    folder.write("zero.plist",
                 plist("<key>old</key><dict><key>x</key><integer>8</integer><key>y</key><integer>0</integer>"
                       "<key>width</key><integer>2</integer><key>height</key><integer>4</integer>"
                       "<key>offsetX</key><real>0.5</real><key>offsetY</key><real>-1.5</real>"
                       "<key>originalWidth</key><integer>-6</integer><key>originalHeight</key><integer>8</"
                       "integer></dict>",
                       "<key>format</key><integer>0</integer>"));
    folder.write(
        "one.plist",
        plist("<key>v1</key><dict><key>frame</key><string>{{1,2},{3,4}}</string>"
              "<key>offset</key><string>{0,0}</string><key>sourceSize</key><string>{3,4}</string></dict>",
              "<key>format</key><integer>1</integer><key>textureFileName</key><string>sheet.png</string>"));
    folder.write("zero.png", folder.read("sheet.png")); // no textureFileName: plist name with .png
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    cache->addSpriteFramesWithFile(folder.file("zero.plist").c_str());
    cache->addSpriteFramesWithFile(folder.file("one.plist").c_str());
    CCSpriteFrame* old = cache->spriteFrameByName("old");
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->getRect(), CCRect(8, 0, 2, 4));
    EXPECT_EQ(old->getOffset(), CCPoint(0.5f, -1.5f));
    EXPECT_EQ(old->getOriginalSize(), CCSize(6, 8));
    EXPECT_EQ(old->getTexture(),
              CCTextureCache::sharedTextureCache()->textureForKey(folder.file("zero.png").c_str()));
    CCSpriteFrame* v1 = cache->spriteFrameByName("v1");
    ASSERT_NE(v1, nullptr);
    EXPECT_EQ(v1->getRect(), CCRect(1, 2, 3, 4));
    EXPECT_FALSE(v1->isRotated());
}

TEST_F(AtlasTest, BadPlistsAreSkippedWithoutFrames) {
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    folder.write("garbage.plist", "<plist><dict><key>frames</key><dict><key>x</key>"); // truncated XML
    std::string deep = "<plist><dict><key>frames</key>";
    for (int i = 0; i < 100000; ++i)
        deep += "<array>";
    for (int i = 0; i < 100000; ++i)
        deep += "</array>";
    folder.write("deep.plist", deep + "</dict></plist>"); // nesting far beyond any atlas
    folder.write(
        "notex.plist",
        plist("<key>f</key><dict><key>frame</key><string>{{0,0},{1,1}}</string></dict>",
              "<key>format</key><integer>2</integer><key>textureFileName</key><string>none.png</string>"));
    folder.write(
        "future.plist",
        plist("<key>g</key><dict><key>frame</key><string>{{0,0},{1,1}}</string></dict>",
              "<key>format</key><integer>9</integer><key>textureFileName</key><string>sheet.png</string>"));
    folder.write(
        "nan.plist",
        plist("<key>h</key><dict><key>frame</key><string>{{0,0},{1e30,1}}</string></dict>",
              "<key>format</key><integer>2</integer><key>textureFileName</key><string>sheet.png</string>"));
    for (const char* name :
         {"garbage.plist", "deep.plist", "notex.plist", "future.plist", "nan.plist", "absent.plist"})
        cache->addSpriteFramesWithFile(folder.file(name).c_str());
    EXPECT_EQ(cache->count(), 0u);
    EXPECT_EQ(cache->spriteFrameByName("f"), nullptr);
    EXPECT_EQ(CCSprite::createWithSpriteFrameName("g"), nullptr);
}

TEST_F(AtlasTest, RemovingFramesOfAFile) {
    folder.write(
        "a.plist",
        plist("<key>p</key><dict><key>frame</key><string>{{0,0},{4,2}}</string></dict>"
              "<key>q</key><dict><key>frame</key><string>{{0,4},{4,2}}</string></dict>",
              "<key>format</key><integer>2</integer><key>textureFileName</key><string>sheet.png</string>"));
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    cache->addSpriteFramesWithFile(folder.file("a.plist").c_str());
    ASSERT_EQ(cache->count(), 2u);
    // Untrimmed frames without sourceSize keep their own size.
    EXPECT_EQ(cache->spriteFrameByName("q")->getOriginalSize(), CCSize(4, 2));
    cache->removeSpriteFramesFromFile(folder.file("a.plist").c_str());
    EXPECT_EQ(cache->count(), 0u);
    // The same file can then be loaded again.
    cache->addSpriteFramesWithFile(folder.file("a.plist").c_str());
    EXPECT_EQ(cache->count(), 2u);
}
