// The headless view (no GL) and the texture cache: scenes still run and lay out, textures
// still know their sizes, and nothing touches GL.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdio>

#include "cocos2d.h"
#include "support/state_guards.h"
#include "support/temp_folder.h"

using namespace cocos2d;

namespace {

bool writePng(const std::string& path, int w, int h) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return false;
    SDL_FillRect(surface, nullptr, 0xffffffffu);
    const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

class HeadlessTest : public ::testing::Test {
protected:
    TempFolder folder;
    CCEGLView* view = nullptr;
    void SetUp() override {
        view = CCEGLView::createHeadless(320, 240);
        CCDirector::sharedDirector()->setOpenGLView(view);
        // Programs linked under an earlier test's GL context stay cached after it, and so do
        // the textures of suites that leave them in the cache.
        CCShaderCache::purgeSharedShaderCache();
        CCTextureCache::sharedTextureCache()->removeAllTextures();
    }
    void TearDown() override {
        CCTextureCache::sharedTextureCache()->removeAllTextures();
        CCDirector::sharedDirector()->purgeDirector();
        CCPoolManager::sharedPoolManager()->pop();
        CCEGLView::purgeSharedOpenGLView();
    }
};

class Counting : public CCNode {
public:
    int draws = 0;
    void draw() override { ++draws; }
};

} // namespace

TEST_F(HeadlessTest, ViewHasNoGLAndTheDirectorSkipsDrawing) {
    EXPECT_EQ(view->getBackend(), CCEGLView::kBackendHeadless);
    EXPECT_FALSE(view->isOpenGLReady());
    EXPECT_FALSE(view->renderingEnabled());
    EXPECT_FALSE(ccGLContextReady());
    EXPECT_EQ(view->getFrameSize(), CCSize(320, 240));
    EXPECT_EQ(view->getHWnd(), 0u);
    EXPECT_TRUE(view->pollEvents());

    CCScene* scene = CCScene::create();
    Counting* node = new Counting();
    scene->addChild(node);
    node->release();
    CCDirector::sharedDirector()->runWithScene(scene);
    CCDirector::sharedDirector()->runFrames(3);
    EXPECT_EQ(CCDirector::sharedDirector()->getRunningScene(), scene);
    EXPECT_EQ(node->draws, 0);

    std::vector<unsigned char> pixels;
    EXPECT_FALSE(ccReadPixels(0, 0, 1, 1, &pixels));
    EXPECT_EQ(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor), nullptr);
    EXPECT_FALSE(ccSaveScreenshot(folder.file("none.png")));
}

TEST_F(HeadlessTest, AHeadlessRequestGoesWithThePurgedView) {
    CCEGLView::purgeSharedOpenGLView();
    kxtest::ScopedEnvironment driver("SDL_VIDEODRIVER");
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    // Not the 320 x 240 asked for the purged view: the default size of a view nobody asked for.
    EXPECT_EQ(CCEGLView::sharedOpenGLView()->getFrameSize(), CCSize(960, 640));
}

TEST_F(HeadlessTest, TexturesKnowTheirSizesWithoutGL) {
    ASSERT_TRUE(writePng(folder.file("wide.png"), 12, 5));
    CCSprite* sprite = CCSprite::create(folder.file("wide.png").c_str());
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getContentSize(), CCSize(12, 5));
    EXPECT_EQ(sprite->getTexture()->getName(), 0u);
    EXPECT_EQ(sprite->getTexture()->getPixelsWide(), 12u);
    sprite->visit(); // no GL: nothing happens

    CCRenderTexture* target = CCRenderTexture::create(16, 8);
    ASSERT_NE(target, nullptr);
    target->beginWithClear(0, 0, 0, 0);
    target->end();
    EXPECT_EQ(kmGLStackDepth(KM_GL_PROJECTION), 1);
    EXPECT_EQ(target->getSprite()->getContentSize(), CCSize(16, 8));
}

TEST_F(HeadlessTest, InitWithDataChecksFormatAndSize) {
    const unsigned char bytes[16] = {};
    CCTexture2D* texture = new CCTexture2D();
    EXPECT_FALSE(texture->initWithData(nullptr, kCCTexture2DPixelFormat_RGBA8888, 1, 1, CCSize(1, 1)));
    EXPECT_FALSE(texture->initWithData(bytes, kCCTexture2DPixelFormat_PVRTC4, 2, 2, CCSize(2, 2)));
    EXPECT_FALSE(texture->initWithData(bytes, kCCTexture2DPixelFormat_RGBA8888, 0, 1, CCSize(0, 1)));
    EXPECT_FALSE(texture->initWithData(bytes, static_cast<CCTexture2DPixelFormat>(42), 1, 1, CCSize(1, 1)));
    ASSERT_TRUE(texture->initWithData(bytes, static_cast<CCTexture2DPixelFormat>(7), 2, 2, CCSize(2, 2)));
    EXPECT_EQ(texture->getPixelFormat(), kCCTexture2DPixelFormat_RGB5A1);
    EXPECT_EQ(texture->bitsPerPixelForFormat(), 16u);
    EXPECT_FALSE(texture->hasPremultipliedAlpha());
    EXPECT_EQ(texture->getContentSize(), CCSize(2, 2));
    texture->release();
}

TEST_F(HeadlessTest, TextureCacheKeysByResolvedPath) {
    ASSERT_TRUE(writePng(folder.file("pic.png"), 4, 4));
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    CCFileUtils::sharedFileUtils()->addSearchPath(folder.path().c_str());
    CCTexture2D* byName = cache->addImage("pic.png");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(cache->addImage(folder.file("pic.png").c_str()), byName);
    EXPECT_EQ(cache->textureForKey("pic.png"), byName);
    EXPECT_EQ(cache->textureForKey(folder.file("pic.png").c_str()), byName);
    EXPECT_EQ(cache->count(), 1u);

    // Once cached, the file is not needed again.
    std::remove(folder.file("pic.png").c_str());
    EXPECT_EQ(cache->addImage("pic.png"), byName);

    EXPECT_EQ(cache->addImage("absent.png"), nullptr);
    EXPECT_EQ(cache->textureForKey("absent.png"), nullptr);
    EXPECT_EQ(cache->addImage(""), nullptr);
    EXPECT_EQ(cache->addImage(nullptr), nullptr);

    byName->retain();
    cache->removeUnusedTextures();
    EXPECT_EQ(cache->count(), 1u);
    byName->release();
    cache->removeUnusedTextures();
    EXPECT_EQ(cache->count(), 0u);
    EXPECT_EQ(cache->textureForKey("pic.png"), nullptr);
    CCFileUtils::sharedFileUtils()->setSearchPaths({});
}
