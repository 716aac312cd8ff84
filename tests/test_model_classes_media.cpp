// Media models: sprite, sound, font and atlas paths named after ids; textures found through
// the file utilities (the effect image first); sprite containers' running sprites, frames and
// frame sizes; animations' and atlases' child lists; bitmap-font labels.

#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelSound.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/temp_folder.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <sys/stat.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

using namespace cocos2d;

// Counts the allocations of the whole program, for the lookups that run every frame. Every
// suite of the layer runs with these, so each plain `new` and `delete` form is replaced (the
// nothrow ones too, which a sanitizer would otherwise pair with this `free`).
static std::atomic<long> allocationCount{0};

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
// Kept out of line so that the compiler does not pair a `new` it sees with this `free`.
[[gnu::noinline]] static void releaseMemory(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory) noexcept {
    releaseMemory(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    releaseMemory(memory);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocationCount;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    releaseMemory(memory);
}

namespace {

// A class derived from the sprite model: the sprite lists take exactly KXModelSprite only.
class DerivedSprite : public KXModelSprite {
    KX_MODEL_IDENTITY(DerivedSprite, KXModelSprite)
    KX_MODEL_CLONE(DerivedSprite)

public:
    DerivedSprite() : KXModelSprite("derived") {}
    DerivedSprite(const DerivedSprite& source) : KXModelSprite(source) {}
};

// Each test: an empty store, a headless director (sprites run actions), empty texture and
// frame caches, and a temporary game folder that relative "data/..." paths resolve into.
class MediaModels : public kxtest::SceneTest {
protected:
    TempFolder folder;
    std::vector<std::string> savedSearchPaths;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        resetModelCore();
        purgeCaches();
        for (const char* sub : {"data", "data/images", "data/effects", "data/fonts", "data/atlases"}) {
            ::mkdir(folder.file(sub).c_str(), 0755);
        }
        savedSearchPaths = CCFileUtils::sharedFileUtils()->getSearchPaths();
        CCFileUtils::sharedFileUtils()->setSearchPaths({folder.path()});
    }

    void TearDown() override {
        CCFileUtils::sharedFileUtils()->setSearchPaths(savedSearchPaths);
        purgeCaches();
        resetModelCore();
        kxtest::SceneTest::TearDown();
    }

    static void purgeCaches() {
        CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        CCTextureCache::purgeSharedTextureCache();
        CCLabelBMFont::purgeCachedData();
    }

    // An opaque red PNG of that size.
    void writePng(const std::string& relativePath, int width, int height) const {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
        ASSERT_NE(surface, nullptr);
        SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 200, 40, 40, 255));
        EXPECT_EQ(IMG_SavePNG(surface, folder.file(relativePath).c_str()), 0);
        SDL_FreeSurface(surface);
    }

    static std::shared_ptr<KXModelSprite> sprite(float width = 0, float height = 0) {
        auto model = std::static_pointer_cast<KXModelSprite>(KXModelSprite::create());
        model->sizeAttribute()->setValue(CCSize(width, height), true);
        return model;
    }

    // Puts a frame named after the sprite into the frame cache, cut from a small texture.
    static void cacheFrame(const KXModelSprite& model) {
        static const unsigned char pixels[4 * 4 * 4] = {};
        CCTexture2D* texture = new CCTexture2D();
        texture->initWithData(pixels, kCCTexture2DPixelFormat_RGBA8888, 4, 4, CCSize(4, 4));
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFrame(
            CCSpriteFrame::createWithTexture(texture, CCRect(0, 0, 4, 4)), model.spriteFrameName().c_str());
        texture->release();
    }

    static std::shared_ptr<KXModelSpriteContainer> container(int sprites, float speed = 1.0f) {
        auto model = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());
        model->animationSpeedAttribute()->setValue(speed, true);
        for (int i = 0; i < sprites; ++i) {
            auto frame = sprite(10.0f * static_cast<float>(i + 1), 5.0f);
            frame->sourceSizeAttribute()->setValue(CCSize(100.0f + static_cast<float>(i), 1.0f), true);
            cacheFrame(*frame);
            model->addChild(frame, true);
        }
        return model;
    }
};

