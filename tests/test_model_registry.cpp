// The class registry: creation by name, default names, registration order, type ids, the
// kind tests along the class tree, and the clone rules.

#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelClassList.h"
#include "model/classes/KXModelComponent.h"
#include "model/classes/KXModelCompound.h"
#include "model/classes/KXNode.h"

#include "support/model_class_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct ClassIdentity {
    std::string name;
    uint32_t typeId;
};

struct IdentityCollector {
    std::vector<ClassIdentity> classes;

    template <class T> void visit() { classes.push_back({T::staticClassName(), T::staticType()}); }
};

// Every class with a type id: the registered ones, the four kinds that are never registered.
std::map<std::string, uint32_t> allTypeIds() {
    IdentityCollector collector;
    visitRegisteredModelClasses(collector);
    std::map<std::string, uint32_t> ids;
    for (const ClassIdentity& entry : collector.classes) {
        ids[entry.name] = entry.typeId;
    }
    ids["KXModel"] = KXModel::staticType();
    ids["KXModelCompound"] = KXModelCompound::staticType();
    ids["KXModelComponent"] = KXModelComponent::staticType();
    ids["KXNode"] = KXNode::staticType();
    return ids;
}

// The class and its ancestors with a type id, taken from the expected table.
std::set<std::string> expectedKinds(const std::string& className) {
    std::map<std::string, std::string> parents;
    for (const ModelClassRow& row : registeredModelClassTable()) {
        parents[row.className] = row.parentKind;
    }
    for (const ModelKindRow& row : unregisteredModelKindTable()) {
        parents[row.className] = row.parentKind;
    }
    std::set<std::string> kinds;
    for (std::string name = className; !name.empty();) {
        kinds.insert(name);
        auto parent = parents.find(name);
        name = parent == parents.end() ? std::string() : parent->second;
    }
    // The social-page button derives from the link button but does not answer to it.
    if (className == "KXModelObjectButtonFacebook") {
        kinds.erase("KXModelObjectButtonUrl");
    }
    return kinds;
}

class ModelRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { store().clear(); }
    void TearDown() override { store().clear(); }
    static KXModelController& store() { return *KXModelController::shared(); }
};

TEST_F(ModelRegistryTest, RegistersEveryClassOnceInOrder) {
    const std::vector<ModelClassRow>& table = registeredModelClassTable();
    ASSERT_EQ(table.size(), 72u);
    std::vector<std::string> expected;
    for (const ModelClassRow& row : table) {
        expected.push_back(row.className);
    }
    // Classes that other cases of this run register for themselves come after the registry's own.
    std::vector<std::string> names = store().classNames();
    ASSERT_GE(names.size(), expected.size());
    names.resize(expected.size());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(store().classCount(), store().classNames().size());
}

TEST_F(ModelRegistryTest, TypeIdsAreDistinctPerClass) {
    std::map<std::string, uint32_t> ids = allTypeIds();
    ASSERT_EQ(ids.size(), 76u);
    std::map<uint32_t, std::string> byId;
    for (const auto& entry : ids) {
        EXPECT_TRUE(byId.emplace(entry.second, entry.first).second)
            << entry.first << " shares its type id with " << byId[entry.second];
    }
}

TEST_F(ModelRegistryTest, CreatesEveryClassByNameWithItsDefaultName) {
    int unnamed = 0;
    for (const ModelClassRow& row : registeredModelClassTable()) {
        if (row.className == "KXModelGeneralSettings") {
            continue;
        }
        unnamed += row.defaultObjectName.empty() ? 1 : 0;
        SCOPED_TRACE(row.className);
        std::shared_ptr<KXModel> model = store().createModel(row.className);
        ASSERT_TRUE(model);
        EXPECT_EQ(model->className(), row.className);
        // Screen-graph nodes name themselves ("New UI n", ...) when the creator passes no name.
        if (row.className.rfind("KXNode", 0) != 0) {
            EXPECT_EQ(model->name(), row.defaultObjectName);
        }
        EXPECT_EQ(model->sharedFromThis(), model);
        EXPECT_FALSE(store().getModel(model->id()));
        EXPECT_NE(store().createModel(row.className), model);
    }
    EXPECT_EQ(unnamed, 27);
}

TEST_F(ModelRegistryTest, SampleDefaultNames) {
    const std::map<std::string, std::string> names = {
        {"KXModelComponentIsoJump", "Ghost Jump"}, {"KXModelObjectLogic", "Transform"},
        {"KXModelObjectTeleport", "Portal"},       {"KXModelObjectButton", "Navigation Button"},
        {"KXModelObjectGroup", "My Group Layer"},  {"KXModelObjectScreenJump", "Menu Jump"},
        {"KXModelObjectLabel", "Untitled"},        {"KXModelObjectParticlesEmitter", ""},
    };
    for (const auto& entry : names) {
        EXPECT_EQ(store().createModel(entry.first)->name(), entry.second) << entry.first;
    }
}

