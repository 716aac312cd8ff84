// Particle objects headless: every setting of an emitter model read back from its particle
// system, emitters without a usable texture or that cannot be made, emitters under the object or
// in the object layer one step below the object's field depth and following it, hiding, the
// opacity factor, reset and stop, the scale of an animation's owner undone, about rate x life
// particles alive, and exactly one advance per frame on the game field and inside an animation
// on a screen.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeGradient.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPParticleBudget.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/effects/KXPObjectAssetParticles.h"
#include "support/asset_world_support.h"
#include "support/effect_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::attributeOf;
using kxtest::setFloat;

namespace {

bool sameColour(const ccColor4F& a, const ccColor4F& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

ccColor4F times(const ccColor4F& c, float f) {
    return ccc4f(c.r * f, c.g * f, c.b * f, c.a * f);
}

// Updates an animation from the scheduler, as the screen objects that own animations do.
class AnimationOwner : public CCNode {
public:
    static AnimationOwner* create(KXPAnimationObject* animation) {
        auto* owner = new AnimationOwner();
        owner->autorelease();
        owner->addChild(animation);
        owner->m_animation = animation;
        return owner;
    }
    void onEnter() override {
        CCNode::onEnter();
        scheduleUpdate();
    }
    void update(float dt) override { m_animation->update(dt); }

private:
    KXPAnimationObject* m_animation = nullptr;
};

class ParticleObject : public kxtest::AssetTest {
protected:
    std::unique_ptr<kxtest::MediaFolder> media;
    std::shared_ptr<KXModelSpriteContainer> dot;
    std::vector<CCObject*> held;

    void SetUp() override {
        kxtest::AssetTest::SetUp();
        media.reset(new kxtest::MediaFolder());
        ASSERT_TRUE(media->entered());
        dot = media->solidPicture(4, 4, {255, 255, 255, 255});
        ASSERT_NE(dot->textureAt(0), nullptr);
    }
    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        held.clear();
        kxtest::AssetTest::TearDown();
        media.reset();
    }

    template <class T> T* hold(T* object) {
        CCObject* base = object;
        base->retain();
        held.push_back(base);
        return object;
    }

    KXPObjectAssetParticles* make(const std::shared_ptr<KXModelObjectParticles>& model) {
        return hold(KXPObjectAssetParticles::create(model));
    }

    std::shared_ptr<KXModelObjectParticlesEmitter> emitter(float rate = 30.0f, float life = 100.0f) {
        return kxtest::stillEmitter(dot, rate, life, 4.0f, ccc4f(1.0f, 0.0f, 0.0f, 1.0f));
    }
};

TEST_F(ParticleObject, EveryEmitterSettingIsReadBackFromItsSystem) {
    auto model = createModel<KXModelObjectParticlesEmitter>();
    attributeOf<KXAttributeSprite>(*model, "Texture")->setValue(dot, true);
    setFloat(*model, "Total Particles", 77.9f);
    setFloat(*model, "Emission Rate", 12.5f);
    attributeOf<KXAttributeBool>(*model, "Blend Additive")->setValue(true, true);
    model->positionAttribute()->setValue(CCPoint(11.0f, -7.0f), true);
    model->positionAttribute()->setVariableValue(CCPoint(3.0f, 4.0f));
    model->rotationAttribute()->setValue(33.0f, true);
    model->zDepthAttribute()->setValue(6, true);
    model->scaleAttribute()->setValue(CCPoint(1.5f, 0.75f), true);
    setFloat(*model, "Start Size", 21.0f, 2.0f);
    setFloat(*model, "End Size", 9.0f, 1.0f);
    setFloat(*model, "Start Spin", 45.0f, 5.0f);
    setFloat(*model, "End Spin", 90.0f, 6.0f);
    attributeOf<KXAttributePoint>(*model, "Gravity")->setValue(CCPoint(0.0f, -98.0f), true);
    setFloat(*model, "Radial Acceleration", 14.0f, 3.5f);
    setFloat(*model, "Speed", 120.0f, 30.0f);
    setFloat(*model, "Angle", 270.0f, 15.0f);
    setFloat(*model, "Life", 1.25f, 0.5f);
    auto* colour = attributeOf<KXAttributeGradient>(*model, "Color");
    colour->setColor(0.0f, ccc4f(0.1f, 0.2f, 0.3f, 0.4f), true);
    colour->setColor(1.0f, ccc4f(0.5f, 0.6f, 0.7f, 0.8f), true);
    auto* variation = attributeOf<KXAttributeGradient>(*model, "Color Variation");
    variation->setColor(0.0f, ccc4f(0.05f, 0.0f, 0.1f, 0.0f), true);
    variation->setColor(1.0f, ccc4f(0.0f, 0.2f, 0.0f, 0.3f), true);
    attributeOf<KXAttributeStringList>(*model, "Position Type")->setValue("kCCPositionTypeGrouped", true);
    model->hiddenAttribute()->setValue(true, true);

    KXPObjectAssetParticles* object = make(kxtest::particlesWith({model}));
    ASSERT_EQ(object->emitterCount(), 1u);
    CCParticleSystemQuad* system = object->emitterAt(0);
    EXPECT_EQ(object->emitterFor(model.get()), system);
    EXPECT_EQ(system->getTexture(), dot->textureAt(0));
    EXPECT_EQ(system->getTotalParticles(), 77u);
    EXPECT_FLOAT_EQ(system->getEmissionRate(), 12.5f);
    EXPECT_TRUE(system->isBlendAdditive());
    EXPECT_TRUE(system->getPosition().equals(CCPoint(11.0f, -7.0f)));
    EXPECT_TRUE(system->getPosVar().equals(CCPoint(3.0f, 4.0f)));
    EXPECT_FLOAT_EQ(system->getRotation(), 33.0f);
    EXPECT_EQ(system->getZOrder(), 6);
    EXPECT_FLOAT_EQ(system->getScaleX(), 1.5f);
    EXPECT_FLOAT_EQ(system->getScaleY(), 0.75f);
    EXPECT_FLOAT_EQ(system->getStartSize(), 21.0f);
    EXPECT_FLOAT_EQ(system->getStartSizeVar(), 2.0f);
    EXPECT_FLOAT_EQ(system->getEndSize(), 9.0f);
    EXPECT_FLOAT_EQ(system->getEndSizeVar(), 1.0f);
    EXPECT_FLOAT_EQ(system->getStartSpin(), 45.0f);
    EXPECT_FLOAT_EQ(system->getStartSpinVar(), 5.0f);
    EXPECT_FLOAT_EQ(system->getEndSpin(), 90.0f);
    EXPECT_FLOAT_EQ(system->getEndSpinVar(), 6.0f);
    EXPECT_TRUE(system->getGravity().equals(CCPoint(0.0f, -98.0f)));
    EXPECT_FLOAT_EQ(system->getRadialAccel(), 14.0f);
    EXPECT_FLOAT_EQ(system->getRadialAccelVar(), 3.5f);
    EXPECT_FLOAT_EQ(system->getSpeed(), 120.0f);
    EXPECT_FLOAT_EQ(system->getSpeedVar(), 30.0f);
    EXPECT_FLOAT_EQ(system->getAngle(), 270.0f);
    EXPECT_FLOAT_EQ(system->getAngleVar(), 15.0f);
    EXPECT_FLOAT_EQ(system->getLife(), 1.25f);
    EXPECT_FLOAT_EQ(system->getLifeVar(), 0.5f);
    EXPECT_TRUE(sameColour(system->getStartColor(), ccc4f(0.1f, 0.2f, 0.3f, 0.4f)));
    EXPECT_TRUE(sameColour(system->getEndColor(), ccc4f(0.5f, 0.6f, 0.7f, 0.8f)));
    EXPECT_TRUE(sameColour(system->getStartColorVar(), ccc4f(0.05f, 0.0f, 0.1f, 0.0f)));
    EXPECT_TRUE(sameColour(system->getEndColorVar(), ccc4f(0.0f, 0.2f, 0.0f, 0.3f)));
    EXPECT_EQ(system->getPositionType(), kCCPositionTypeGrouped);
    EXPECT_FALSE(system->isVisible());
    // Gravity mode, endless, kept when it runs dry.
    EXPECT_EQ(system->getEmitterMode(), kCCParticleModeGravity);
    EXPECT_FLOAT_EQ(system->getDuration(), -1.0f);
    EXPECT_FALSE(system->isAutoRemoveOnFinish());

    // The object: an effect without collision that moves linearly and never leaves the screen.
    EXPECT_EQ(object->getType(), static_cast<uint32_t>(KXPObject::kTypeEffect));
    EXPECT_EQ(object->getCollisionType(), KXPObjectAsset::kCollisionNone);
    EXPECT_TRUE(object->isLinearMovement());
    object->setPosition(CCPoint(1e7f, 1e7f));
    EXPECT_TRUE(object->isOnScreen());
}

TEST_F(ParticleObject, PositionTypesOtherThanRelativeAndGroupedAreFree) {
    auto relative = emitter();
    attributeOf<KXAttributeStringList>(*relative, "Position Type")->setValue("kCCPositionTypeRelative", true);
    auto other = emitter();
    attributeOf<KXAttributeStringList>(*other, "Position Type")->setValue("kSomethingElse", true);
    KXPObjectAssetParticles* object = make(kxtest::particlesWith({relative, other, emitter()}));
    ASSERT_EQ(object->emitterCount(), 3u);
    EXPECT_EQ(object->emitterAt(0)->getPositionType(), kCCPositionTypeRelative);
    EXPECT_EQ(object->emitterAt(1)->getPositionType(), kCCPositionTypeFree);
    EXPECT_EQ(object->emitterAt(2)->getPositionType(), kCCPositionTypeFree);
}

TEST_F(ParticleObject, EmittersWithoutAUsableTextureOrThatCannotBeMadeAreLeftOut) {
    auto noTexture = emitter();
    attributeOf<KXAttributeSprite>(*noTexture, "Texture")->setValue(nullptr, true);
    auto emptyContainer = emitter();
    attributeOf<KXAttributeSprite>(*emptyContainer, "Texture")
        ->setValue(createModel<KXModelSpriteContainer>(), true);
    auto missingFile = emitter();
    auto lost = createModel<KXModelSpriteContainer>();
    lost->addChild(createModel<KXModelSprite>(), true); // no picture written for it
    attributeOf<KXAttributeSprite>(*missingFile, "Texture")->setValue(lost, true);
    auto tooMany = emitter();
    setFloat(*tooMany, "Total Particles", 1e9f);
    auto good = emitter();

    KXDebugLogCapture log;
    KXPObjectAssetParticles* object =
        make(kxtest::particlesWith({noTexture, emptyContainer, missingFile, tooMany, good}));
    ASSERT_EQ(object->emitterCount(), 1u);
    EXPECT_NE(object->emitterFor(good.get()), nullptr);
    // One line for each emitter left out.
    ASSERT_EQ(log.lines().size(), 4u);
    EXPECT_EQ(std::count(log.lines().begin(), log.lines().end(),
                         "KXPObjectAssetParticles::createEmitter - unable to init emitter"),
              1);

    // The object works without any emitter at all.
    KXPObjectAssetParticles* empty = make(kxtest::particlesWith({noTexture}));
    EXPECT_EQ(empty->emitterCount(), 0u);
    empty->setObjectLayer(CCNode::create());
    empty->update(0.1f);
    empty->setVisible(false);
    empty->setOpacityFactor(0.5f);
    empty->resetEmitters();
    empty->stopEmitters();
}

TEST_F(ParticleObject, AnEmitterListedTwiceGetsOneEmitter) {
    auto once = emitter();
    auto twice = emitter();
    auto model = kxtest::particlesWith({twice, once});
    model->childAdded(twice); // the list names it a second time
    ASSERT_EQ(model->emitters().size(), 3u);

    KXPObjectAssetParticles* object = make(model);
    ASSERT_EQ(object->emitterCount(), 2u);
    CCParticleSystemQuad* system = object->emitterFor(twice.get());
    ASSERT_NE(system, nullptr);
    EXPECT_NE(object->emitterFor(once.get()), system);
    // One system under the object: a second one for the same model would be left behind on it.
    EXPECT_EQ(object->getChildrenCount(), 2u);
    // On the layer the one system follows the object and emits.
    CCNode* layer = hold(CCNode::create());
    object->setObjectLayer(layer);
    EXPECT_EQ(system->getParent(), layer);
    EXPECT_EQ(layer->getChildrenCount(), 2u);
    object->update(0.5f);
    EXPECT_GT(system->getParticleCount(), 0u);
}

TEST_F(ParticleObject, NestedUnderAnObjectAtTheLowestDepthTheEmittersWrapToTheHighest) {
    KXPGameFieldCamera* camera = hold(KXPGameFieldCamera::create());
    kxtest::TestAsset* holder = hold(kxtest::TestAsset::make(kxtest::boxAssetModel()));
    camera->addChild(holder, INT_MIN);
    KXPObjectAssetParticles* nested = make(kxtest::particlesWith({emitter()}));
    holder->addChild(nested);
    nested->setObjectLayer(camera);
    nested->update(1.0f / 60.0f);
    EXPECT_EQ(nested->emitterAt(0)->getZOrder(), INT_MAX);
}

TEST_F(ParticleObject, WithoutALayerTheEmittersHangUnderTheObjectAtTheirPlace) {
    auto model = emitter();
    model->positionAttribute()->setValue(CCPoint(5.0f, 6.0f), true);
    model->zDepthAttribute()->setValue(2, true);
    KXPObjectAssetParticles* object = make(kxtest::particlesWith({model}));
    CCParticleSystemQuad* system = object->emitterAt(0);
    EXPECT_EQ(system->getParent(), object);
    EXPECT_TRUE(system->getPosition().equals(CCPoint(5.0f, 6.0f)));
    EXPECT_EQ(system->getZOrder(), 2);
    // Off the layer the object does not advance its emitters (the engine does, once on stage).
    object->update(0.5f);
    EXPECT_FALSE(system->isDrivenByOwner());
    EXPECT_EQ(system->getParticleCount(), 0u);
}

TEST_F(ParticleObject, OnTheLayerEmittersSitOneBelowTheObjectsFieldDepthAndFollowIt) {
    KXPGameFieldCamera* camera = hold(KXPGameFieldCamera::create());
    camera->setPosition(CCPoint(-300.0f, 40.0f)); // scrolled: emitters still sit at the object
    auto model = emitter();
    model->positionAttribute()->setValue(CCPoint(10.0f, 20.0f), true);

    struct Case {
        int ownZ;
        int expected;
    };
    for (const Case& c : {Case{0, -1}, Case{5, 5}, Case{-3, -3}}) {
        SCOPED_TRACE(c.ownZ);
        KXPObjectAssetParticles* object = make(kxtest::particlesWith({model}));
        object->setPosition(CCPoint(100.0f, 50.0f));
        camera->addChild(object, c.ownZ);
        object->setObjectLayer(camera);
        CCParticleSystemQuad* system = object->emitterAt(0);
        EXPECT_EQ(system->getParent(), camera);
        object->update(1.0f / 60.0f);
        EXPECT_EQ(system->getZOrder(), c.expected);
        EXPECT_TRUE(system->getPosition().equals(CCPoint(110.0f, 70.0f)));
        EXPECT_TRUE(system->isDrivenByOwner());
        object->setPosition(CCPoint(-40.0f, 0.0f));
        object->update(1.0f / 60.0f);
        EXPECT_TRUE(system->getPosition().equals(CCPoint(-30.0f, 20.0f)));
        object->removeFromParentAndCleanup(true);
    }

    // Nested in an object placed at depth 7, an object of depth 0 puts its emitters at 6.
    kxtest::TestAsset* holder = hold(kxtest::TestAsset::make(kxtest::boxAssetModel()));
    camera->addChild(holder, 7);
    KXPObjectAssetParticles* nested = make(kxtest::particlesWith({model}));
    holder->addChild(nested);
    nested->setObjectLayer(camera);
    nested->update(1.0f / 60.0f);
    EXPECT_EQ(nested->emitterAt(0)->getZOrder(), 6);

    // Back off the layer, the emitters return under the object.
    nested->setObjectLayer(nullptr);
    EXPECT_EQ(nested->emitterAt(0)->getParent(), nested);
    EXPECT_TRUE(nested->emitterAt(0)->getPosition().equals(CCPoint(10.0f, 20.0f)));

    // Leaving, the object takes its emitters out of the layer.
    const unsigned int before = camera->getChildrenCount();
    KXPObjectAssetParticles* leaving = KXPObjectAssetParticles::create(kxtest::particlesWith({model}));
    camera->addChild(leaving);
    leaving->setObjectLayer(camera);
    EXPECT_EQ(camera->getChildrenCount(), before + 2);
    camera->removeChild(leaving, true);
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(camera->getChildrenCount(), before);
}

TEST_F(ParticleObject, HidingStopsEmissionAndKeepsTheLivingParticles) {
    CCNode* layer = CCNode::create();
    KXPObjectAssetParticles* object = make(kxtest::particlesWith({emitter(30.0f)}));
    layer->addChild(object);
    object->setObjectLayer(layer);
    CCParticleSystemQuad* system = object->emitterAt(0);
    for (int frame = 0; frame < 60; ++frame) {
        object->update(1.0f / 60.0f);
    }
    const unsigned int alive = system->getParticleCount();
    EXPECT_GT(alive, 0u);

    object->setVisible(false);
    EXPECT_FLOAT_EQ(system->getEmissionRate(), 0.0f);
    EXPECT_EQ(system->getParticleCount(), alive);
    object->setVisible(true);
    EXPECT_FLOAT_EQ(system->getEmissionRate(), 30.0f);
    EXPECT_EQ(system->getParticleCount(), alive);

    // Off the layer too: a hidden effect emits nothing.
    KXPObjectAssetParticles* loose = make(kxtest::particlesWith({emitter(30.0f)}));
    loose->setVisible(false);
    EXPECT_FLOAT_EQ(loose->emitterAt(0)->getEmissionRate(), 0.0f);
    EXPECT_FALSE(loose->emitterAt(0)->isDrivenByOwner());
}

TEST_F(ParticleObject, OpacityFactorScalesEveryColourOfEveryEmitter) {
    auto model = emitter();
    auto* colour = attributeOf<KXAttributeGradient>(*model, "Color");
    colour->setColor(0.0f, ccc4f(0.2f, 0.4f, 0.6f, 0.8f), true);
    colour->setColor(1.0f, ccc4f(1.0f, 0.5f, 0.25f, 1.0f), true);
    auto* variation = attributeOf<KXAttributeGradient>(*model, "Color Variation");
    variation->setColor(0.0f, ccc4f(0.1f, 0.1f, 0.1f, 0.1f), true);
    variation->setColor(1.0f, ccc4f(0.2f, 0.0f, 0.2f, 0.4f), true);
    KXPObjectAssetParticles* object = make(kxtest::particlesWith({model, emitter()}));
    for (float factor : {0.0f, 0.5f, 1.0f}) {
        SCOPED_TRACE(factor);
        object->setOpacityFactor(factor);
        EXPECT_FLOAT_EQ(object->getOpacityFactor(), factor);
        CCParticleSystemQuad* system = object->emitterAt(0);
        EXPECT_TRUE(sameColour(system->getStartColor(), times(model->color(0.0f), factor)));
        EXPECT_TRUE(sameColour(system->getEndColor(), times(model->color(1.0f), factor)));
        EXPECT_TRUE(sameColour(system->getStartColorVar(), times(model->colorVariation(0.0f), factor)));
        EXPECT_TRUE(sameColour(system->getEndColorVar(), times(model->colorVariation(1.0f), factor)));
        EXPECT_TRUE(sameColour(object->emitterAt(1)->getStartColor(), ccc4f(factor, 0.0f, 0.0f, factor)));
    }
}

TEST_F(ParticleObject, ResetStartsAfreshAndStopEndsEmission) {
    CCNode* layer = CCNode::create();
    KXPObjectAssetParticles* object = make(kxtest::particlesWith({emitter(), emitter()}));
    layer->addChild(object);
    object->setObjectLayer(layer);
    for (int frame = 0; frame < 30; ++frame) {
        object->update(1.0f / 60.0f);
    }
    object->stopEmitters();
    for (size_t index = 0; index < 2; ++index) {
        EXPECT_FALSE(object->emitterAt(index)->isActive());
        EXPECT_GT(object->emitterAt(index)->getParticleCount(), 0u);
    }
    const unsigned int alive = object->emitterAt(0)->getParticleCount();
    object->update(1.0f);
    EXPECT_EQ(object->emitterAt(0)->getParticleCount(), alive);
    object->resetEmitters();
    for (size_t index = 0; index < 2; ++index) {
        EXPECT_TRUE(object->emitterAt(index)->isActive());
        EXPECT_EQ(object->emitterAt(index)->getParticleCount(), 0u);
    }
}

TEST_F(ParticleObject, AboutRateTimesLifeParticlesLiveAfterOneLife) {
    CCNode* layer = CCNode::create();
    KXPObjectAssetParticles* object = make(kxtest::particlesWith({emitter(30.0f, 2.0f)}));
    layer->addChild(object);
    object->setObjectLayer(layer);
    for (int frame = 0; frame < 180; ++frame) {
        object->update(1.0f / 60.0f);
    }
    EXPECT_NEAR(static_cast<int>(object->emitterAt(0)->getParticleCount()), 60, 2);
}

class ParticlesInAnimations : public ParticleObject {
protected:
    std::shared_ptr<KXModelAnimation> animation;