// Sprites, sounds and atlases are named after the id read as signed, fonts after the id as it is.
TEST_F(MediaModels, MediaPathsAreNamedAfterTheirIds) {
    auto image = sprite();
    image->setId(12);
    EXPECT_EQ(image->imagePath(), "data/images/KXModelSprite_ID12.png");
    EXPECT_EQ(image->effectPath(), "data/effects/KXModelSprite_ID12.png");
    EXPECT_EQ(image->spriteFrameName(), "KXModelSprite_ID12");
    image->setId(0);
    EXPECT_EQ(image->imagePath(), "data/images/KXModelSprite_ID0.png");
    image->setId(0xFFFFFFFEu);
    EXPECT_EQ(image->imagePath(), "data/images/KXModelSprite_ID-2.png");

    auto sound = KXModelSound::create();
    sound->setId(12);
    EXPECT_EQ(std::static_pointer_cast<KXModelSound>(sound)->soundPath(),
              "data/sounds/KXModelSound_ID12.mp3");

    auto font = std::static_pointer_cast<KXModelFont>(KXModelFont::create());
    font->setId(7);
    EXPECT_EQ(font->fontFile(), "data/fonts/KXModelFont_ID7.fnt");
    EXPECT_EQ(font->name(), "Default Font");
    font->setId(2147483648u);
    EXPECT_EQ(font->fontFile(), "data/fonts/KXModelFont_ID2147483648.fnt");
    font->setId(0xFFFFFFFFu);
    EXPECT_EQ(font->fontFile(), "data/fonts/KXModelFont_ID4294967295.fnt");

    auto atlas = std::static_pointer_cast<KXModelAtlas>(KXModelAtlas::create());
    atlas->setId(7);
    EXPECT_EQ(atlas->imagePath(), "data/atlases/atlas_ID7.png");
    EXPECT_EQ(atlas->plistPath(), "data/atlases/atlas_ID7.plist");
    atlas->setId(2147483648u);
    EXPECT_EQ(atlas->imagePath(), "data/atlases/atlas_ID-2147483648.png");
}

TEST_F(MediaModels, TextureTakesTheEffectImageFirstThenTheImage) {
    auto plain = sprite();
    auto withEffect = sprite();
    auto missing = sprite();
    writePng(plain->imagePath(), 8, 4);
    writePng(withEffect->imagePath(), 8, 4);
    writePng(withEffect->effectPath(), 6, 2);

    CCTexture2D* plainTexture = plain->texture();
    ASSERT_NE(plainTexture, nullptr);
    EXPECT_EQ(plainTexture->getPixelsWide(), 8u);
    CCTexture2D* effectTexture = withEffect->texture();
    ASSERT_NE(effectTexture, nullptr);
    EXPECT_EQ(effectTexture->getPixelsWide(), 6u);
    EXPECT_EQ(missing->texture(), nullptr);

    // Once cached, the effect image is returned without the file.
    ASSERT_EQ(::remove(folder.file(withEffect->effectPath()).c_str()), 0);
    EXPECT_EQ(withEffect->texture(), effectTexture);

    // The container reads the texture of its sprite at an index inside the list only.
    auto pictures = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());
    pictures->addChild(plain, true);
    EXPECT_EQ(pictures->textureAt(0), plainTexture);
    EXPECT_EQ(pictures->textureAt(1), nullptr);
}

TEST_F(MediaModels, SingleSpriteRunsNoAnimation) {
    auto still = container(1);
    for (float factor : {1.0f, 0.0f, 3.0f}) {
        CCSprite* shown = still->getSprite(factor, true);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->numberOfRunningActions(), 0u);
        EXPECT_FLOAT_EQ(shown->getAnchorPoint().x, 0.5f);
        EXPECT_FLOAT_EQ(shown->getAnchorPoint().y, 0.5f);
        shown->release();
    }
}

