// What the model class shells already carry: the node ports, the placed asset's reference,
// and the level section's copy of its children.

#include "model/KXModelController.h"
#include "model/classes/KXModelClassList.h"
#include "model/classes/KXModelQueries.h"
#include "model/references/KXAttributeObject.h"
#include "support/model_class_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class ModelClassShellsTest : public ::testing::Test {
protected:
    void SetUp() override { KXModelController::shared()->clear(); }
    void TearDown() override { KXModelController::shared()->clear(); }
};

TEST_F(ModelClassShellsTest, NodesBeginWithAPositionAndALoadInput) {
    for (std::shared_ptr<KXModel> node : {KXNodeUI::create(), KXNodeScene::create()}) {
        SCOPED_TRACE(node->className());
        std::vector<std::string> names = attributeNames(*node);
        names.resize(std::min<size_t>(names.size(), 3));
        EXPECT_EQ(names, (std::vector<std::string>{"Name", "Position", "Load"}));
        EXPECT_EQ(node->attribute("Load")->connectionKind(), KXAttributeConnectionInput);
        EXPECT_EQ(node->attribute("Position")->connectionKind(), KXAttributeConnectionNone);
        std::shared_ptr<KXModel> copy = node->clone(false, false);
        EXPECT_EQ(attributeNames(*copy), attributeNames(*node));
        EXPECT_EQ(copy->attribute("Load")->connectionKind(), KXAttributeConnectionInput);
    }
}

TEST_F(ModelClassShellsTest, PlacedCharacterAnswersOnlyACharacterAsset) {
    auto placed = make<KXModelObjectAssetCharacter>();
    EXPECT_EQ(attributeNames(*placed).back(), "Asset");
    EXPECT_FALSE(placed->asset());
    EXPECT_FALSE(placed->characterAsset());

    auto character = make<KXModelAssetCharacter>();
    placed->setAsset(character);
    EXPECT_EQ(placed->asset(), character);
    EXPECT_EQ(placed->characterAsset(), character);

    placed->setAsset(make<KXModelAssetObstacle>());
    EXPECT_TRUE(placed->asset());
    EXPECT_FALSE(placed->characterAsset());
}

TEST_F(ModelClassShellsTest, CopiedPlacedAssetKeepsItsAssetReference) {
    auto placed = make<KXModelObjectAssetCharacter>();
    auto character = make<KXModelAssetCharacter>();
    placed->setAsset(character);
    auto copy = std::static_pointer_cast<KXModelObjectAssetCharacter>(placed->clone(false, false));
    EXPECT_EQ(copy->characterAsset(), character);
    copy->setAsset(nullptr);
    EXPECT_EQ(placed->asset(), character);
    EXPECT_EQ(character->referrers().size(), 1u);
}

TEST_F(ModelClassShellsTest, ParticlesHaveAnEmittersPortThatCopiesKeep) {
    auto particles = make<KXModelObjectParticles>();
    KXBaseAttribute* emitters = particles->attribute("Emitters");
    ASSERT_NE(emitters, nullptr);
    EXPECT_STREQ(emitters->className(), "KXAttributeParticlesEmitters");
    EXPECT_EQ(emitters->connectionKind(), KXAttributeConnectionNone);
    auto copy = particles->clone(false, false);
    ASSERT_NE(copy->attribute("Emitters"), nullptr);
    EXPECT_STREQ(copy->attribute("Emitters")->className(), "KXAttributeParticlesEmitters");
}

// A linker joining two objects through the references the linker model stores.
std::shared_ptr<KXModelLinker> makeLinker(const std::shared_ptr<KXModelObject>& a,
                                          const std::shared_ptr<KXModelObject>& b) {
    auto linker = make<KXModelLinker>();
    attributeOf<KXAttributeObject>(*linker, "Object A")->setValue(a, true);
    attributeOf<KXAttributeObject>(*linker, "Object B")->setValue(b, true);
    return linker;
}

std::shared_ptr<KXModelObject> linkedObject(const KXModel& linker, const char* name) {
    return static_cast<KXAttributeObject*>(linker.attribute(name))->value();
}

TEST_F(ModelClassShellsTest, ShallowSectionCloneSharesItsChildren) {
    auto section = make<KXModelLevelSection>();
    auto object = make<KXModelObjectImage>();
    section->addChild(object);
    auto copy = section->clone(false, false);
    EXPECT_EQ(copy->children(), section->children());
    EXPECT_EQ(object->getParents().size(), 2u);
}

TEST_F(ModelClassShellsTest, DeepSectionCloneRepointsLinkersAndRefillsGroups) {
    auto section = make<KXModelLevelSection>();
    auto o1 = make<KXModelObjectImage>();
    auto o2 = make<KXModelObjectLabel>();
    auto outside = make<KXModelObjectImage>();
    auto group = make<KXModelObjectGroup>();
    auto inner = make<KXModelObjectFlag>();
    group->addChild(inner);
    group->addChild(o1);
    auto inside = makeLinker(o1, o2);
    auto leaving = makeLinker(o1, outside);
    const std::vector<std::shared_ptr<KXModel>> sectionChildren = {o1, inside, o2, group, leaving};
    for (const std::shared_ptr<KXModel>& child : sectionChildren) {
        section->addChild(child);
    }

    auto copy = section->clone(true, false);
    const auto& children = copy->children();
    // Objects first (in order), then the one linker whose objects were both copied.
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[0]->className(), std::string("KXModelObjectImage"));
    EXPECT_EQ(children[1]->className(), std::string("KXModelObjectLabel"));
    EXPECT_EQ(children[2]->className(), std::string("KXModelObjectGroup"));
    EXPECT_EQ(children[3]->className(), std::string("KXModelLinker"));
    EXPECT_NE(children[0], o1);
    EXPECT_EQ(linkedObject(*children[3], "Object A"), children[0]);
    EXPECT_EQ(linkedObject(*children[3], "Object B"), children[1]);
    EXPECT_EQ(linkedObject(*inside, "Object A"), o1);

    // The group's copy holds the copy of o1 (copied with the section) and the flag itself.
    const auto& members = children[2]->children();
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0], inner);
    EXPECT_EQ(members[1], children[0]);
}

} // namespace
