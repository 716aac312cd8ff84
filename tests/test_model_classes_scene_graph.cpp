// The scene model (speed sources, sections, shared characters) and the screen-graph nodes (ports
// made on load, the stored attribute count, default names, the node's screen).
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponentDeletionThreshold.h"
#include "model/classes/KXModelComponentForcedMovement.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUI.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "support/temp_folder.h"

namespace {

using ScenePtr = std::shared_ptr<KXModelScreenScene>;
using SectionPtr = std::shared_ptr<KXModelLevelSection>;
using ObjectPtr = std::shared_ptr<KXModelObject>;

// Sets a float attribute of a component, making it when the component does not declare it.
void setFloat(KXModel& model, const char* name, float value) {
    auto* attribute = dynamic_cast<KXAttributeFloat*>(model.attribute(name));
    if (attribute == nullptr) {
        attribute = new KXAttributeFloat(name, &model);
    }
    attribute->setValue(value, true);
}

class SceneModelTest : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }

    static std::shared_ptr<KXModelComponentForcedMovement> forcedMovement(float low, float high,
                                                                          float increase) {
        auto movement = make<KXModelComponentForcedMovement>();
        setFloat(*movement, "Froce Min", low);
        setFloat(*movement, "Force Max", high);
        setFloat(*movement, "Force Increase", increase);
        return movement;
    }
};

TEST_F(SceneModelTest, DefaultsOfTheGameplayValues) {
    ScenePtr scene = make<KXModelScreenScene>();
    EXPECT_EQ(scene->name(), "");
    EXPECT_EQ(scene->gravity(), cocos2d::CCPoint(0.0f, -50.0f));
    EXPECT_FLOAT_EQ(scene->timeWarp(), 1.0f);
    EXPECT_FLOAT_EQ(scene->velocityDrag(), 1.0f);
    EXPECT_FLOAT_EQ(scene->scoreMultiplier(), 1.0f);
    EXPECT_EQ(scene->cameraSmooth(), 0.2f);
    EXPECT_FLOAT_EQ(scene->backDeletionThreshold(), 300.0f);
    EXPECT_FLOAT_EQ(scene->sidesDeletionThreshold(), 550.0f);
    EXPECT_EQ(scene->objectFrameRect().size, cocos2d::CCSize(1.0f, 1.0f));
    // The scene is a screen too: its attributes follow the screen's.
    const std::vector<std::string> screenNames = attributeNames(*KXModelScreen::create());
    std::vector<std::string> names = attributeNames(*scene);
    ASSERT_GT(names.size(), screenNames.size());
    EXPECT_EQ(names[screenNames.size()], "Gravity");
    names.resize(screenNames.size());
    EXPECT_EQ(names, screenNames);
    EXPECT_EQ(scene->attributes().back()->name(), "Object Frame State 4");
    EXPECT_TRUE(scene->isKindOf(KXModelScreen::staticType()));
}

TEST_F(SceneModelTest, ForcedMovementChildSwitchesTheSpeedSources) {
    ScenePtr scene = make<KXModelScreenScene>();
    scene->gameSpeedMinAttribute()->setValue(1.0f, true);
    scene->gameSpeedMaxAttribute()->setValue(2.0f, true);
    scene->speedIncreaseAttribute()->setValue(0.5f, true);
    EXPECT_FLOAT_EQ(scene->gameSpeedMin(), 1.0f);

    auto first = forcedMovement(3.0f, 9.0f, 0.25f);
    scene->addChild(first);
    EXPECT_FLOAT_EQ(scene->gameSpeedMin(), 3.0f);
    EXPECT_FLOAT_EQ(scene->gameSpeedMax(), 9.0f);
    EXPECT_FLOAT_EQ(scene->speedIncrease(), 0.25f);

    auto second = forcedMovement(4.0f, 8.0f, 0.75f);
    scene->addChild(second);
    EXPECT_FLOAT_EQ(scene->gameSpeedMin(), 4.0f);

    scene->removeChild(second);
    EXPECT_FLOAT_EQ(scene->gameSpeedMin(), 1.0f);
    EXPECT_FLOAT_EQ(scene->gameSpeedMax(), 2.0f);
    EXPECT_FLOAT_EQ(scene->speedIncrease(), 0.5f);

    auto threshold = make<KXModelComponentDeletionThreshold>();
    setFloat(*threshold, "Back Deletion Threshold", 10.0f);
    setFloat(*threshold, "Sides Deletion Threshold", 20.0f);
    scene->addChild(threshold);
    EXPECT_FLOAT_EQ(scene->backDeletionThreshold(), 10.0f);
    EXPECT_FLOAT_EQ(scene->sidesDeletionThreshold(), 20.0f);
    scene->removeAllChildren();
    EXPECT_FLOAT_EQ(scene->backDeletionThreshold(), 300.0f);
}

