// The group layer's depth sort: order by y or x, larger or smaller first, numbering from the
// least member z-order (or 10000), which layer children are members (the live character among
// them when a character is placed in the group), the drawing order that follows, and the cases
// where nothing is sorted; on a plain layer and on the field's camera, whose groups share one
// lookup of its children that must follow every child added, removed or retyped between them.

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectGroup.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/objects/KXPObjectGroup.h"
#include "support/field_test_support.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::FakeCharacter;

namespace {

// The parameter: the layer is the field's camera.
class ObjectGroup : public ::testing::TestWithParam<bool> {
protected:
    CCNode* layer = nullptr;
    std::shared_ptr<KXModelObjectGroup> model;
    KXPObjectGroup* group = nullptr;

    void SetUp() override {
        resetModelCore();
        layer = GetParam() ? KXPGameFieldCamera::create() : CCNode::create();
        layer->retain();
        model = make<KXModelObjectGroup>();
        sorting(true, "gAxisX", "gSortAsc");
        group = KXPObjectGroup::create(model);
        layer->addChild(group, 0);
        group->setObjectLayer(layer);
    }
    void TearDown() override {
        layer->release();
        CCPoolManager::sharedPoolManager()->finalize();
        resetModelCore();
    }

    void sorting(bool on, const std::string& direction, const std::string& order) {
        attributeOf<KXAttributeBool>(*model, "Auto Depth Sorting")->setValue(on, true);
        attributeOf<KXAttributeStringList>(*model, "Sort Direction")->setValue(direction, true);
        attributeOf<KXAttributeStringList>(*model, "Sort Order")->setValue(order, true);
    }