TEST_F(MediaModels, SeveralSpritesAnimateAtTheCombinedSpeed) {
    auto running = container(3, 2.0f);

    CCSprite* once = running->getSprite(1.0f, false);
    ASSERT_NE(once, nullptr);
    auto* repeat =
        dynamic_cast<CCRepeat*>(once->getActionByTag(KXBaseModelSpriteContainer::kAnimationActionTag));
    ASSERT_NE(repeat, nullptr);
    auto* animate = dynamic_cast<CCAnimate*>(repeat->getInnerAction());
    ASSERT_NE(animate, nullptr);
    EXPECT_FLOAT_EQ(animate->getAnimation()->getDelayPerUnit(), 1.0f / 60.0f); // (1/30) / 1 / 2
    EXPECT_EQ(animate->getAnimation()->getFrames()->count(), 3u);
    EXPECT_FLOAT_EQ(repeat->getDuration(), 3.0f / 60.0f);
    once->release();

    CCSprite* looping = running->getSprite(0.5f, true);
    ASSERT_NE(looping, nullptr);
    auto* forever = dynamic_cast<CCRepeatForever*>(
        looping->getActionByTag(KXBaseModelSpriteContainer::kAnimationActionTag));
    ASSERT_NE(forever, nullptr);
    EXPECT_FLOAT_EQ(static_cast<CCAnimate*>(forever->getInnerAction())->getAnimation()->getDelayPerUnit(),
                    1.0f / 30.0f);
    looping->release();
}

TEST_F(MediaModels, SpeedsWithoutAFrameRateShowTheFirstFrameStill) {
    auto running = container(3);
    CCSpriteFrame* first = running->getSpriteFrame(0);
    for (float factor : {0.0f, -1.0f, NAN, INFINITY}) {
        CCSprite* shown = running->getSprite(factor, true);
        ASSERT_NE(shown, nullptr) << factor;
        EXPECT_EQ(shown->numberOfRunningActions(), 0u) << factor;
        EXPECT_TRUE(shown->isFrameDisplayed(first));
        shown->release();
    }
    // The container's own speed: 0, below 0 or not a number.
    for (float speed : {0.0f, -2.0f, NAN}) {
        running->animationSpeedAttribute()->setValue(speed, true);
        CCSprite* stopped = running->getSprite(1.0f, true);
        ASSERT_NE(stopped, nullptr) << speed;
        EXPECT_EQ(stopped->numberOfRunningActions(), 0u) << speed;
        EXPECT_TRUE(stopped->isFrameDisplayed(first)) << speed;
        stopped->release();
    }
}

TEST_F(MediaModels, MissingSpritesAreLoggedAndGiveNothing) {
    KXDebugLogCapture log;
    auto empty = container(0);
    EXPECT_EQ(empty->getSprite(1.0f, true), nullptr);
    EXPECT_EQ(empty->getSpriteFrame(0), nullptr);
    EXPECT_TRUE(log.contains("KXBaseModelSpriteContainer::getSprite - no sprites are contained"));
    EXPECT_TRUE(log.contains("KXBaseModelSpriteContainer::getSpriteFrame - no sprites are contained"));

    auto uncached = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());
    uncached->addChild(sprite(), true); // no frame of its name in the cache
    EXPECT_EQ(uncached->getSprite(1.0f, true), nullptr);
    EXPECT_TRUE(
        log.contains("KXBaseModelSpriteContainer::getSprite - a sprite model does not contain a sprite"));
}

TEST_F(MediaModels, FrameIndicesWrapAroundTheSpriteList) {
    auto running = container(3);
    const auto& sprites = running->sprites();
    CCSpriteFrame* third = static_cast<KXModelSprite&>(*sprites[2]).spriteFrame();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(running->getSpriteFrame(5), third); // 5 mod 3
    EXPECT_EQ(running->getSpriteFrame(2), third);
    EXPECT_NE(running->getSpriteFrame(0), third);
}

TEST_F(MediaModels, FrameSizeFollowsTheTimeAtThirtyFramesASecond) {
    auto four = container(4);
    // 1 x 0.5 s x 30 = 15; 15 mod 4 = 3: the fourth sprite, 40 wide.
    EXPECT_TRUE(four->frameSizeAt(0.5f).equals(CCSize(40, 5)));
    EXPECT_TRUE(four->frameSourceSizeAt(0.5f).equals(CCSize(103, 1)));
    four->animationSpeedAttribute()->setValue(2.0f, true);
    EXPECT_TRUE(four->frameSizeAt(0.05f).equals(CCSize(40, 5))); // 2 x 0.05 x 30 = 3
    // Times before the start, or not numbers, show the first sprite.
    EXPECT_TRUE(four->frameSizeAt(-0.5f).equals(CCSize(10, 5)));
    EXPECT_TRUE(four->frameSizeAt(NAN).equals(CCSize(10, 5)));
    // A frame number past the unsigned range stops at its largest value: 4294967295 mod 4 = 3.
    EXPECT_TRUE(four->frameSizeAt(1e30f).equals(CCSize(40, 5)));
    EXPECT_TRUE(container(0)->frameSizeAt(1.0f).equals(CCSize(0, 0)));
}