TEST_F(SceneModelTest, LoadedConnectionsFindTheFirstForcedMovementAgain) {
    KXMessagePackMap::installKeyTable({{"id", 1}, {"children", 2}});
    ScenePtr scene = make<KXModelScreenScene>();
    auto first = forcedMovement(3.0f, 9.0f, 0.25f);
    auto second = forcedMovement(5.0f, 6.0f, 0.5f);
    KXModelController::shared()->addModel(first);
    KXModelController::shared()->addModel(second);

    msgpack::zone zone;
    KXMessagePackMap connections(zone);
    connections.set("children", std::vector<uint32_t>{first->id(), second->id()});
    scene->unpackConnections(KXMessagePackMap::fromObject(connections.toObject()));
    EXPECT_EQ(scene->forcedMovement(), first);
    EXPECT_FLOAT_EQ(scene->gameSpeedMin(), 3.0f);
}

TEST_F(SceneModelTest, FrameStatesAndInitSection) {
    ScenePtr scene = make<KXModelScreenScene>();
    for (unsigned int edge = 0; edge < 4; ++edge) {
        scene->objectFrameStateAttribute(edge)->setValue(KXObjectFrameEdgeKill, true);
    }
    EXPECT_EQ(scene->objectFrameState(3), KXObjectFrameEdgeKill);
    EXPECT_EQ(scene->objectFrameState(4), KXObjectFrameEdgeFollow);
    EXPECT_EQ(scene->objectFrameState(0xFFFFFFFFu), KXObjectFrameEdgeFollow);

    EXPECT_FALSE(scene->initSection());
    SectionPtr plain = make<KXModelLevelSection>();
    SectionPtr init = make<KXModelLevelSection>();
    init->initSectionAttribute()->setValue(true, true);
    scene->addChild(plain);
    scene->addChild(init);
    EXPECT_EQ(scene->initSection(), init);
    EXPECT_EQ(scene->levelSections(), (KXModelScreenScene::SectionList{plain, init}));
    scene->removeChild(plain);
    EXPECT_EQ(scene->levelSections(), (KXModelScreenScene::SectionList{init}));
}

TEST_F(SceneModelTest, ObjectsComeFromTheSceneThenEachSection) {
    ScenePtr scene = make<KXModelScreenScene>();
    SectionPtr first = make<KXModelLevelSection>();
    SectionPtr second = make<KXModelLevelSection>();
    ObjectPtr own = make<KXModelObject>();
    ObjectPtr a = make<KXModelObject>();
    ObjectPtr b = make<KXModelObject>();
    ObjectPtr c = make<KXModelObject>();
    first->addChild(a);
    second->addChild(b);
    second->addChild(c);
    scene->addChild(first);
    scene->addChild(own);
    scene->addChild(second);
    EXPECT_EQ(scene->getObjects(), (KXModelScreen::ObjectList{own, a, b, c}));
    EXPECT_TRUE(scene->containsModel(c));
    EXPECT_TRUE(scene->containsModel(first));
    EXPECT_FALSE(scene->containsModel(make<KXModelObject>()));
}

