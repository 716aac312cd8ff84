// Behaviour components on asset objects in a real world: component models are put on the
// object's asset before the object is made (as the asset object attaches them), controls are
// plain nodes carrying a control model, input events go through the shared controller, and
// sounds reach a recording back end.
#pragma once

#include "audio/AudioBackendSlot.h"
#include "audio/RecordingAudioBackend.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "model/classes/KXModelSound.h"
#include "player/components/KXComponentHealth.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPSettingsController.h"
#include "support/asset_world_support.h"
#include "support/model_class_helpers.h"
#include "support/state_guards.h"
#include "support/unit_test_support.h"

#include "cocos2d.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kxtest {

inline void setText(const KXModel& model, const std::string& name, const std::string& value) {
    attributeOf<KXAttributeStringList>(model, name)->setValue(value, true);
}
// Also gives a value to a number or point the model leaves blank.
inline void setNumber(const KXModel& model, const std::string& name, float value) {
    KXAttributeFloat* attribute = attributeOf<KXAttributeFloat>(model, name);
    attribute->setEmpty(false);
    attribute->setValue(value, true);
}
inline void setFlag(const KXModel& model, const std::string& name, bool value) {
    attributeOf<KXAttributeBool>(model, name)->setValue(value, true);
}
inline void setPoint(const KXModel& model, const std::string& name, const cocos2d::CCPoint& value) {
    KXAttributePoint* attribute = attributeOf<KXAttributePoint>(model, name);
    attribute->setEmpty(false, true);
    attribute->setValue(value, true);
}

// A point with each axis set or left blank, as the editor stores it.
inline void setPoint(const KXModel& model, const std::string& name, const cocos2d::CCPoint& value,
                     bool xBlank, bool yBlank) {
    cocos2d::CCDictionary* stored = cocos2d::CCDictionary::create();
    stored->setObject(cocos2d::CCString::createWithFormat("{%g,%g}", value.x, value.y), "value");
    stored->setObject(cocos2d::CCString::create(xBlank ? "1" : "0"), "isXEmpty");
    stored->setObject(cocos2d::CCString::create(yBlank ? "1" : "0"), "isYEmpty");
    attributeOf<KXAttributePoint>(model, name)->loadValueFromDictionary(stored);
}

inline void send(cocos2d::CCNode* control, int event) {
    KXPInputController::shared()->dispatch(control, event, 0);
}

class ComponentTest : public AssetTest {
protected:
    void SetUp() override {
        AssetTest::SetUp();
        // Nothing muted, and no sound reaches a real device.
        KXPSettingsController::purgeShared();
        auto backend = std::make_unique<cocos2d::audio::RecordingAudioBackend>();
        m_recorder = backend.get();
        cocos2d::audio::installBackend(std::move(backend));
        m_world = std::make_unique<AssetWorld>();
    }
    void TearDown() override {
        m_world.reset();
        for (cocos2d::CCNode* node : m_controls) {
            node->release();
        }
        m_controls.clear();
        KXPInputController::purgeShared();
        KXSound::stopGroup(KXSound::kEveryGroup, true);
        cocos2d::audio::shutdownAudio();
        KXPSettingsController::purgeShared();
        AssetTest::TearDown();
    }

    // A placed box whose asset carries these component models (in this order), on a dynamic
    // body, awake.
    TestAsset* place(const std::vector<std::shared_ptr<KXModel>>& components,
                     uint32_t type = KXPObject::kTypeUnit,
                     const cocos2d::CCPoint& position = cocos2d::CCPoint(100, 100)) {
        std::shared_ptr<KXModelObjectAsset> model = boxAssetModel();
        for (const auto& component : components) {
            model->asset()->addChild(component);
        }
        return m_world->place(model, position, [type](TestAsset& object) {
            object.setType(type);
            object.setBodyType(b2_dynamicBody);
            object.setCollisionType(KXPObjectAsset::kCollisionCharacter);
            object.wakeUp();
        });
    }

    // A control node of that model class and name, as the screens make them (the model rides in
    // the node's user object), kept until the test ends.
    template <class Model> cocos2d::CCNode* control(const std::string& name) {
        std::shared_ptr<Model> model = createModel<Model>();
        model->setName(name);
        cocos2d::CCNode* node = new cocos2d::CCNode();
        node->setUserObject(KXObjectModelHolder::create(model));
        m_controls.push_back(node);
        return node;
    }

    template <class C> static C* first(KXPObject* object) {
        for (KXComponent* component : object->components()) {
            if (C* kind = dynamic_cast<C*>(component)) {
                return kind;
            }
        }
        return nullptr;
    }

    static std::shared_ptr<KXModelSound> soundModel() {
        return std::static_pointer_cast<KXModelSound>(KXModelSound::create());
    }
    // How many times the back end was asked to play that sound's file.
    size_t plays(const std::shared_ptr<KXModelSound>& sound) const {
        const std::string prefix = "playEffect " + sound->soundPath() + " ";
        return static_cast<size_t>(
            std::count_if(m_recorder->calls().begin(), m_recorder->calls().end(),
                          [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
    }

    AssetWorld& world() { return *m_world; }
    void frames(int count) { m_world->run(count); }

    // The protection windows' clock, in seconds.
    double clock = 1000.0;
    ScopedClock clockGuard{[this] { return clock; }};

private:
    std::unique_ptr<AssetWorld> m_world;
    std::vector<cocos2d::CCNode*> m_controls;
    cocos2d::audio::RecordingAudioBackend* m_recorder = nullptr;
};

} // namespace kxtest
