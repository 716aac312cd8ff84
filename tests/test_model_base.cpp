// Model base: children and parents, notifications, attributes, clones, stored maps,
// and destruction.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "model/KXMessagePackMap.h"
#include "support/model_test_models.h"

namespace {

using Events = std::vector<std::string>;
using ModelPtr = std::shared_ptr<KXModel>;

class ModelBaseTest : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }
};

TEST_F(ModelBaseTest, IdsComeFromTheStoreCounter) {
    ModelPtr first = KXModel::makeShared<TestModel>("first");
    ModelPtr second = KXModel::makeShared<TestModel>("second");
    EXPECT_EQ(first->id(), 1u);
    EXPECT_EQ(second->id(), 2u);
    EXPECT_EQ(first->name(), "first");
    EXPECT_EQ(first->sharedFromThis(), first);
    EXPECT_STREQ(first->className(), "TestModel");
    EXPECT_TRUE(first->isKindOf(TestModel::staticType()));
    EXPECT_TRUE(first->isKindOf(KXModel::staticType()));
    EXPECT_FALSE(first->isKindOf(OtherTestModel::staticType()));
}

TEST_F(ModelBaseTest, ChildAndParentLinksStaySymmetric) {
    ModelPtr parent = KXModel::makeShared<TestModel>("parent");
    ModelPtr other = KXModel::makeShared<TestModel>("other");
    ModelPtr child = KXModel::makeShared<TestModel>("child");

    parent->addChild(child);
    EXPECT_TRUE(parent->hasChild(child));
    EXPECT_TRUE(child->hasParent(parent));
    child->addParent(other);
    EXPECT_TRUE(other->hasChild(child));
    EXPECT_EQ(child->getParents(), (std::vector<ModelPtr>{parent, other}));
    EXPECT_EQ(child->getFirstParent(), parent);

    child->removeParent(parent);
    EXPECT_FALSE(parent->hasChild(child));
    other->removeChild(child);
    EXPECT_FALSE(child->hasParent(other));
    EXPECT_EQ(child->getFirstParent(), nullptr);

    // Adding twice keeps one entry; indexes beyond the end append.
    ModelPtr second = KXModel::makeShared<TestModel>("second");
    ModelPtr front = KXModel::makeShared<TestModel>("front");
    parent->addChild(child);
    parent->addChild(child);
    parent->insertChild(second, 99);
    parent->insertChild(front, 0);
    EXPECT_EQ(parent->children(), (std::vector<ModelPtr>{front, child, second}));
    EXPECT_EQ(parent->indexOfChild(second), 2u);
    EXPECT_EQ(parent->indexOfChild(other), 3u);
    EXPECT_EQ(other->indexOfChild(child), 0u);

    // A model is not its own child, and nothing links to no model.
    parent->addChild(parent);
    parent->addParent(parent);
    EXPECT_FALSE(parent->hasChild(parent));
    EXPECT_FALSE(parent->hasParent(parent));
    const std::vector<ModelPtr> before = parent->children();
    parent->addChild(nullptr);
    parent->insertChild(nullptr, 0);
    parent->addParent(nullptr);
    EXPECT_EQ(parent->children(), before);
    EXPECT_TRUE(parent->getParents().empty());
}

// A section copied thousands of times shares its objects: each object has as many parents, and a
// load links them all, so each link is asked about by an index, not by walking the list.
TEST_F(ModelBaseTest, AChildOfThousandsOfParentsKnowsEachOnceAndForgetsThoseThatWent) {
    ModelPtr child = KXModel::makeShared<TestModel>("shared");
    std::vector<ModelPtr> parents;
    for (int index = 0; index < 5000; ++index) {
        parents.push_back(KXModel::makeShared<TestModel>("section"));
        parents.back()->addChild(child);
        // Once only, from either side.
        parents.back()->addChild(child);
        child->addParent(parents.back());
    }
    EXPECT_EQ(child->getParents().size(), parents.size());
    EXPECT_TRUE(child->hasParent(parents[1234]));
    EXPECT_EQ(parents[1234]->children().size(), 1u);
    // Parents that go leave the child, and a new one is its parent only once added.
    parents.resize(1000);
    EXPECT_EQ(child->getParents().size(), 1000u);
    ModelPtr late = KXModel::makeShared<TestModel>("late");
    EXPECT_FALSE(child->hasParent(late));
    late->addChild(child);
    EXPECT_TRUE(child->hasParent(late));
    EXPECT_EQ(child->getParents().size(), 1001u);
    child->removeParent(parents.front());
    EXPECT_FALSE(child->hasParent(parents.front()));
    EXPECT_FALSE(parents.front()->hasChild(child));
    EXPECT_EQ(child->getParents().size(), 1000u);
}