    void SetUp() override {
        ParticleObject::SetUp();
        animation = createModel<KXModelAnimation>();
        animation->durationAttribute()->setValue(100.0f, true);
    }
    KXPAnimationObject* buildAnimation() {
        auto* object = new KXPAnimationObject(animation, nullptr, false);
        held.push_back(object);
        return object;
    }
    static KXPObjectAssetParticles* particlesOf(KXPAnimationObject* object, int index) {
        return dynamic_cast<KXPObjectAssetParticles*>(object->childNodeAt(index));
    }
};

TEST_F(ParticlesInAnimations, TheScaleOfTheAnimationsOwnerIsMostlyUndone) {
    animation->addChild(kxtest::particlesWith({emitter()}), true);
    struct Case {
        CCPoint ownerScale;
        CCPoint expected;
    };
    for (const Case& c :
         {Case{CCPoint(0.5f, 0.5f), CCPoint(1.5f, 1.5f)}, Case{CCPoint(2.0f, 2.0f), CCPoint(0.5f, 0.5f)},
          Case{CCPoint(-2.0f, 4.0f), CCPoint(-0.5f, 0.5f)}, Case{CCPoint(0.5f, -3.0f), CCPoint(1.5f, -1.5f)},
          Case{CCPoint(0.0f, 1.0f), CCPoint(2.0f, 2.0f)}}) {
        SCOPED_TRACE(c.ownerScale.x);
        KXPAnimationObject* object = buildAnimation();
        object->setScale(3.0f); // animations between are passed over
        CCNode* owner = CCNode::create();
        owner->setScaleX(c.ownerScale.x);
        owner->setScaleY(c.ownerScale.y);
        owner->addChild(object);
        object->update(0.1f);
        KXPObjectAssetParticles* particles = particlesOf(object, 0);
        ASSERT_NE(particles, nullptr);
        EXPECT_FLOAT_EQ(particles->getScaleX(), c.expected.x);
        EXPECT_FLOAT_EQ(particles->getScaleY(), c.expected.y);
    }
}

TEST_F(ParticlesInAnimations, TheyAreResetStoppedAndUpdatedWithTheFramesOwnTime) {
    animation->speedAttribute()->setValue(4.0f, true);
    animation->addChild(kxtest::particlesWith({emitter(30.0f)}), true);
    KXPAnimationObject* object = buildAnimation();
    KXPObjectAssetParticles* particles = particlesOf(object, 0);
    ASSERT_NE(particles, nullptr);
    EXPECT_EQ(particles->getObjectLayer(), nullptr); // no game field is current
    CCParticleSystemQuad* system = particles->emitterAt(0);

    object->stop();
    EXPECT_FALSE(system->isActive());
    object->restart();
    EXPECT_TRUE(system->isActive());

    // A non-looping animation stops its emitters at the wrap.
    animation->loopAttribute()->setValue(false, true);
    animation->durationAttribute()->setValue(0.5f, true);
    object->update(0.1f);
    EXPECT_TRUE(system->isActive());
    object->update(0.1f);
    EXPECT_FALSE(system->isActive());
    object->restart();
    EXPECT_TRUE(system->isActive());

    // Hidden, the animation's emitters emit nothing.
    object->setVisible(false);
    EXPECT_FLOAT_EQ(system->getEmissionRate(), 0.0f);
    object->setVisible(true);
    EXPECT_FLOAT_EQ(system->getEmissionRate(), 30.0f);
}

TEST_F(ParticlesInAnimations, OneAdvancePerFrameInsideAnAnimationOnAScreen) {
    director()->setFixedDeltaTime(1.0f / 60.0f);
    animation->speedAttribute()->setValue(3.0f, true); // emitters run on the frame's time anyway
    animation->addChild(kxtest::particlesWith({emitter(30.0f)}), true);
    KXPAnimationObject* object = buildAnimation();
    CCScene* scene = CCScene::create();
    scene->addChild(AnimationOwner::create(object));
    director()->runWithScene(scene);
    frames(61); // the scene runs from the second frame: 60 frames, one second
    CCParticleSystemQuad* system = particlesOf(object, 0)->emitterAt(0);
    EXPECT_NEAR(static_cast<int>(system->getParticleCount()), 30, 1);
    EXPECT_FALSE(system->isDrivenByOwner());
}

class ParticlesOnTheField : public ParticleObject {
protected:
    KXPScreenScene* field = nullptr;

