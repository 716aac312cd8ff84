// Bitmap-font labels: the .fnt reader, layout (kerning, tracking, lines, alignment), glyph
// pixels, opacity on every glyph, and labels being no sprites.
#include "support/render_test_support.h"

using namespace cocos2d;
using kxtest::Rgba;

namespace {

// 'A' 4x6 at (0,0), 'B' 4x6 at (8,0) on a 32x8 white-on-transparent page; space has no image.
const char* kFont = "info face=\"Test Face\" size=8 bold=0\n"
                    "common lineHeight=8 base=6 scaleW=32 scaleH=8 pages=1 packed=0\n"
                    "page id=0 file=\"font page.png\"\n"
                    "chars count=3\n"
                    "char id=65   x=0  y=0 width=4 height=6 xoffset=0 yoffset=1 xadvance=5 page=0 chnl=15\n"
                    "char id=66   x=8  y=0 width=4 height=6 xoffset=1 yoffset=1 xadvance=6 page=0 chnl=15\n"
                    "char id=32   x=0  y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=3 page=0 chnl=15\n"
                    "kernings count=1\n"
                    "kerning first=65 second=66 amount=-1\n";

class LabelTest : public kxtest::RenderTest {
protected:
    std::string fnt;

    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped())
            return;
        kxtest::PixelImage page(32, 8);
        page.fillRect(0, 0, 4, 6, {255, 255, 255, 255});
        page.fillRect(8, 0, 4, 6, {255, 255, 255, 255});
        ASSERT_TRUE(page.savePng(folder.file("font page.png")));
        folder.write("test.fnt", kFont);
        fnt = folder.file("test.fnt");
    }
    void TearDown() override {
        CCLabelBMFont::purgeCachedData();
        kxtest::RenderTest::TearDown();
    }
    CCLabelBMFont* label(const char* text) {
        CCLabelBMFont* l = CCLabelBMFont::create(text, fnt.c_str(), kCCLabelAutomaticWidth,
                                                 kCCTextAlignmentLeft, CCPointZero);
        EXPECT_NE(l, nullptr);
        return l;
    }
};

} // namespace

TEST(BMFontParser, ReadsCommonPagesGlyphsAndKerning) {
    CCBMFontData font;
    ASSERT_TRUE(ccParseBMFont(kFont, &font));
    EXPECT_EQ(font.lineHeight, 8);
    EXPECT_EQ(font.base, 6);
    EXPECT_EQ(font.scaleW, 32);
    ASSERT_EQ(font.pages.size(), 1u);
    EXPECT_EQ(font.pages.at(0), "font page.png");
    ASSERT_EQ(font.glyphs.size(), 3u);
    const CCBMFontGlyph& b = font.glyphs.at(66);
    EXPECT_EQ(b.rect, CCRect(8, 0, 4, 6));
    EXPECT_EQ(b.xOffset, 1);
    EXPECT_EQ(b.yOffset, 1);
    EXPECT_EQ(b.xAdvance, 6);
    EXPECT_EQ(font.kerningAmount(65, 66), -1);
    EXPECT_EQ(font.kerningAmount(66, 65), 0);
}

TEST(BMFontParser, RejectsOrDropsBadInput) {
    CCBMFontData font;
    EXPECT_FALSE(ccParseBMFont("", &font));
    EXPECT_FALSE(ccParseBMFont("page id=0 file=\"a.png\"\n", &font));                        // no common line
    EXPECT_FALSE(ccParseBMFont("common lineHeight=8 base=6\n", &font));                      // no page
    EXPECT_FALSE(ccParseBMFont("common lineHeight=8\npage id=999 file=\"a.png\"\n", &font)); // absurd page id
    ASSERT_TRUE(ccParseBMFont("common lineHeight=8\r\npage id=0 file=\"a.png\r\n"
                              "char id=-5 width=1 height=1\nchar id=99999999 width=1\n"
                              "char id=70 width=-3 height=2\nchar id=71 x=zz width=2 height=2 page=3\n"
                              "garbage line = = =\nchar\n",
                              &font));
    EXPECT_EQ(font.pages.at(0), "a.png\r"); // unterminated quote: the rest of the line
    ASSERT_EQ(font.glyphs.size(), 1u);      // only 'G' survives, with x read as 0
    EXPECT_EQ(font.glyphs.at(71).rect.origin.x, 0.f);
    EXPECT_EQ(font.glyphs.at(71).page, 3);
}

TEST_F(LabelTest, ContentSizeWithKerningTrackingAndLines) {
    CCLabelBMFont* l = label("AB");
    ASSERT_NE(l, nullptr);
    // 5 + (-1) + 6 = 10 wide, one line of 8.
    EXPECT_EQ(l->getContentSize(), CCSize(10, 8));
    l->setTracking(2);
    EXPECT_EQ(l->getContentSize(), CCSize(12, 8)); // tracking once, between the two characters
    l->setString("AB\nA B");
    // Lines: 10 + 2 = 12 and 5 + 3 + 6 + 2 * 2 = 18.
    EXPECT_EQ(l->getContentSize(), CCSize(18, 16));
    l->setTracking(0);
    l->setString("");
    EXPECT_EQ(l->getContentSize(), CCSize(0, 0));
    l->setString("A\xC3\xA9?A"); // characters the font lacks take no room
    EXPECT_EQ(l->getContentSize(), CCSize(10, 8));
    EXPECT_STREQ(l->getString(), "A\xC3\xA9?A");
    EXPECT_EQ(l->getAnchorPoint(), CCPoint(0.5f, 0.5f));
}