// A container speed without a frame rate (0, below 0, not a number) shows its first picture
// still; the size asked for at any time is that picture's, not one of a count run backwards.
TEST_F(MediaModels, SpeedsWithoutAFrameRateSizeTheFirstFrameAtEveryTime) {
    auto four = container(4);
    for (float speed : {0.0f, -1.0f, -2.0f, NAN, -INFINITY}) {
        four->animationSpeedAttribute()->setValue(speed, true);
        for (float time : {0.0f, 0.05f, 0.5f, 7.0f}) {
            EXPECT_TRUE(four->frameSizeAt(time).equals(CCSize(10, 5))) << speed << " " << time;
            EXPECT_TRUE(four->frameSourceSizeAt(time).equals(CCSize(100, 1))) << speed << " " << time;
        }
    }
}

TEST_F(MediaModels, PerFrameLookupsAllocateNothing) {
    auto four = container(4);
    CCSize size;
    CCSize source;
    const long before = allocationCount.load();
    for (int tick = 0; tick < 100; ++tick) {
        size = four->frameSizeAt(0.5f);
        source = four->frameSourceSizeAt(0.5f);
    }
    EXPECT_EQ(allocationCount.load() - before, 0);
    EXPECT_TRUE(size.equals(CCSize(40, 5)));
    EXPECT_TRUE(source.equals(CCSize(103, 1)));
}

TEST_F(MediaModels, SpriteListsTakeExactlyTheSpriteClass) {
    auto pictures = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());
    auto atlas = std::static_pointer_cast<KXModelAtlas>(KXModelAtlas::create());
    auto first = sprite();
    auto second = sprite();
    auto derived = KXModel::makeShared<DerivedSprite>();
    auto image = KXModelObjectImage::create();
    for (const std::shared_ptr<KXModel>& child :
         std::vector<std::shared_ptr<KXModel>>{first, derived, image, second}) {
        pictures->addChild(child, true);
        atlas->addChild(child, true);
    }
    ASSERT_EQ(pictures->sprites().size(), 2u);
    EXPECT_EQ(pictures->sprites()[1], second);
    ASSERT_EQ(atlas->sprites().size(), 2u);

    pictures->removeChild(derived, true);
    pictures->removeChild(first, true);
    ASSERT_EQ(pictures->sprites().size(), 1u);
    EXPECT_EQ(pictures->sprites()[0], second);
    atlas->removeAllChildren(true);
    EXPECT_TRUE(atlas->sprites().empty());
}

TEST_F(MediaModels, CopiesHaveTheirOwnAttributesAndIds) {
    auto source = sprite(30, 40);
    source->offsetAttribute()->setValue(CCPoint(2, 3), true);
    auto copy = std::static_pointer_cast<KXModelSprite>(source->clone(false, false));
    EXPECT_NE(copy->id(), source->id());
    EXPECT_NE(copy->sizeAttribute(), source->sizeAttribute());
    EXPECT_TRUE(copy->size().equals(CCSize(30, 40)));
    EXPECT_TRUE(copy->offsetAttribute()->value().equals(CCPoint(2, 3)));
    EXPECT_NE(copy->imagePath(), source->imagePath());

    auto pictures = container(2, 3.0f);
    pictures->durationAttribute()->setValue(1.5f, true);
    auto pictureCopy = std::static_pointer_cast<KXModelSpriteContainer>(pictures->clone(true, false));
    EXPECT_FLOAT_EQ(pictureCopy->animationSpeed(), 3.0f);
    EXPECT_FLOAT_EQ(pictureCopy->durationAttribute()->value(), 1.5f);
    ASSERT_EQ(pictureCopy->sprites().size(), 2u);
    EXPECT_NE(pictureCopy->sprites()[0], pictures->sprites()[0]);
}