    void SetUp() override {
        ParticleObject::SetUp();
        KXPScreensController::shared()->setCurrentSceneKey("particles-field");
        auto model = KXBaseModelScreenScene::findOrCreateByKey("particles-field");
        model->gravityAttribute()->setValue(CCPointZero, true);
        director()->setFixedDeltaTime(1.0f / 60.0f);
        CCScene* scene = KXPScreenScene::createScene();
        ASSERT_NE(scene, nullptr);
        field = dynamic_cast<KXPScreenScene*>(scene->getChildByTag(0));
        ASSERT_NE(field, nullptr);
        director()->runWithScene(scene);
        frames(1);
        ASSERT_TRUE(field->isRunning());
    }
    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        held.clear();
        director()->purgeDirector();
        KXPInputController::purgeShared();
        KXPScreensController::shared()->setCurrentSceneKey("");
        ParticleObject::TearDown();
    }
};

TEST_F(ParticlesOnTheField, OneAdvancePerFrameOnTheGameField) {
    KXPObjectAssetParticles* object =
        KXPObjectAssetParticles::create(kxtest::particlesWith({emitter(30.0f)}));
    object->setPosition(CCPoint(200.0f, 100.0f));
    field->getObjectLayer()->addChild(object);
    object->setObjectLayer(field->getObjectLayer());
    CCParticleSystemQuad* system = object->emitterAt(0);
    frames(60);
    EXPECT_NEAR(static_cast<int>(system->getParticleCount()), 30, 1);
    EXPECT_TRUE(system->isDrivenByOwner());
    EXPECT_EQ(system->getParent(), field->getObjectLayer());
    EXPECT_EQ(system->getZOrder(), -1);
}