TEST_F(LabelTest, GlyphsAreDrawnWithOffsetsAndKerning) {
    CCLabelBMFont* l = label("AB");
    ASSERT_NE(l, nullptr);
    l->setAnchorPoint(CCPointZero);
    l->setPosition(CCPoint(20, 20));
    render({l});
    // 'A': x 20..23, y from 8 - 1 - 6 = 1 to 7: pixels 21..26. 'B': x 5 - 1 + 1 = 5: 25..28.
    EXPECT_PIXEL(pixel(20, 21), 255, 255, 255);
    EXPECT_PIXEL(pixel(23, 26), 255, 255, 255);
    EXPECT_PIXEL(pixel(24, 23), 0, 0, 0);
    EXPECT_PIXEL(pixel(25, 21), 255, 255, 255);
    EXPECT_PIXEL(pixel(28, 26), 255, 255, 255);
    EXPECT_PIXEL(pixel(29, 23), 0, 0, 0);
    EXPECT_PIXEL(pixel(21, 20), 0, 0, 0);
    EXPECT_PIXEL(pixel(21, 27), 0, 0, 0);
}

TEST_F(LabelTest, RightAlignmentAndSecondLine) {
    CCLabelBMFont* l = label("AB\nA");
    ASSERT_NE(l, nullptr);
    l->setAlignment(kCCTextAlignmentRight);
    l->setAnchorPoint(CCPointZero);
    l->setPosition(CCPoint(20, 20));
    render({l});
    // Second line (bottom) moves right by 10 - 5: its 'A' covers x 25..28, y 21..26.
    EXPECT_PIXEL(pixel(25, 21), 255, 255, 255);
    EXPECT_PIXEL(pixel(21, 23), 0, 0, 0);
    // First line: y 29..34.
    EXPECT_PIXEL(pixel(20, 29), 255, 255, 255);
    EXPECT_PIXEL(pixel(20, 34), 255, 255, 255);
}

TEST_F(LabelTest, OpacityAndColourReachEveryGlyph) {
    CCLabelBMFont* l = label("AB");
    ASSERT_NE(l, nullptr);
    l->setAnchorPoint(CCPointZero);
    l->setPosition(CCPoint(20, 20));
    l->setOpacity(128);
    EXPECT_EQ(l->getOpacity(), 128);
    render({l});
    EXPECT_PIXEL(pixel(21, 22), 128, 128, 128);
    EXPECT_PIXEL(pixel(26, 22), 128, 128, 128);
    l->setOpacity(255);
    l->setColor(ccc3(255, 0, 0));
    render({l});
    EXPECT_PIXEL(pixel(21, 22), 255, 0, 0);
    EXPECT_PIXEL(pixel(26, 22), 255, 0, 0);
}

TEST_F(LabelTest, LabelIsNotASprite) {
    CCLabelBMFont* l = label("AB");
    ASSERT_NE(l, nullptr);
    CCNode* asNode = l;
    EXPECT_EQ(dynamic_cast<CCSprite*>(asNode), nullptr);
    EXPECT_NE(dynamic_cast<CCRGBAProtocol*>(asNode), nullptr);
    EXPECT_EQ(l->getChildrenCount(), 0u);
}

TEST_F(LabelTest, TheDirectorsPurgeReleasesTheCachedFontDescriptions) {
    CCBMFontConfiguration* config = FNTConfigLoadFile(fnt.c_str());
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(FNTConfigLoadFile(fnt.c_str()), config);
    config->retain();
    CCLabelBMFont* shown = label("AB");
    ASSERT_NE(shown, nullptr);
    shown->retain();
    CCDirector::sharedDirector()->purgeDirector();
    // The label keeps its own reference; the cache's is gone and the next load reads anew.
    EXPECT_EQ(config->retainCount(), 2u);
    shown->release();
    EXPECT_EQ(config->retainCount(), 1u);
    CCBMFontConfiguration* again = FNTConfigLoadFile(fnt.c_str());
    EXPECT_NE(again, config);
    EXPECT_EQ(again->data().lineHeight, config->data().lineHeight);
    config->release();
}

TEST_F(LabelTest, MissingFontOrPageFails) {
    EXPECT_EQ(CCLabelBMFont::create("0", folder.file("absent.fnt").c_str()), nullptr);
    folder.write("nopage.fnt", "common lineHeight=8\npage id=0 file=\"missing.png\"\n");
    EXPECT_EQ(CCLabelBMFont::create("0", folder.file("nopage.fnt").c_str()), nullptr);
    folder.write("junk.fnt", std::string("\0\xff\x01 common", 10));
    EXPECT_EQ(CCLabelBMFont::create("0", folder.file("junk.fnt").c_str()), nullptr);
    // The cached configuration is shared by labels of the same file.
    CCLabelBMFont* a = label("A");
    CCLabelBMFont* b = label("B");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->getConfiguration(), b->getConfiguration());
}