TEST_F(ModelRegistryTest, UnknownClassNameCreatesNothing) {
    EXPECT_FALSE(store().createModel("KXModelObjectButtonUnknown"));
    EXPECT_FALSE(store().createModel("KXModel"));
    EXPECT_FALSE(store().createModel("KXModelCompound"));
    EXPECT_FALSE(store().createModel("KXBaseModelObject"));
}

TEST_F(ModelRegistryTest, KindTestFollowsTheClassTree) {
    std::map<std::string, uint32_t> ids = allTypeIds();
    for (const ModelClassRow& row : registeredModelClassTable()) {
        SCOPED_TRACE(row.className);
        std::shared_ptr<KXModel> model = store().createModel(row.className);
        ASSERT_TRUE(model);
        EXPECT_EQ(model->typeId(), ids[row.className]);
        std::set<std::string> kinds = expectedKinds(row.className);
        for (const auto& kind : ids) {
            EXPECT_EQ(model->isKindOf(kind.second), kinds.count(kind.first) == 1) << "kind " << kind.first;
        }
    }
}

TEST_F(ModelRegistryTest, KindChainsOfSampleClasses) {
    // Written out in full for a few classes, so the table's parents are checked too.
    std::map<std::string, uint32_t> ids = allTypeIds();
    const std::map<std::string, std::set<std::string>> chains = {
        {"KXModelObjectButtonPurchase",
         {"KXModelObjectButtonPurchase", "KXModelObjectButton", "KXModelObjectImage", "KXModelObject",
          "KXModelCompound", "KXModel"}},
        {"KXModelComponentDamage", {"KXModelComponentDamage", "KXModelComponent", "KXModel"}},
        {"KXNodeUIStart", {"KXNodeUIStart", "KXNodeUI", "KXNode", "KXModel"}},
        {"KXModelCircle", {"KXModelCircle", "KXModelPolygon", "KXModel"}},
        {"KXModelGeneralSettings", {"KXModelGeneralSettings", "KXModel"}},
        {"KXModelObjectButtonFacebook",
         {"KXModelObjectButtonFacebook", "KXModelObjectButton", "KXModelObjectImage", "KXModelObject",
          "KXModelCompound", "KXModel"}},
        {"KXModelObjectAccelerometer",
         {"KXModelObjectAccelerometer", "KXModelObjectManipulator", "KXModelObject", "KXModelCompound",
          "KXModel"}},
        {"KXModelScreenScene", {"KXModelScreenScene", "KXModelScreen", "KXModelCompound", "KXModel"}},
        {"KXModelObjectTrail",
         {"KXModelObjectTrail", "KXModelObjectAsset", "KXModelObject", "KXModelCompound", "KXModel"}},
    };
    for (const auto& chain : chains) {
        EXPECT_EQ(expectedKinds(chain.first), chain.second) << chain.first;
        std::shared_ptr<KXModel> model = store().createModel(chain.first);
        ASSERT_TRUE(model);
        for (const auto& kind : ids) {
            EXPECT_EQ(model->isKindOf(kind.second), chain.second.count(kind.first) == 1)
                << chain.first << " as " << kind.first;
        }
    }
}

TEST_F(ModelRegistryTest, ObjectKindCoversObjectsButtonsAndPlacedAssetsOnly) {
    const std::set<std::string> notObjects = {"KXModelGeneralSettings",
                                              "KXModelSprite",
                                              "KXModelSound",
                                              "KXModelFont",
                                              "KXModelPolygon",
                                              "KXModelCircle",
                                              "KXModelSpriteContainer",
                                              "KXModelAnimation",
                                              "KXModelAtlas",
                                              "KXModelAsset",
                                              "KXModelAssetCharacter",
                                              "KXModelAssetObstacle",
                                              "KXModelAssetPowerup",
                                              "KXModelLinker",
                                              "KXModelLevelSection",
                                              "KXModelScreen",
                                              "KXModelScreenScene",
                                              "KXNodeScene",
                                              "KXNodeUI",
                                              "KXNodeUIStart"};
    for (const ModelClassRow& row : registeredModelClassTable()) {
        std::shared_ptr<KXModel> model = store().createModel(row.className);
        ASSERT_TRUE(model) << row.className;
        const bool component = row.className.rfind("KXModelComponent", 0) == 0;
        const bool object = !component && notObjects.count(row.className) == 0;
        EXPECT_EQ(model->isKindOf(KXModelObject::staticType()), object) << row.className;
        EXPECT_TRUE(model->isKindOf(KXModel::staticType())) << row.className;
    }
}

TEST_F(ModelRegistryTest, GeneralSettingsAreOneSharedRegisteredInstance) {
    std::shared_ptr<KXModel> first = store().createModel("KXModelGeneralSettings");
    std::shared_ptr<KXModel> second = store().createModel("KXModelGeneralSettings");
    ASSERT_TRUE(first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, KXModelGeneralSettings::shared());
    EXPECT_EQ(store().getModel(first->id()), first);
    EXPECT_EQ(first->clone(true, true), first);
    EXPECT_EQ(first->clone(false, false), first);
    EXPECT_EQ(store().getModelsByType(KXModelGeneralSettings::staticType()).size(), 1u);
}