TEST_F(ParticlesOnTheField, EmittersShareTheFieldsParticlesInTheOrderTheyComeAndGiveThemBackWhenTheyGo) {
    KXDebugLogCapture log;
    CCNode* layer = field->getObjectLayer();
    const auto place = [&](std::initializer_list<unsigned int> totals) {
        auto model = createModel<KXModelObjectParticles>();
        for (unsigned int total : totals) {
            auto made = emitter(30.0f);
            kxtest::setFloat(*made, "Total Particles", static_cast<float>(total));
            model->addChild(made, true);
        }
        KXPObjectAssetParticles* object = KXPObjectAssetParticles::create(model);
        layer->addChild(object);
        object->setObjectLayer(layer);
        return object;
    };
    const unsigned int largest = ParticleSimulation::kMaxParticles;
    const int64_t fullOnes = KXPParticleBudget::kParticles / largest - 1;
    KXPObjectAssetParticles* first = place({largest});
    for (int64_t index = 1; index < fullOnes; ++index) {
        place({largest});
    }
    place({largest / 2});
    std::shared_ptr<KXPParticleBudget> budget = field->particleBudget();
    EXPECT_EQ(budget->held(), KXPParticleBudget::kParticles - largest / 2);
    EXPECT_TRUE(log.lines().empty());

    // Half of what the next one wants is left, then nothing: its second emitter holds none.
    KXPObjectAssetParticles* cut = place({largest, 8});
    EXPECT_EQ(cut->emitterAt(0)->getTotalParticles(), largest / 2);
    EXPECT_EQ(cut->emitterAt(1)->getTotalParticles(), 0u);
    EXPECT_EQ(first->emitterAt(0)->getTotalParticles(), largest);
    ASSERT_EQ(log.lines().size(), 1u);
    const std::shared_ptr<KXModel>& cutModel = cut->getModel()->children()[0];
    EXPECT_TRUE(log.contains("[KXPObjectAssetParticles] - " + cutModel->name() + " (model " +
                             std::to_string(cutModel->id()) + ") holds " + std::to_string(largest / 2) +
                             " of its " + std::to_string(largest) +
                             " particles, and the emitters after it in the field no more than is left: "
                             "the field's emitters hold " +
                             std::to_string(KXPParticleBudget::kParticles - largest / 2) + " of their " +
                             std::to_string(KXPParticleBudget::kParticles)))
        << log.lines()[0];
    frames(10);
    EXPECT_EQ(cut->emitterAt(1)->getParticleCount(), 0u);
    EXPECT_GT(cut->emitterAt(0)->getParticleCount(), 0u);

    // Said once a field; the first one gone gives its share to the next that comes.
    KXPObjectAssetParticles* none = place({largest});
    EXPECT_EQ(none->emitterAt(0)->getTotalParticles(), 0u);
    first->removeFromParentAndCleanup(true);
    CCPoolManager::sharedPoolManager()->pop();
    EXPECT_EQ(budget->held(), KXPParticleBudget::kParticles - largest);
    EXPECT_EQ(place({largest})->emitterAt(0)->getTotalParticles(), largest);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(ParticlesOnTheField, AnAnimationOnTheFieldPutsItsObjectsOnTheObjectLayer) {
    auto animation = createModel<KXModelAnimation>();
    animation->durationAttribute()->setValue(10.0f, true);
    animation->addChild(kxtest::particlesWith({emitter(30.0f)}), true);
    animation->addChild(createModel<KXModelObjectLabel>(), true);
    KXDebugLogCapture quiet; // the label has no font
    auto* object = new KXPAnimationObject(animation, nullptr, false);
    held.push_back(object);
    auto* particles = dynamic_cast<KXPObjectAssetParticles*>(object->childNodeAt(0));
    auto* text = dynamic_cast<KXPObjectText*>(object->childNodeAt(1));
    ASSERT_TRUE(particles && text);
    CCNode* layer = field->getObjectLayer();
    EXPECT_EQ(particles->getObjectLayer(), layer);
    EXPECT_EQ(text->getObjectLayer(), layer);
    EXPECT_EQ(particles->getBody(), nullptr); // an effect has no shape to collide with
    EXPECT_EQ(particles->emitterAt(0)->getParent(), layer);

    // Shown by an owner object at depth 4 on the field: the emitters sit just below it.
    kxtest::TestAsset* owner = kxtest::TestAsset::make(kxtest::boxAssetModel());
    layer->addChild(owner, 4);
    owner->addChild(object);
    frames(30);
    EXPECT_EQ(particles->emitterAt(0)->getZOrder(), 3);
    EXPECT_NEAR(static_cast<int>(particles->emitterAt(0)->getParticleCount()), 15, 1);
}

TEST_F(ParticlesOnTheField, HiddenTheLivingParticlesLiveOutTheirLivesAndAPauseHoldsThem) {
    auto animation = createModel<KXModelAnimation>();
    animation->durationAttribute()->setValue(10.0f, true);
    animation->addChild(kxtest::particlesWith({emitter(30.0f, 0.5f)}), true);
    auto* object = new KXPAnimationObject(animation, nullptr, false);
    held.push_back(object);
    kxtest::TestAsset* owner = kxtest::TestAsset::make(kxtest::boxAssetModel());
    field->getObjectLayer()->addChild(owner);
    owner->addChild(object);
    CCParticleSystemQuad* system =
        dynamic_cast<KXPObjectAssetParticles*>(object->childNodeAt(0))->emitterAt(0);
    frames(30);
    const int alive = static_cast<int>(system->getParticleCount());
    EXPECT_NEAR(alive, 15, 1);

    object->setVisible(false);
    frames(15); // a quarter of a second: the older half has died, nothing new came
    EXPECT_NEAR(static_cast<int>(system->getParticleCount()), alive / 2, 1);
    frames(15);
    EXPECT_EQ(system->getParticleCount(), 0u);

    object->setVisible(true);
    frames(30);
    EXPECT_NEAR(static_cast<int>(system->getParticleCount()), 15, 1);
    field->setRequestedPause(true);
    frames(1);
    ASSERT_TRUE(field->isPaused());
    const unsigned int frozen = system->getParticleCount();
    ASSERT_GT(frozen, 0u);
    const float oldest = system->getParticles().front().timeToLive;
    frames(30);
    EXPECT_EQ(system->getParticleCount(), frozen);
    EXPECT_FLOAT_EQ(system->getParticles().front().timeToLive, oldest);
}

} // namespace