TEST_F(SceneModelTest, FindOrCreateByKeyMakesOneScene) {
    auto screen = make<KXModelScreen>();
    screen->keyAttribute()->setValue("world", true);
    KXModelController::shared()->addModel(screen);

    ScenePtr scene = KXModelScreenScene::findOrCreateByKey("world");
    EXPECT_EQ(scene->key(), "world");
    EXPECT_EQ(KXModelScreenScene::findOrCreateByKey("world"), scene);
    EXPECT_EQ(getModels<KXModelScreenScene>().size(), 1u);
}

TEST_F(SceneModelTest, DeepCopySharesInitSectionCharactersByDepth) {
    ScenePtr scene = make<KXModelScreenScene>();
    SectionPtr init = make<KXModelLevelSection>();
    init->initSectionAttribute()->setValue(true, true);
    auto hero = make<KXModelObjectAssetCharacter>();
    hero->setZDepth(5);
    init->addChild(hero);

    SectionPtr later = make<KXModelLevelSection>();
    auto group = make<KXModelObjectGroup>();
    auto before = make<KXModelObject>();
    auto placedHero = make<KXModelObjectAssetCharacter>();
    placedHero->setZDepth(5);
    auto otherCharacter = make<KXModelObjectAssetCharacter>();
    otherCharacter->setZDepth(6);
    for (const std::shared_ptr<KXModel>& member :
         std::vector<std::shared_ptr<KXModel>>{before, placedHero, otherCharacter}) {
        later->addChild(member);
        group->addChild(member);
    }
    later->addChild(group);
    scene->addChild(init);
    scene->addChild(later);

    auto copy = std::static_pointer_cast<KXModelScreenScene>(scene->clone(true, false));
    ASSERT_EQ(copy->levelSections().size(), 2u);
    auto heroCopy = getFirstChild<KXModelObjectAssetCharacter>(*copy->levelSections()[0]);
    auto groupCopy = getFirstChild<KXModelObjectGroup>(*copy->levelSections()[1]);
    ASSERT_TRUE(heroCopy);
    ASSERT_TRUE(groupCopy);
    EXPECT_NE(heroCopy, hero);
    ASSERT_EQ(groupCopy->children().size(), 3u);
    EXPECT_EQ(groupCopy->children()[1], heroCopy);       // at the index of the group's own character
    EXPECT_NE(groupCopy->children()[2], otherCharacter); // no match by depth: its copy stays
    EXPECT_EQ(modelCast<KXModelObjectAssetCharacter>(groupCopy->children()[2])->zDepth(), 6);
    EXPECT_TRUE(heroCopy->hasParent(copy->levelSections()[0]));
    EXPECT_TRUE(heroCopy->hasParent(groupCopy));

    // The source is untouched, and a shallow copy changes nothing.
    EXPECT_EQ(group->children()[1], placedHero);
    auto shallow = std::static_pointer_cast<KXModelScreenScene>(scene->clone(false, false));
    EXPECT_EQ(shallow->levelSections()[1], later);
    EXPECT_EQ(group->children()[1], placedHero);
}

TEST_F(SceneModelTest, DeepCopiesOfSectionsInACycleStop) {
    auto outer = make<KXModelLevelSection>();
    auto inner = make<KXModelLevelSection>();
    outer->addChild(inner, true);
    inner->addChild(outer, true);
    std::shared_ptr<KXModel> copy = outer->clone(true, false);
    ASSERT_EQ(copy->children().size(), 1u);
    ASSERT_EQ(copy->children()[0]->children().size(), 1u);
    EXPECT_TRUE(copy->children()[0]->children()[0]->children().empty());
    outer->removeAllChildren(true); // break the cycle so that both can go
}

// --- screen-graph nodes ---

class NodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        KXMessagePackMap::installKeyTable({{"id", 1},
                                           {"children", 2},
                                           {"attributesCount", 3},
                                           {"connectedModelId", 4},
                                           {"attributeName", 5},
                                           {"Name", 6},
                                           {"Position", 7},
                                           {"Load", 8},
                                           {"UI", 9},
                                           {"Play", 10},
                                           {"Back", 11}});
    }
    void TearDown() override { resetModelCore(); }

    static std::shared_ptr<KXNodeScene> storedSceneNode(const std::string& name) {
        auto node = KXModel::makeShared<KXNodeScene>(name);
        KXModelController::shared()->addModel(node);
        return node;
    }

    // A link entry as the exporting tool writes it.
    KXMessagePackMap linkEntry(uint32_t modelId, const std::string& input = "Load") {
        KXMessagePackMap entry(m_zone);
        entry.set("connectedModelId", modelId);
        entry.set("attributeName", input);
        return entry;
    }

    KXMessagePackMap readBack(const KXMessagePackMap& written) {
        return KXMessagePackMap::fromObject(written.toObject());
    }

    msgpack::zone m_zone;
};

std::vector<std::string> portNames(const KXModel& model) {
    std::vector<std::string> names;
    for (const KXBaseAttribute* attribute : model.attributes()) {
        names.push_back(attribute->name());
    }
    return names;
}

TEST_F(NodeTest, NodeAttributesAndIdentity) {
    auto node = storedSceneNode("World");
    EXPECT_EQ(portNames(*node), (std::vector<std::string>{"Name", "Position", "Load", "UI"}));
    EXPECT_EQ(node->loadPort()->connectionKind(), KXAttributeConnectionInput);
    EXPECT_EQ(node->attribute("UI")->connectionKind(), KXAttributeConnectionOutput);
    EXPECT_TRUE(node->isKindOf(KXNode::staticType()));
    EXPECT_FALSE(node->isKindOf(kxTypeIdForName("KXBaseNode")));
    EXPECT_TRUE(node->filterAttribute(node->attribute("UI")));
    EXPECT_TRUE(node->filterAttribute(node->loadPort()));

    KXNode plain("plain");
    EXPECT_EQ(plain.attributes().size(), 3u);
    KXAttribute other("Other", &plain);
    other.setConnectionKind(KXAttributeConnectionOutput, true);
    EXPECT_FALSE(plain.filterAttribute(&other));
}

TEST_F(NodeTest, PortsAreMadeOnLoadOnlyWhenTheStoredCountDiffers) {
    auto target = storedSceneNode("Target");
    auto node = storedSceneNode("Source");

    KXMessagePackMap same(m_zone);
    same.set("attributesCount", 4u); // a scene node's own count
    same.set("Play", linkEntry(target->id()));
    node->unpackConnections(readBack(same));
    EXPECT_EQ(node->attributes().size(), 4u);

    KXMessagePackMap differs(m_zone);
    differs.set("attributesCount", 5u);
    differs.set("Play", linkEntry(target->id()));
    differs.set("UI", linkEntry(target->id())); // existing name: linked, never doubled
    node->unpackConnections(readBack(differs));
    ASSERT_EQ(portNames(*node), (std::vector<std::string>{"Name", "Position", "Load", "UI", "Play"}));
    KXBaseAttribute* play = node->attribute("Play");
    EXPECT_EQ(play->connectionKind(), KXAttributeConnectionOutput);
    EXPECT_EQ(play->connection(), target->loadPort());
    EXPECT_EQ(node->nodeLinkedFrom(play), target);
    EXPECT_EQ(node->nodeLinkedFrom(node->attribute("UI")), target);
    EXPECT_FALSE(node->filterAttribute(play));
}

TEST_F(NodeTest, EntriesWithoutATargetMakeNoPort) {
    auto node = storedSceneNode("Source");
    KXMessagePackMap connections(m_zone);
    connections.set("attributesCount", 9u);
    connections.set("Play", linkEntry(0));
    KXMessagePackMap empty(m_zone);
    connections.set("Back", empty);
    node->unpackConnections(readBack(connections));
    EXPECT_EQ(node->attributes().size(), 4u);

    KXMessagePackMap missing(m_zone);
    missing.set("attributesCount", 9u);
    KXMessagePackMap noId(m_zone);
    noId.set("attributeName", std::string("Load"));
    missing.set("Play", noId);
    node->unpackConnections(readBack(missing));
    EXPECT_EQ(node->attributes().size(), 4u);
}