TEST_F(ModelRegistryTest, ClearingTheStoreReleasesTheSharedSettings) {
    std::shared_ptr<KXModel> before = KXModelGeneralSettings::shared();
    const uint32_t oldId = before->id();
    store().clear();
    EXPECT_FALSE(store().getModel(oldId));
    std::shared_ptr<KXModel> after = KXModelGeneralSettings::shared();
    EXPECT_NE(before, after);
    EXPECT_EQ(store().getModel(after->id()), after);
}

// --- clones ---

std::shared_ptr<KXModel> create(const char* className) {
    return KXModelController::shared()->createModel(className);
}

TEST_F(ModelRegistryTest, ShallowCloneSharesChildrenDeepCloneCopiesThem) {
    std::shared_ptr<KXModel> screen = create("KXModelScreen");
    std::shared_ptr<KXModel> label = create("KXModelObjectLabel");
    std::shared_ptr<KXModel> image = create("KXModelObjectImage");
    screen->addChild(label);
    screen->addChild(image);

    std::shared_ptr<KXModel> shallow = screen->clone(false, false);
    EXPECT_EQ(shallow->className(), std::string("KXModelScreen"));
    EXPECT_NE(shallow->id(), screen->id());
    EXPECT_EQ(shallow->children(), screen->children());
    EXPECT_TRUE(label->hasParent(shallow));
    EXPECT_TRUE(label->hasParent(screen));

    std::shared_ptr<KXModel> deep = screen->clone(true, false);
    ASSERT_EQ(deep->children().size(), 2u);
    EXPECT_NE(deep->children()[0], label);
    EXPECT_NE(deep->children()[1], image);
    EXPECT_EQ(deep->children()[0]->className(), std::string("KXModelObjectLabel"));
    EXPECT_EQ(deep->children()[1]->className(), std::string("KXModelObjectImage"));
    EXPECT_EQ(deep->children()[0]->name(), "Untitled");
    EXPECT_FALSE(label->hasParent(deep));
}

TEST_F(ModelRegistryTest, CloneCopiesAttributesUnderAFreshId) {
    std::shared_ptr<KXModel> flag = create("KXModelObjectFlag");
    flag->setName("Goal");
    std::shared_ptr<KXModel> copy = flag->clone(false, false);
    EXPECT_EQ(copy->name(), "Goal");
    EXPECT_NE(copy->id(), flag->id());
    EXPECT_EQ(copy->typeId(), flag->typeId());
    EXPECT_EQ(copy->sharedFromThis(), copy);
    copy->setName("Other");
    EXPECT_EQ(flag->name(), "Goal");
}

TEST_F(ModelRegistryTest, GroupCloneTakesNoChildren) {
    std::shared_ptr<KXModel> group = create("KXModelObjectGroup");
    group->addChild(create("KXModelObjectImage"));
    EXPECT_TRUE(group->clone(false, false)->children().empty());
    EXPECT_TRUE(group->clone(true, false)->children().empty());
    EXPECT_EQ(group->clone(true, false)->name(), "My Group Layer");
}

TEST_F(ModelRegistryTest, RegisteredCloneJoinsTheStoreOnlyWhenTheSourceIsThere) {
    std::shared_ptr<KXModel> loose = create("KXModelSound");
    std::shared_ptr<KXModel> looseCopy = loose->clone(false, true);
    EXPECT_FALSE(store().getModel(looseCopy->id()));

    std::shared_ptr<KXModel> stored = create("KXModelSound");
    store().addModel(stored);
    std::shared_ptr<KXModel> storedCopy = stored->clone(false, true);
    EXPECT_EQ(store().getModel(storedCopy->id()), storedCopy);
    EXPECT_EQ(store().getModel(stored->id()), stored);

    std::shared_ptr<KXModel> unregisteredCopy = stored->clone(false, false);
    EXPECT_FALSE(store().getModel(unregisteredCopy->id()));
}

TEST_F(ModelRegistryTest, DeepCloneRegistersChildCopiesOfRegisteredChildrenOnly) {
    std::shared_ptr<KXModel> parent = create("KXModelAsset");
    std::shared_ptr<KXModel> registeredChild = create("KXModelComponentHealth");
    store().addModel(registeredChild);
    std::shared_ptr<KXModel> looseChild = create("KXModelComponentScore");
    parent->addChild(registeredChild, true);
    parent->addChild(looseChild, true);

    std::shared_ptr<KXModel> copy = parent->clone(true, false);
    EXPECT_FALSE(store().getModel(copy->id()));
    ASSERT_EQ(copy->children().size(), 2u);
    EXPECT_EQ(store().getModel(copy->children()[0]->id()), copy->children()[0]);
    EXPECT_FALSE(store().getModel(copy->children()[1]->id()));
}

} // namespace