// Short lists of links are searched and long ones indexed: either way each link is known once, in
// the order it came, also across the length at which the index is made and with links that went
// before it was made.
TEST_F(ModelBaseTest, LinksAnswerTheSameShortAndLong) {
    for (size_t count : {3, 15, 16, 17, 40}) {
        SCOPED_TRACE(count);
        ModelPtr child = KXModel::makeShared<TestModel>("child");
        {
            std::vector<ModelPtr> gone;
            for (size_t index = 0; index < count; ++index) {
                gone.push_back(KXModel::makeShared<TestModel>("gone"));
                gone.back()->addChild(child);
            }
        }
        std::vector<ModelPtr> parents;
        for (size_t index = 0; index < count; ++index) {
            parents.push_back(KXModel::makeShared<TestModel>("parent"));
            child->addParent(parents.back());
            parents.back()->addChild(child);
        }
        EXPECT_EQ(child->getParents(), parents);
        for (const ModelPtr& parent : parents) {
            EXPECT_TRUE(child->hasParent(parent));
        }
        EXPECT_FALSE(child->hasParent(KXModel::makeShared<TestModel>("stranger")));
        child->removeParent(parents[count / 2]);
        EXPECT_FALSE(parents[count / 2]->hasChild(child));
        parents.erase(parents.begin() + static_cast<long>(count / 2));
        EXPECT_EQ(child->getParents(), parents);

        ModelPtr parent = parents.front();
        std::vector<ModelPtr> children{child};
        for (size_t index = 1; index < count; ++index) {
            children.push_back(KXModel::makeShared<TestModel>("sibling"));
            parent->addChild(children.back());
            children.back()->addParent(parent);
        }
        EXPECT_EQ(parent->children(), children);
        parent->removeChild(children[1]);
        parent->removeChild(children[1]);
        EXPECT_FALSE(parent->hasChild(children[1]));
        EXPECT_FALSE(children[1]->hasParent(parent));
        EXPECT_TRUE(parent->hasChild(children.back()));
        parent->removeAllChildren();
        EXPECT_FALSE(parent->hasChild(children.back()));
        EXPECT_FALSE(child->hasParent(parent));
        parent->addChild(children.back());
        EXPECT_EQ(parent->children(), std::vector<ModelPtr>{children.back()});

        std::vector<std::unique_ptr<KXAttribute>> referrers;
        for (size_t index = 0; index < count; ++index) {
            referrers.push_back(std::make_unique<KXAttribute>("Link", nullptr));
            child->addReferrer(referrers.back().get());
            child->addReferrer(referrers.back().get());
        }
        child->removeReferrer(referrers.front().get());
        child->removeReferrer(referrers.front().get());
        ASSERT_EQ(child->referrers().size(), count - 1);
        EXPECT_EQ(child->referrers().front(), referrers[1].get());
        EXPECT_EQ(child->referrers().back(), referrers.back().get());
    }
}

TEST_F(ModelBaseTest, RemovingTheElementPassedByReference) {
    ModelPtr parent = KXModel::makeShared<TestModel>("parent");
    parent->addChild(KXModel::makeShared<TestModel>("only"));
    std::weak_ptr<KXModel> watch = parent->children().front();
    parent->removeChild(parent->children().front());
    EXPECT_TRUE(parent->children().empty());
    EXPECT_TRUE(watch.expired());
}

TEST_F(ModelBaseTest, TheGeneralSettingsAreNobodysChild) {
    ModelPtr parent = KXModel::makeShared<TestModel>("parent");
    ModelPtr settings = KXModel::makeShared<FakeGeneralSettings>();
    RecordingObserver seen;
    parent->addObserver(&seen);
    parent->addChild(settings);
    settings->addParent(parent);
    EXPECT_TRUE(parent->children().empty());
    EXPECT_TRUE(settings->getParents().empty());
    EXPECT_TRUE(seen.events.empty());
}

