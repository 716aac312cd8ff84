// Portals on a running game field: a body entering a portal comes out of its partner once, made
// again there by the field outside the physics step, and the one that went in leaves; the field
// counts the copies it holds.

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAssetTeleport.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/screen_test_support.h"
#include "support/temp_folder.h"
#include "support/unit_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace cocos2d;

namespace {

class LevelPortals : public kxtest::ScreenTest {
protected:
    static KXPObjectAsset* place(KXPScreenScene* field, const std::shared_ptr<KXModel>& model,
                                 const CCPoint& at) {
        KXPObjectAsset* object = KXPObjectAsset::create(model);
        EXPECT_NE(object, nullptr);
        object->setPosition(at);
        field->getObjectLayer()->addChild(object);
        object->setObjectLayer(field->getObjectLayer());
        object->addToWorld(field->getWorld(), false);
        return object;
    }
    static std::shared_ptr<KXModelObjectTeleport> portalModel(float radius) {
        auto model = createModel<KXModelObjectTeleport>();
        attributeOf<KXAttributeFloat>(*model, "Group ID")->setValue(1.0f, true);
        attributeOf<KXAttributeFloat>(*model, "Search Radius")->setValue(radius, true);
        return model;
    }
    static std::vector<CCNode*> nodesOf(KXPScreenScene* field, const std::shared_ptr<KXModel>& model) {
        std::vector<CCNode*> found;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(field->getObjectLayer()->getChildren(), item) {
            KXPObject* object = dynamic_cast<KXPObject*>(item);
            if (object != nullptr && object->getModel() == model &&
                object->getState() != KXPObject::kStateRemoved) {
                found.push_back(object);
            }
        }
        return found;
    }
};

TEST_F(LevelPortals, AnEnteringCharacterComesOutOfThePartnerOnce) {
    graph.scene("world")->gravityAttribute()->setValue(CCPointZero, true);
    KXPScreensController::shared()->resetToScene("world");
    director()->runWithScene(KXPScreensController::shared()->currentScene());
    frames(1);
    auto* field = dynamic_cast<KXPScreenScene*>(KXPScreensController::shared()->currentScreenScene());
    ASSERT_NE(field, nullptr);

    place(field, portalModel(1000.0f), ccp(0, 0));
    KXPObjectAsset* exit = place(field, portalModel(1000.0f), ccp(600, 0));
    auto heroModel = kxtest::unitModel("Hero", "kDecorationObjectType");
    KXPObjectAsset* hero = place(field, heroModel, ccp(0, 0));
    hero->setType(KXPObject::kTypeCharacter);
    ASSERT_NE(hero->getBody(), nullptr);
    hero->getBody()->SetType(b2_dynamicBody);

    frames(10);
    const std::vector<CCNode*> copies = nodesOf(field, heroModel);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NEAR(copies[0]->getPositionX(), 600.0f, 1.0f);
    EXPECT_NE(copies[0], hero);
    EXPECT_FALSE(exit->isMovementEnabled()); // the copy still stands in it
}

// The field's copies count from their queueing until they leave it, removed or let go of: a bound
// on them holds while the copies are there, and never outlives them.
TEST_F(LevelPortals, CopiesCountFromTheirSendingUntilTheyLeaveTheField) {
    graph.scene("world")->gravityAttribute()->setValue(CCPointZero, true);
    KXPScreensController::shared()->resetToScene("world");
    director()->runWithScene(KXPScreensController::shared()->currentScene());
    frames(1);
    auto* field = dynamic_cast<KXPScreenScene*>(KXPScreensController::shared()->currentScreenScene());
    ASSERT_NE(field, nullptr);

    auto heroModel = kxtest::unitModel("Hero", "kDecorationObjectType");
    for (int index = 0; index < 3; ++index) {
        KXPObjectAsset* exit =
            place(field, portalModel(10.0f), ccp(600.0f, 200.0f * static_cast<float>(index)));
        field->addTeleport(place(field, heroModel, ccp(0, 0)), exit);
    }
    EXPECT_EQ(field->teleportCopies(), 3u);
    frames(1);
    std::vector<CCNode*> copies = nodesOf(field, heroModel);
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(field->teleportCopies(), 3u);

    static_cast<KXPObject*>(copies[0])->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(field->teleportCopies(), 2u);
    // Taken off the layer without being removed: it counts until it is freed.
    copies[1]->removeFromParent();
    frames(2);
    EXPECT_EQ(field->teleportCopies(), 1u);
    EXPECT_EQ(nodesOf(field, heroModel).size(), 1u);
}

} // namespace