TEST_F(MediaModels, AnimationFramesAreItsSceneObjectChildren) {
    auto animation = std::static_pointer_cast<KXModelAnimation>(KXModelAnimation::create());
    EXPECT_FLOAT_EQ(animation->speed(), 1.0f);
    EXPECT_TRUE(animation->loop());
    auto a = KXModelObjectImage::create();
    auto b = KXModelObjectImage::create();
    auto c = KXModelObjectImage::create();
    auto notAFrame = sprite();
    for (const auto& child : std::vector<std::shared_ptr<KXModel>>{a, notAFrame, b, c}) {
        animation->addChild(child, true);
    }
    EXPECT_EQ(animation->frameCount(), 3u);
    animation->removeChild(notAFrame, true);
    animation->removeChild(a, true);
    EXPECT_EQ(animation->frame(0), b);
    EXPECT_EQ(animation->frame(1), c);
    EXPECT_EQ(animation->frame(2), nullptr);

    RecordingObserver observer;
    animation->addObserver(&observer);
    animation->setDuration(2.0f);
    animation->setDuration(2.0f); // unchanged: nothing
    EXPECT_EQ(observer.events, (std::vector<std::string>{"attribute Duration 0"}));
    observer.events.clear();
    animation->removeAllFrames();
    EXPECT_EQ(animation->frameCount(), 0u);
    EXPECT_TRUE(animation->children().empty());
    // Each frame's removal is announced (removal, then the model change).
    EXPECT_EQ(observer.events.size(), 4u);
    animation->removeObserver(&observer);

    // A clone lists its own copies of the frames in the source's order.
    animation->addChild(a, true);
    animation->addChild(b, true);
    auto copy = std::static_pointer_cast<KXModelAnimation>(animation->clone(true, false));
    ASSERT_EQ(copy->frameCount(), 2u);
    EXPECT_EQ(copy->frame(0), copy->children()[0]);
    EXPECT_NE(copy->frame(0), a);
}

TEST_F(MediaModels, AtlasSheetSizeStaysWithinItsBounds) {
    auto atlas = std::static_pointer_cast<KXModelAtlas>(KXModelAtlas::create());
    EXPECT_FLOAT_EQ(atlas->widthAttribute()->value(), 2048.0f);
    EXPECT_FLOAT_EQ(atlas->widthAttribute()->variableValue(), 128.0f);
    EXPECT_FLOAT_EQ(atlas->heightAttribute()->value(), 2048.0f);
    EXPECT_FLOAT_EQ(atlas->paddingAttribute()->value(), 4.0f);
    atlas->widthAttribute()->setValue(100.0f, true);
    EXPECT_FLOAT_EQ(atlas->widthAttribute()->value(), 128.0f);
    atlas->widthAttribute()->setValue(5000.0f, true);
    EXPECT_FLOAT_EQ(atlas->widthAttribute()->value(), 4096.0f);
}

TEST_F(MediaModels, FontLabelNeedsItsDescriptionAndPage) {
    auto font = std::static_pointer_cast<KXModelFont>(KXModelFont::create());
    EXPECT_EQ(font->createLabel(), nullptr); // no .fnt yet

    const std::string page = "KXModelFont_ID" + std::to_string(font->id()) + ".png";
    writePng("data/fonts/" + page, 16, 8);
    folder.write(font->fontFile(), "info face=\"Sample\" size=8\n"
                                   "common lineHeight=8 base=6 scaleW=16 scaleH=8 pages=1 packed=0\n"
                                   "page id=0 file=\"" +
                                       page +
                                       "\"\n"
                                       "chars count=1\n"
                                       "char id=48 x=0 y=0 width=5 height=7 xoffset=0 yoffset=1 xadvance=6 "
                                       "page=0 chnl=15\n");
    CCLabelBMFont* label = font->createLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(label->getString(), "0");
    EXPECT_EQ(label->getAlignment(), kCCTextAlignmentLeft);
    EXPECT_FLOAT_EQ(label->getAnchorPoint().x, 0.0f);
    EXPECT_FLOAT_EQ(label->getAnchorPoint().y, 0.5f);
    EXPECT_EQ(label->retainCount(), 1u); // the caller's reference, not autoreleased
    label->release();
}

} // namespace