TEST_F(ModelBaseTest, ChildNotificationsAndTheSilentFlag) {
    ModelPtr parent = KXModel::makeShared<TestModel>("parent");
    ModelPtr a = KXModel::makeShared<TestModel>("a");
    ModelPtr b = KXModel::makeShared<TestModel>("b");
    RecordingObserver seen;
    parent->addObserver(&seen);

    parent->removeAllChildren();
    EXPECT_TRUE(seen.events.empty());

    parent->addChild(a);
    parent->addChild(b, true);
    EXPECT_EQ(seen.events, (Events{"added a to parent", "model parent", "added b to parent"}));

    seen.events.clear();
    parent->removeChild(a);
    EXPECT_EQ(seen.events, (Events{"removed a from parent", "model parent"}));

    seen.events.clear();
    parent->addChild(a, true);
    seen.events.clear();
    parent->removeAllChildren();
    EXPECT_EQ(seen.events, (Events{"all removed from parent", "model parent"}));
    EXPECT_TRUE(a->getParents().empty());
    EXPECT_TRUE(b->getParents().empty());

    seen.events.clear();
    parent->setName("renamed");
    EXPECT_EQ(seen.events, (Events{"attribute Name 0"}));
}

TEST_F(ModelBaseTest, ObserversAddedDuringANotificationWaitForTheNextOne) {
    struct AddsAnother : RecordingObserver {
        KXModel* model = nullptr;
        RecordingObserver* other = nullptr;
        void modelChanged(const ModelPtr& changed) override {
            RecordingObserver::modelChanged(changed);
            model->addObserver(other);
            model->removeObserver(this);
        }
    };
    ModelPtr model = KXModel::makeShared<TestModel>("m");
    RecordingObserver later;
    AddsAnother first;
    first.model = model.get();
    first.other = &later;
    model->addObserver(&first);
    model->notifyModelChanged();
    EXPECT_EQ(first.events.size(), 1u);
    EXPECT_TRUE(later.events.empty());
    model->notifyModelChanged();
    EXPECT_EQ(first.events.size(), 1u);
    EXPECT_EQ(later.events.size(), 1u);
}

TEST_F(ModelBaseTest, ADestroyedParentDropsOutOfTheList) {
    ModelPtr child = KXModel::makeShared<TestModel>("child");
    ModelPtr kept = KXModel::makeShared<TestModel>("kept");
    {
        ModelPtr gone = KXModel::makeShared<TestModel>("gone");
        gone->addChild(child);
        kept->addChild(child);
    }
    EXPECT_EQ(child->getFirstParent(), kept);
    EXPECT_EQ(child->getParents(), std::vector<ModelPtr>{kept});
}

TEST_F(ModelBaseTest, AttributeListOperations) {
    ModelPtr model = KXModel::makeShared<TestModel>("m");
    KXAttribute* first = makePort(*model, "First", KXAttributeConnectionNone);
    auto* loose = new KXAttribute("Loose", nullptr);
    model->insertAttribute(loose, 1);
    EXPECT_EQ(model->attributeIndex(loose), 1);
    EXPECT_EQ(loose->owner(), model.get());
    EXPECT_EQ(model->attribute("First"), first);
    EXPECT_EQ(model->attribute("first"), nullptr);
    model->insertAttribute(loose, 0); // already present: stays
    EXPECT_EQ(model->attributeIndex(loose), 1);

    // Removing the name attribute leaves the model nameless rather than dangling.
    KXBaseAttribute* name = model->attribute("Name");
    model->removeAttribute(name);
    delete name;
    EXPECT_EQ(model->name(), "");
    model->setName("ignored");
    EXPECT_EQ(model->attributes(), (std::vector<KXBaseAttribute*>{loose, first}));
}

