// Behaviour components on asset objects in a real world: component models are put on the
// object's asset before the object is made (as the asset object attaches them), controls are
// plain nodes carrying a control model, and input events go through the shared controller.
#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "player/components/KXComponentHealth.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "support/asset_world_support.h"
#include "support/model_class_helpers.h"
#include "support/state_guards.h"
#include "support/unit_test_support.h"

#include "cocos2d.h"

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

inline void send(cocos2d::CCNode* control, int event) {
    KXPInputController::shared()->dispatch(control, event, 0);
}

class ComponentTest : public AssetTest {
protected:
    void SetUp() override {
        AssetTest::SetUp();
        m_world = std::make_unique<AssetWorld>();
    }
    void TearDown() override {
        m_world.reset();
        for (cocos2d::CCNode* node : m_controls) {
            node->release();
        }
        m_controls.clear();
        KXPInputController::purgeShared();
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

    AssetWorld& world() { return *m_world; }
    void frames(int count) { m_world->run(count); }

    // The protection windows' clock, in seconds.
    double clock = 1000.0;
    ScopedClock clockGuard{[this] { return clock; }};

private:
    std::unique_ptr<AssetWorld> m_world;
    std::vector<cocos2d::CCNode*> m_controls;
};

} // namespace kxtest
