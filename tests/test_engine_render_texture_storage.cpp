// A drawn picture's storage goes with its texture. Where the driver keeps textures in the process's
// own memory (llvmpipe: the offscreen drawing and Xvfb), the allocator's count of bytes in use shows
// it: the texels are freed as the texture is released, not after some later draw, by which time a
// screen change has decoded the next screen's pictures beside them.
#include <GL/glew.h>

#include <cstdint>
#include <cstring>
#include <string>

#ifdef __SANITIZE_ADDRESS__
// The sanitizer's runtime has it; its header is not always installed.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "support/png_bytes.h"
#include "support/render_test_support.h"

using namespace cocos2d;
using namespace kxtest;

namespace {

// Bytes the process's allocator counts as in use (freed ones kept back by a sanitizer not counted).
size_t bytesInUse() {
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

class TextureStorageRender : public RenderTest {
protected:
    bool drawnByLlvmpipe() {
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        return renderer != nullptr && std::strstr(renderer, "llvmpipe") != nullptr;
    }
};

} // namespace

TEST_F(TextureStorageRender, ADrawnPicturesStorageGoesWithItsTexture) {
    if (!drawnByLlvmpipe())
        GTEST_SKIP() << "the driver keeps its textures elsewhere";
    // 2048 x 2048 white: 16 MiB of texels, in a PNG of a few kilobytes.
    constexpr uint32_t kSide = 2048;
    constexpr size_t kTexels = size_t(kSide) * kSide * 4;
    folder.write("white.png", pngFile(kSide, kSide, 1, kPngGrey, pngSameRows(kSide / 8, kSide, '\xff')));
    CCTexture2D* texture = new CCTexture2D();
    ASSERT_TRUE(texture->initWithImageFile(folder.file("white.png").c_str()));
    CCSprite* sprite = new CCSprite();
    ASSERT_TRUE(sprite->initWithTexture(texture));
    sprite->setPosition(CCPoint(50, 50));
    render({sprite});
    EXPECT_PIXEL(pixel(50, 50), 255, 255, 255);

    const long long held = static_cast<long long>(bytesInUse());
    texture->release();
    sprite->release(); // and with it the texture
    // The texels, give or take what the release itself allocates.
    const long long freed = held - static_cast<long long>(bytesInUse());
    EXPECT_GE(freed, static_cast<long long>(kTexels - kTexels / 16))
        << "the driver still holds the picture's texels";

    // Drawing goes on as before.
    CCSprite* red = CCSprite::create(solidPng("red.png", 4, 4, {255, 0, 0, 255}).c_str());
    ASSERT_NE(red, nullptr);
    red->setPosition(CCPoint(20, 30));
    render({red});
    EXPECT_PIXEL(pixel(20, 30), 255, 0, 0);
    EXPECT_PIXEL(pixel(50, 50), 0, 0, 0);
}

// Frames drawn one after another through the view, as the director draws them. llvmpipe keeps what
// each queued frame drew until it reuses that frame's slot, and the release reuses only one: the
// view waits on each frame, so no more than one is ever queued.
TEST_F(TextureStorageRender, APictureDrawnFrameAfterFrameGoesWithItsTexture) {
    if (!drawnByLlvmpipe())
        GTEST_SKIP() << "the driver keeps its textures elsewhere";
    constexpr uint32_t kSide = 2048;
    constexpr size_t kTexels = size_t(kSide) * kSide * 4;
    folder.write("white.png", pngFile(kSide, kSide, 1, kPngGrey, pngSameRows(kSide / 8, kSide, '\xff')));
    CCTexture2D* texture = new CCTexture2D();
    ASSERT_TRUE(texture->initWithImageFile(folder.file("white.png").c_str()));
    // Layers of the whole picture over the whole frame: each frame takes the driver far longer to
    // fill than to send, so unwaited frames pile up.
    CCNode* layers = new CCNode();
    for (int layer = 0; layer < 64; ++layer) {
        CCSprite* sprite = new CCSprite();
        ASSERT_TRUE(sprite->initWithTexture(texture));
        sprite->setScale(static_cast<float>(kWidth) / kSide);
        sprite->setPosition(CCPoint(kWidth / 2.f, kHeight / 2.f));
        layers->addChild(sprite);
        sprite->release();
    }
    texture->release();
    for (int frame = 0; frame < 30; ++frame) {
        view->beginFrame();
        CCDirector::sharedDirector()->setProjection2D();
        layers->visit();
        view->swapBuffers();
    }
    glFinish();

    const long long held = static_cast<long long>(bytesInUse());
    layers->release(); // and with its sprites the texture
    const long long freed = held - static_cast<long long>(bytesInUse());
    EXPECT_GE(freed, static_cast<long long>(kTexels - kTexels / 16))
        << "frames drawn before still hold the picture's texels";
}