TEST_F(ModelBaseTest, ClonesCopyAttributesButNotRelations) {
    ModelPtr source = KXModel::makeShared<TestModel>("source");
    ModelPtr parent = KXModel::makeShared<TestModel>("parent");
    ModelPtr child = KXModel::makeShared<TestModel>("child");
    makePort(*source, "Port", KXAttributeConnectionInput);
    source->addChild(child);
    parent->addChild(source);
    RecordingObserver seen;
    source->addObserver(&seen);

    ModelPtr shallow = source->clone(false, false);
    EXPECT_NE(shallow->id(), source->id());
    EXPECT_EQ(shallow->name(), "source");
    EXPECT_STREQ(shallow->className(), "TestModel");
    ASSERT_EQ(shallow->attributes().size(), 2u);
    EXPECT_NE(shallow->attribute("Port"), source->attribute("Port"));
    EXPECT_EQ(shallow->attribute("Port")->connectionKind(), KXAttributeConnectionInput);
    EXPECT_TRUE(shallow->getParents().empty());
    EXPECT_TRUE(shallow->observers().empty());
    EXPECT_EQ(shallow->children(), std::vector<ModelPtr>{child}); // shared

    ModelPtr deep = source->clone(true, false);
    ASSERT_EQ(deep->children().size(), 1u);
    EXPECT_NE(deep->children()[0], child);
    EXPECT_EQ(deep->children()[0]->name(), "child");
    EXPECT_EQ(deep->children()[0]->getFirstParent(), deep);

    // Renaming the clone leaves the source alone.
    deep->setName("copy");
    EXPECT_EQ(source->name(), "source");
}

TEST_F(ModelBaseTest, DeepClonesOfACycleStop) {
    ModelPtr a = KXModel::makeShared<TestModel>("a");
    ModelPtr b = KXModel::makeShared<TestModel>("b");
    a->addChild(b);
    b->addChild(a);
    ModelPtr copy = a->clone(true, false);
    ASSERT_EQ(copy->children().size(), 1u);
    ASSERT_EQ(copy->children()[0]->children().size(), 1u);
    EXPECT_TRUE(copy->children()[0]->children()[0]->children().empty());
    a->removeAllChildren(true); // break the cycle so that both can go
}

// However deep the children go, a deep clone copies every level, without a frame per level.
TEST_F(ModelBaseTest, DeepClonesCopyEveryLevelOfALongChain) {
    constexpr size_t kLevels = 100000;
    ModelPtr root = KXModel::makeShared<TestModel>("root");
    ModelPtr tail = root;
    for (size_t i = 0; i < kLevels; ++i) {
        ModelPtr next = KXModel::makeShared<TestModel>(i + 1 == kLevels ? "last" : "");
        tail->addChild(next, true);
        tail = next;
    }

    ModelPtr copy = root->clone(true, false);
    size_t levels = 0;
    ModelPtr at = copy;
    while (!at->children().empty()) {
        ASSERT_EQ(at->children().size(), 1u) << levels;
        ASSERT_EQ(at->children()[0]->getFirstParent(), at) << levels;
        at = at->children()[0];
        ++levels;
    }
    EXPECT_EQ(levels, kLevels);
    EXPECT_EQ(at->name(), "last");
    EXPECT_NE(at, tail);
}

// Only a cycle stops the copy: a child that two parents share is copied under each.
TEST_F(ModelBaseTest, DeepClonesCopyASharedChildUnderEachParent) {
    ModelPtr top = KXModel::makeShared<TestModel>("top");
    ModelPtr left = KXModel::makeShared<TestModel>("left");
    ModelPtr right = KXModel::makeShared<TestModel>("right");
    ModelPtr shared = KXModel::makeShared<TestModel>("shared");
    shared->addChild(KXModel::makeShared<TestModel>("leaf"), true);
    top->addChild(left, true);
    top->addChild(right, true);
    left->addChild(shared, true);
    right->addChild(shared, true);

    ModelPtr copy = top->clone(true, false);
    ASSERT_EQ(copy->children().size(), 2u);
    const ModelPtr& underLeft = copy->children()[0]->children().at(0);
    const ModelPtr& underRight = copy->children()[1]->children().at(0);
    EXPECT_NE(underLeft, underRight);
    EXPECT_NE(underLeft, shared);
    EXPECT_EQ(underLeft->children().size(), 1u);
    EXPECT_EQ(underRight->children().size(), 1u);
}

TEST_F(ModelBaseTest, ADyingModelTellsTheFarEndsButNotItself) {
    ModelPtr far = KXModel::makeShared<TestModel>("far");
    KXAttribute* input = makePort(*far, "In", KXAttributeConnectionInput);
    RecordingObserver seenFar;
    far->addObserver(&seenFar);

    RecordingObserver seenDying;
    {
        ModelPtr dying = KXModel::makeShared<TestModel>("dying");
        KXAttribute* output = makePort(*dying, "Out", KXAttributeConnectionOutput);
        output->connect(input, true);
        dying->addObserver(&seenDying);
    }
    EXPECT_TRUE(seenDying.events.empty());
    EXPECT_EQ(seenFar.events, Events{"attribute In 1"});
    EXPECT_TRUE(input->connections().empty());
}