// A key id that the key table does not know cannot be the name of a port: the game was written
// with other keys, and its file fails to load with the reason.
TEST_F(NodeTest, UnknownStoredKeyIdFailsTheLoadOfItsFile) {
    auto target = storedSceneNode("Target");
    auto node = storedSceneNode("Source");
    KXMessagePackMap connections(m_zone);
    connections.set("id", node->id());
    connections.set("attributesCount", 5u);
    connections.set("Play", linkEntry(target->id()));
    const std::string bytes = connections.packToBytes();
    // Re-key the "Play" entry (id 10) to an id the table does not know.
    msgpack::object_handle handle = msgpack::unpack(bytes.data(), bytes.size());
    msgpack::object object = handle.get();
    for (uint32_t i = 0; i < object.via.map.size; ++i) {
        if (object.via.map.ptr[i].key.as<int>() == 10) {
            object.via.map.ptr[i].key = msgpack::object(77);
        }
    }

    EXPECT_THROW(node->unpackConnections(KXMessagePackMap::fromObject(object)), std::out_of_range);
    EXPECT_EQ(node->attributes().size(), 4u);

    msgpack::sbuffer rekeyed;
    msgpack::pack(rekeyed, object);
    TempFolder folder;
    folder.write("KXNodeScene.0.connections.pack", std::string(rekeyed.data(), rekeyed.size()));
    KXModelController* store = KXModelController::shared();
    store->setLastError("");
    EXPECT_EQ(store->loadDataFromFile(folder.file("KXNodeScene.0.connections.pack"), 1), 2);
    EXPECT_EQ(store->lastError().rfind("Unable to load data: ", 0), 0u) << store->lastError();
    EXPECT_NE(store->lastError().find("77"), std::string::npos) << store->lastError();
    EXPECT_EQ(node->attributes().size(), 4u);
}

TEST_F(NodeTest, LoadedPortsAreClonedAndCounted) {
    auto target = storedSceneNode("Target");
    auto node = storedSceneNode("Source");
    KXMessagePackMap connections(m_zone);
    connections.set("attributesCount", 5u);
    connections.set("Play", linkEntry(target->id()));
    node->unpackConnections(readBack(connections));

    auto copy = std::static_pointer_cast<KXNodeScene>(node->clone(false, false));
    ASSERT_NE(copy->attribute("Play"), nullptr);
    EXPECT_EQ(copy->attribute("Play")->connection(), target->loadPort());
    EXPECT_EQ(copy->loadPort(), copy->attribute("Load"));
    EXPECT_EQ(copy->name(), "Source");

    KXMessagePackMap written(m_zone);
    copy->packConnections(written);
    uint32_t count = 0;
    ASSERT_TRUE(readBack(written).get("attributesCount", count));
    EXPECT_EQ(count, 5u);
}

TEST_F(NodeTest, DefaultSceneNodeNamesFillTheFirstFreeNumber) {
    EXPECT_EQ(make<KXNodeScene>()->name(), "New World 1");
    storedSceneNode("New World 1");
    storedSceneNode("New World 3");
    EXPECT_EQ(make<KXNodeScene>()->name(), "New World 2");
    storedSceneNode("New World 2");
    EXPECT_EQ(make<KXNodeScene>()->name(), "New World 4");
    EXPECT_EQ(KXModel::makeShared<KXNodeScene>("Named")->name(), "Named");
}

TEST_F(NodeTest, ScreenIsTheFirstScreenKindChild) {
    auto node = storedSceneNode("World");
    EXPECT_FALSE(node->screen());
    node->addChild(make<KXModelSprite>());
    ScenePtr scene = make<KXModelScreenScene>();
    node->addChild(scene);
    node->addChild(make<KXModelScreen>());
    EXPECT_EQ(node->screen(), scene);
}

} // namespace