    // An object on the layer at that place and z-order; placed in the group unless told otherwise.
    KXPObject* object(const CCPoint& position, int z, bool inGroup = true) {
        auto placed = make<KXModelObject>();
        if (inGroup) {
            model->addChild(placed);
        }
        auto* made = new KXPObject(placed);
        made->init();
        made->autorelease();
        made->setPosition(position);
        layer->addChild(made, z);
        return made;
    }
};

TEST_P(ObjectGroup, SortDirectionAndOrderPickTheAxisAndWhichEndGoesBehind) {
    const struct {
        const char* direction;
        const char* order;
        int zOfFirst;  // the object at (300, 100)
        int zOfSecond; // the object at (100, 200)
    } cases[] = {
        // "gAxisX" sorts by y; "gSortAsc" puts the larger coordinate behind (lower z-order).
        {"gAxisX", "gSortAsc", 6, 5},
        {"gAxisX", "gSortDesc", 5, 6},
        {"gAxisY", "gSortAsc", 5, 6},
        {"", "", 6, 5},
    };
    for (const auto& entry : cases) {
        sorting(true, entry.direction, entry.order);
        KXPObject* first = object(CCPoint(300, 100), 5);
        KXPObject* second = object(CCPoint(100, 200), 5);
        group->update(0.0f);
        EXPECT_EQ(first->getZOrder(), entry.zOfFirst) << entry.direction << " " << entry.order;
        EXPECT_EQ(second->getZOrder(), entry.zOfSecond) << entry.direction << " " << entry.order;
        layer->removeChild(first);
        layer->removeChild(second);
        model->removeAllChildren();
    }
}

TEST_P(ObjectGroup, MembersAreNumberedFromTheirLeastZOrderAtMost10000AndDrawInThatOrder) {
    KXPObject* top = object(CCPoint(0, 300), 20000);
    KXPObject* middle = object(CCPoint(0, 200), 40);
    KXPObject* bottom = object(CCPoint(0, 100), 30000);
    KXPObject* outsider = object(CCPoint(0, 0), 41, false);
    group->update(0.0f);
    EXPECT_EQ(top->getZOrder(), 40);
    EXPECT_EQ(middle->getZOrder(), 41);
    EXPECT_EQ(bottom->getZOrder(), 42);
    EXPECT_EQ(outsider->getZOrder(), 41);

    // The layer draws its children by the new z-orders.
    layer->sortAllChildren();
    std::vector<CCNode*> drawn;
    for (CCObject* child : layer->getChildren()->data()) {
        drawn.push_back(static_cast<CCNode*>(child));
    }
    const auto at = [&drawn](CCNode* node) {
        return std::find(drawn.begin(), drawn.end(), node) - drawn.begin();
    };
    EXPECT_LT(at(top), at(middle));
    EXPECT_LT(at(middle), at(bottom));

    // Members all above 10000 are numbered from 10000.
    top->setZOrder(20000);
    middle->setZOrder(12000);
    bottom->setZOrder(15000);
    group->update(0.0f);
    EXPECT_EQ(top->getZOrder(), 10000);
    EXPECT_EQ(middle->getZOrder(), 10001);
    EXPECT_EQ(bottom->getZOrder(), 10002);

    // Moving changes the order on the next frame; members on the same line keep theirs.
    bottom->setPosition(CCPoint(0, 400));
    middle->setPosition(CCPoint(50, 300));
    group->update(0.0f);
    EXPECT_EQ(bottom->getZOrder(), 10000);
    EXPECT_EQ(top->getZOrder(), 10001);
    EXPECT_EQ(middle->getZOrder(), 10002);
    for (int frame = 0; frame < 3; ++frame) {
        layer->sortAllChildren();
        group->update(0.0f);
        EXPECT_EQ(top->getZOrder(), 10001);
        EXPECT_EQ(middle->getZOrder(), 10002);
    }
}

TEST_P(ObjectGroup, TheLiveCharacterSortsWithTheGroupThatHoldsAPlacedCharacter) {
    FakeCharacter* hero = FakeCharacter::create(CCPoint(0, 150));
    layer->addChild(hero, 7);
    KXPObject* tree = object(CCPoint(0, 100), 7);
    KXPObject* rock = object(CCPoint(0, 200), 7);
    group->update(0.0f);
    // No character placed in the group: the hero is not a member.
    EXPECT_EQ(hero->getZOrder(), 7);
    EXPECT_EQ(rock->getZOrder(), 7);
    EXPECT_EQ(tree->getZOrder(), 8);

    model->addChild(make<KXModelObjectAssetCharacter>());
    ASSERT_EQ(model->characterCount(), 1u);
    group->update(0.0f);
    EXPECT_EQ(rock->getZOrder(), 7);
    EXPECT_EQ(hero->getZOrder(), 8);
    EXPECT_EQ(tree->getZOrder(), 9);
}

TEST_P(ObjectGroup, NothingIsSortedWithoutSortingMembersOrLayer) {
    KXPObject* low = object(CCPoint(0, 100), 3);
    KXPObject* high = object(CCPoint(0, 200), 3);
    sorting(false, "gAxisX", "gSortAsc");
    group->update(0.0f);
    EXPECT_EQ(low->getZOrder(), 3);
    EXPECT_EQ(high->getZOrder(), 3);

    // The group sorts and nothing else: it does not update its own children.
    sorting(true, "gAxisX", "gSortAsc");
    FakeCharacter* child = FakeCharacter::create();
    group->addChild(child);
    group->update(0.5f);
    EXPECT_TRUE(child->updates.empty());
    EXPECT_EQ(high->getZOrder(), 3);
    EXPECT_EQ(low->getZOrder(), 4);

    // A group without a layer, or whose model holds nothing, leaves the layer alone.
    KXPObjectGroup* loose = KXPObjectGroup::create(model);
    low->setPosition(CCPoint(0, 300));
    loose->update(0.0f);
    EXPECT_EQ(low->getZOrder(), 4);
    model->removeAllChildren();
    group->update(0.0f);
    EXPECT_EQ(low->getZOrder(), 4);
    EXPECT_EQ(group->getType(), static_cast<uint32_t>(KXPObject::kTypeGroup));
}

TEST_P(ObjectGroup, MembersAddedRemovedOrRetypedBetweenTwoGroupsOfAFrameAreSeenByTheSecond) {
    // Two groups over the same placed objects, as copies of one group layer.
    KXPObjectGroup* second = KXPObjectGroup::create(model);
    layer->addChild(second, 0);
    second->setObjectLayer(layer);
    KXPObject* low = object(CCPoint(0, 100), 3);
    KXPObject* high = object(CCPoint(0, 200), 3);
    group->update(0.0f);
    EXPECT_EQ(high->getZOrder(), 3);
    EXPECT_EQ(low->getZOrder(), 4);

    // Added after the first group sorted, in the same frame: the second numbers it too.
    KXPObject* top = object(CCPoint(0, 300), 3);
    second->update(0.0f);
    EXPECT_EQ(top->getZOrder(), 3);
    EXPECT_EQ(high->getZOrder(), 4);
    EXPECT_EQ(low->getZOrder(), 5);

    // Removed between them: the second no longer counts it.
    group->update(0.0f);
    layer->removeChild(top);
    high->setZOrder(8);
    low->setZOrder(8);
    second->update(0.0f);
    EXPECT_EQ(high->getZOrder(), 8);
    EXPECT_EQ(low->getZOrder(), 9);
    EXPECT_EQ(top->getZOrder(), 3);

    // A live character joins a group that holds a placed one once its type says so, and leaves
    // when it no longer does.
    model->addChild(make<KXModelObjectAssetCharacter>());
    KXPObject* hero = object(CCPoint(0, 150), 8, false);
    group->update(0.0f);
    EXPECT_EQ(hero->getZOrder(), 8);
    hero->setType(KXPObject::kTypeCharacter);
    second->update(0.0f);
    EXPECT_EQ(high->getZOrder(), 8);
    EXPECT_EQ(hero->getZOrder(), 9);
    EXPECT_EQ(low->getZOrder(), 10);
    hero->setType(KXPObject::kTypeCharacter | KXPObject::kTypeGroup);
    hero->setZOrder(1);
    group->update(0.0f);
    EXPECT_EQ(hero->getZOrder(), 1);
    EXPECT_EQ(low->getZOrder(), 9);
}

INSTANTIATE_TEST_SUITE_P(Layers, ObjectGroup, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "FieldCamera" : "PlainLayer";
                         });

} // namespace