TEST_F(ModelBaseTest, ALongChainOfChildrenIsFreedWithoutDeepRecursion) {
    std::weak_ptr<KXModel> last;
    {
        ModelPtr root = KXModel::makeShared<TestModel>("root");
        ModelPtr tail = root;
        for (int i = 0; i < 100000; ++i) {
            ModelPtr next = KXModel::makeShared<TestModel>();
            tail->addChild(next, true);
            tail = next;
        }
        last = tail;
    }
    EXPECT_TRUE(last.expired());
}

class ModelStoredFormTest : public ModelBaseTest {
protected:
    void SetUp() override {
        ModelBaseTest::SetUp();
        KXMessagePackMap::installKeyTable({{"id", 1},
                                           {"Class Name", 2},
                                           {"Name", 3},
                                           {"value", 4},
                                           {"children", 5},
                                           {"Port", 6},
                                           {"connectedModelId", 7},
                                           {"attributeName", 8}});
    }
    msgpack::zone zone;
};

TEST_F(ModelStoredFormTest, AttributesMapLeavesOutEmptyAttributeMaps) {
    ModelPtr model = KXModel::makeShared<TestModel>("x");
    makePort(*model, "Port", KXAttributeConnectionOutput);
    KXMessagePackMap map(zone);
    model->packValues(map);
    // {1: id, 2: "TestModel", 3: {4: "x"}}; the port has no values.
    std::string expected = {'\x83', '\x01', static_cast<char>(model->id()), '\x02', '\xa9'};
    expected += "TestModel";
    expected += {'\x03', '\x81', '\x04', '\xa1', 'x'};
    EXPECT_EQ(map.packToBytes(), expected);

    // While collecting keys, every attribute name is recorded, also that of the port.
    KXMessagePackMap::setCollectingKeys(true);
    KXMessagePackMap collecting(zone);
    model->packValues(collecting);
    KXMessagePackMap::setCollectingKeys(false);
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames(),
              (std::set<std::string>{"id", "Class Name", "Name", "Port", "value"}));
}

TEST_F(ModelStoredFormTest, ConnectionsMapWithoutChildrenOrLinks) {
    ModelPtr model = KXModel::makeShared<TestModel>("x");
    KXMessagePackMap map(zone);
    model->packConnections(map);
    EXPECT_EQ(map.packToBytes(), std::string({'\x81', '\x01', static_cast<char>(model->id())}));
}

TEST_F(ModelStoredFormTest, ReadingWithoutIdGivesTheAllOnesId) {
    ModelPtr model = KXModel::makeShared<TestModel>("before");
    KXMessagePackMap writer(zone);
    KXMessagePackMap name(zone);
    name.set("value", "after");
    writer.set("Name", name);
    writer.set("Port", name); // no attribute of that name: ignored
    msgpack::object_handle handle = msgpack::unpack(writer.packToBytes().data(), writer.packToBytes().size());
    model->unpackValues(KXMessagePackMap::fromObject(handle.get()));
    EXPECT_EQ(model->id(), 0xFFFFFFFFu);
    EXPECT_EQ(model->name(), "after");
}

TEST_F(ModelStoredFormTest, ChildrenListMustBeAnArray) {
    ModelPtr model = KXModel::makeShared<TestModel>("x");
    KXMessagePackMap writer(zone);
    writer.set("children", 5u);
    EXPECT_THROW(model->unpackConnections(KXMessagePackMap::fromObject(writer.toObject())),
                 msgpack::type_error);
}

TEST_F(ModelStoredFormTest, RegisterKeysNamesEveryStoredKey) {
    ModelPtr model = KXModel::makeShared<TestModel>("x");
    model->registerKeys();
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames(),
              (std::set<std::string>{"id", "Class Name", "Name", "value"}));
    model->addChild(KXModel::makeShared<TestModel>("child"));
    model->registerKeys();
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames().count("children"), 1u);
}

} // namespace
