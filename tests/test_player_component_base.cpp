// The component base: the factory by exact model class, the components an asset object takes
// from its asset (in child order), trigger texts, and input subscriptions that end with the
// component.

#include "model/KXDebugLog.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelComponentMotor.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelComponentScore.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "player/components/KXComponentHealth.h"
#include "player/components/KXComponentMotor.h"
#include "player/components/KXComponentMove.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "support/asset_world_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cocos2d;

namespace {

class MoveModelSubclass : public KXModelComponentMove {
    KX_MODEL_IDENTITY(MoveModelSubclass, KXModelComponentMove)
    KX_MODEL_CLONE(MoveModelSubclass)

public:
    MoveModelSubclass() : KXModelComponentMove("") {}
    MoveModelSubclass(const MoveModelSubclass& source) : KXModelComponentMove(source) {}
};

class ComponentBase : public kxtest::AssetTest {
protected:
    void TearDown() override {
        KXPInputController::purgeShared();
        kxtest::AssetTest::TearDown();
    }
};

TEST_F(ComponentBase, TheFactoryMakesKindsByExactClass) {
    std::shared_ptr<KXModelComponentMove> moveModel = createModel<KXModelComponentMove>();
    KXComponent* move = KXComponent::create(moveModel);
    ASSERT_NE(dynamic_cast<KXComponentMove*>(move), nullptr);
    EXPECT_EQ(move->model(), moveModel);
    EXPECT_EQ(move->owner(), nullptr);
    EXPECT_EQ(move->retainCount(), 1u);
    delete move;

    KXComponent* health = KXComponent::create(createModel<KXModelComponentHealth>());
    EXPECT_NE(dynamic_cast<KXComponentHealth*>(health), nullptr);
    delete health;

    KXDebugLogCapture capture;
    EXPECT_EQ(KXComponent::create(KXModel::makeShared<MoveModelSubclass>()), nullptr);
    EXPECT_EQ(KXComponent::create(createModel<KXModelComponentScore>()), nullptr);
    EXPECT_EQ(KXComponent::create(createModel<KXModelComponentDamage>()), nullptr);
    EXPECT_EQ(KXComponent::create(nullptr), nullptr);
    EXPECT_TRUE(capture.lines().empty());
    KXComponent* motor = KXComponent::create(createModel<KXModelComponentMotor>());
    EXPECT_NE(dynamic_cast<KXComponentMotor*>(motor), nullptr);
    delete motor;
}

TEST_F(ComponentBase, AnAssetObjectTakesTheComponentsOfItsAssetInOrder) {
    std::shared_ptr<KXModelObjectAsset> model = kxtest::boxAssetModel();
    std::shared_ptr<KXModelAsset> asset = model->asset();
    std::vector<std::shared_ptr<KXModel>> children = {
        createModel<KXModelComponentScore>(), createModel<KXModelComponentMove>(),
        createModel<KXModelComponentHealth>(), createModel<KXModelComponentDamage>(),
        createModel<KXModelComponentMove>()};
    for (const auto& child : children) {
        asset->addChild(child);
    }
    KXPObjectAsset* object = kxtest::TestAsset::make(model);
    const std::vector<KXComponent*> components = object->components();
    ASSERT_EQ(components.size(), 3u);
    EXPECT_EQ(components[0]->model(), children[1]);
    EXPECT_NE(dynamic_cast<KXComponentMove*>(components[0]), nullptr);
    EXPECT_EQ(components[1]->model(), children[2]);
    EXPECT_EQ(components[2]->model(), children[4]);
    for (KXComponent* component : components) {
        EXPECT_EQ(component->owner(), object);
    }
    EXPECT_EQ(object->healthComponent(), components[1]);

    // An object without an asset has none.
    EXPECT_TRUE(kxtest::TestAsset::make(createModel<KXModelObjectAsset>())->components().empty());
}

TEST_F(ComponentBase, TriggerTextsSplitIntoKindNameAndDigit) {
    struct Case {
        const char* text;
        const char* kind;
        const char* name;
        const char* digit;
    };
    const Case cases[] = {
        {"kButton-Fire-0", "kButton", "Fire", "0"},
        {"kSwipe-2", "kSwipe", "2", "2"},
        {"kSwitch-Door", "kSwitch", "Door", "Door"},
        {"kEventCollision", "kEventCollision", "", ""},
        {"kButton-Fire-1-extra", "kButton", "Fire", "1"},
        {"kButton--1", "kButton", "", "1"},
        {"kButton-", "kButton", "", ""},
        {"", "", "", ""},
    };
    for (const Case& entry : cases) {
        const KXComponentTrigger trigger = KXComponentTrigger::parse(entry.text);
        EXPECT_EQ(trigger.kind, entry.kind) << entry.text;
        EXPECT_EQ(trigger.name, entry.name) << entry.text;
        EXPECT_EQ(trigger.digit, entry.digit) << entry.text;
    }
}

// Subscribes to the "on" event and remembers the senders' control models.
class ListeningComponent : public KXComponent {
public:
    explicit ListeningComponent(std::vector<std::string>& heard) : m_heard(heard) {
        subscribeInput(KXPInputController::kActionButtonOn, callfuncO_selector(ListeningComponent::on));
    }
    void on(CCObject* sender) {
        std::shared_ptr<KXModel> control = senderControlModel(sender);
        m_heard.push_back(control ? control->name() : "(not a control)");
    }

private:
    std::vector<std::string>& m_heard;
};

CCNode* controlNode(const std::shared_ptr<KXModel>& model) {
    CCNode* node = CCNode::create();
    node->setUserObject(KXObjectModelHolder::create(model));
    return node;
}

TEST_F(ComponentBase, InputSubscriptionsNameTheirControlAndEndWithTheComponent) {
    std::vector<std::string> heard;
    auto* component = new ListeningComponent(heard);
    std::shared_ptr<KXModelObjectButtonSwitch> door = createModel<KXModelObjectButtonSwitch>();
    door->setName("Door");
    std::shared_ptr<KXModelObjectSwipeControl> swipe = createModel<KXModelObjectSwipeControl>();
    swipe->setName("Pad");
    std::shared_ptr<KXModelObjectButton> plain = createModel<KXModelObjectButton>();

    KXPInputController* input = KXPInputController::shared();
    input->dispatch(controlNode(door), KXPInputController::kActionButtonOn, 0);
    input->dispatch(controlNode(swipe), KXPInputController::kActionButtonOn, 0);
    input->dispatch(controlNode(plain), KXPInputController::kActionButtonOn, 0);
    input->dispatch(CCNode::create(), KXPInputController::kActionButtonOn, 0);
    input->dispatch(controlNode(door), KXPInputController::kActionButtonOff, 0);
    EXPECT_EQ(heard, (std::vector<std::string>{"Door", "Pad", "(not a control)", "(not a control)"}));

    delete component;
    input->dispatch(controlNode(door), KXPInputController::kActionButtonOn, 0);
    EXPECT_EQ(heard.size(), 4u);
}

} // namespace