// Every player class the per-frame walks ask for declares its own kind; a subclass that only
// inherits one (as a test's stand-in does) cannot be asked for.
static_assert(ccDeclaresNodeKind<KXPObject>::value && ccDeclaresNodeKind<KXPObjectAsset>::value &&
                  ccDeclaresNodeKind<KXPObjectAssetParticles>::value &&
                  ccDeclaresNodeKind<KXPObjectImage>::value &&
                  ccDeclaresNodeKind<KXPAnimationObject>::value &&
                  ccDeclaresNodeKind<KXPGameFieldCamera>::value,
              "the player's kinds");
static_assert(!ccDeclaresNodeKind<kxtest::TestAsset>::value, "a subclass with only its base's kind");

// The field's per-frame walks ask a node's kind through its kind bits: they must answer as
// dynamic_cast would, for each class and the classes derived from it.
TEST_F(ParticleObject, EveryPlayerNodeAnswersItsKindAsDynamicCastWould) {
    KXPObjectAssetParticles* particles = make(kxtest::particlesWith({emitter()}));
    KXPObject* object = hold(new KXPObject(nullptr));
    object->release();
    KXPObjectImage* image = hold(new KXPObjectImage(nullptr));
    image->release();
    KXPAnimationObject* animation = hold(new KXPAnimationObject(nullptr, nullptr, false));
    animation->release();
    KXPGameFieldCamera* camera = hold(new KXPGameFieldCamera());
    camera->release();
    for (CCNode* node : std::initializer_list<CCNode*>{particles, object, image, animation, camera,
                                                       CCNode::create(), CCSprite::create()}) {
        EXPECT_EQ(ccNodeAs<KXPObject>(node), dynamic_cast<KXPObject*>(node));
        EXPECT_EQ(ccNodeAs<KXPObjectAsset>(node), dynamic_cast<KXPObjectAsset*>(node));
        EXPECT_EQ(ccNodeAs<KXPObjectAssetParticles>(node), dynamic_cast<KXPObjectAssetParticles*>(node));
        EXPECT_EQ(ccNodeAs<KXPObjectImage>(node), dynamic_cast<KXPObjectImage*>(node));
        EXPECT_EQ(ccNodeAs<KXPAnimationObject>(node), dynamic_cast<KXPAnimationObject*>(node));
        EXPECT_EQ(ccNodeAs<KXPGameFieldCamera>(node), dynamic_cast<KXPGameFieldCamera*>(node));
        EXPECT_EQ(node->getRGBAProtocol(), dynamic_cast<CCRGBAProtocol*>(node));
    }
    EXPECT_NE(ccNodeAs<KXPObject>(particles), nullptr);
}
