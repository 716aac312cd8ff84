// The player character on a real Box2D world: character models built in memory (a box shape,
// animations with picture frames, sounds), platforms to stand on, known gameplay values and the
// recording audio back end. The shared gameplay values and input controller are put back after
// each test.
#pragma once

#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"
#include "model/KXDebugLog.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeSound.h"
#include "player/input/KXPInputController.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/physics/KXPBodyData.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPSettingsController.h"
#include "support/asset_world_support.h"

#include <algorithm>
#include <memory>
#include <string>

namespace kxtest {

// An animation named `name` whose frames are `frames` picture objects (without pictures: the
// nodes exist, nothing is drawn).
inline std::shared_ptr<KXModelAnimation> framedAnimation(const std::string& name, int frames) {
    auto animation = KXModel::makeShared<KXModelAnimation>(name);
    animation->durationAttribute()->setValue(1.0f, true);
    animation->speedAttribute()->setValue(1.0f, true);
    for (int index = 0; index < frames; ++index) {
        animation->addChild(KXModel::makeShared<KXModelObjectImage>(name + " frame"), true);
    }
    return animation;
}

// A placed character whose asset's shape is a box of that size around its origin.
inline std::shared_ptr<KXModelObjectAssetCharacter> characterModel(const cocos2d::CCSize& size = {40, 40}) {
    auto asset = createModel<KXModelAssetCharacter>();
    asset->setCollisionBox(size, cocos2d::CCPointZero);
    auto placed = createModel<KXModelObjectAssetCharacter>();
    placed->setAsset(asset);
    return placed;
}

class CharacterTest : public AssetTest {
protected:
    void SetUp() override {
        AssetTest::SetUp();
        m_log.reset(new KXDebugLogCapture());
        KXPSettingsController::purgeShared();
        auto backend = std::make_unique<cocos2d::audio::RecordingAudioBackend>();
        recorder = backend.get();
        cocos2d::audio::installBackend(std::move(backend));
        m_savedValues = KXPGameplaySettings::shared()->gameplayValues();
        // Neutral values: nothing clamps, drags, leans, pushes or bounces unless a test says so.
        KXGameplayValues& v = values();
        v.moveSpeed = cocos2d::CCPointZero;
        v.bounceForce = cocos2d::CCPointZero;
        v.upForce = cocos2d::CCPointZero;
        v.characterFriction = cocos2d::CCPoint(1.0f, 1.0f);
        v.upForceDuration = 1.0f;
        v.upForceCounter = 0.0f;
        v.groundThreshold = 0.1f;
        v.leftLeanForce = 0.0f;
        v.rightLeanForce = 0.0f;
        v.rotationScale = 1.0f;
        v.platformFriction = 1.0f;
        v.gameSpeed = 0.0f;
        v.gameplayAngleDirection = 0.0f;
        v.upForceFromGround = false;
        v.directMovement = false;
        v.forcedMovement = false;
        v.fixedRotation = false;
        v.imageDirection = false;
        v.backDeletionThreshold = 10000.0f;
        v.sidesDeletionThreshold = 10000.0f;
        world.reset(new AssetWorld());
    }

    void TearDown() override {
        // The controller may hold characters, whose bodies must leave before the world does.
        KXPInputController::purgeShared();
        world.reset();
        KXSound::stopGroup(KXSound::kEveryGroup, true);
        cocos2d::audio::shutdownAudio();
        KXPSettingsController::purgeShared();
        KXPGameplaySettings::shared()->gameplayValues() = m_savedValues;
        m_log.reset();
        AssetTest::TearDown();
    }

    static KXGameplayValues& values() { return KXPGameplaySettings::shared()->gameplayValues(); }

    static std::shared_ptr<KXModelObjectAssetCharacter> characterModel(const cocos2d::CCSize& size = {40,
                                                                                                      40}) {
        return kxtest::characterModel(size);
    }
    static std::shared_ptr<KXModelAssetCharacter>
    assetOf(const std::shared_ptr<KXModelObjectAssetCharacter>& model) {
        return model->characterAsset();
    }
    static std::shared_ptr<KXModelSound> soundNamed(const std::string& name) {
        auto sound = std::static_pointer_cast<KXModelSound>(KXModelSound::create());
        sound->setName(name);
        return sound;
    }

    // The character made, placed at `position` on the layer and given its body.
    KXPObjectAssetCharacter* place(const std::shared_ptr<KXModelObjectAssetCharacter>& model,
                                   const cocos2d::CCPoint& position = cocos2d::CCPointZero) {
        auto* character = new KXPObjectAssetCharacter(model);
        character->autorelease();
        character->setPosition(position);
        world->layer->addChild(character);
        character->setObjectLayer(world->layer);
        character->addToWorld(&world->world, true);
        return character;
    }

    // A static box of that size centred at `position` that characters stand on.
    TestAsset* platform(const cocos2d::CCPoint& position, const cocos2d::CCSize& size = {400, 20},
                        const std::function<void(TestAsset&)>& setUp = nullptr) {
        return world->place(boxAssetModel(size), position, [&](TestAsset& asset) {
            asset.setCollisionType(KXPObjectAsset::kCollisionCharacter);
            if (setUp) {
                setUp(asset);
            }
        });
    }

    // How many effect plays of that sound's file the back end saw.
    size_t plays(const std::shared_ptr<KXModelSound>& sound) const {
        const std::string prefix = "playEffect " + sound->soundPath() + " ";
        return static_cast<size_t>(
            std::count_if(recorder->calls().begin(), recorder->calls().end(),
                          [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
    }

    // The debug log lines written since the test began.
    const KXDebugLogCapture& debugLines() const { return *m_log; }

    std::unique_ptr<AssetWorld> world;
    cocos2d::audio::RecordingAudioBackend* recorder = nullptr;

private:
    KXGameplayValues m_savedValues;
    std::unique_ptr<KXDebugLogCapture> m_log;
};

} // namespace kxtest
